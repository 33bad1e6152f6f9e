#include "app/Company.h"

#include "app/TDM.h"

namespace rsgz::app {

void open_gongsi_data(app::TDM& dm)
{
    dm.gs_data.close();
    dm.gs_data.setSql({"select * from 公司数据"});
    dm.gs_data.open();
}

}  // namespace rsgz::app
