#pragma once
#include "personnel/DetailLists.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// What the evaluation window 考评情况管理 does: the evaluation items (kpxm, newest first) and the
// participants of the current item (kpjl), whose number the item keeps in 参加人数. The window
// Tkpqk_Editw only binds controls to it.
class EvaluationManagement {
public:
    explicit EvaluationManagement(app::TDM& dm);

    void activate();        // the items and the participants of the first one
    void itemMoved() { lists_.openDetails(); }         // after a navigator move
    void itemGridClicked() { lists_.gridClicked(); }   // re-reads the participants only when the item changed

    void addItem() { lists_.addMaster(); }
    // Posts the item, then edits and posts it again so that its check always runs.
    void saveItem();
    void removeItem() { lists_.removeMaster(); }

    // 选择人员参加考评: the picker, then one participant per chosen employee (all or none), then the
    // participants re-read and 参加人数 set.
    void chooseParticipants();
    void saveParticipant();
    void removeParticipant();
    void removeAllParticipants();

    // 返回主窗口 and the close box: a pending item settled; false: stay open.
    bool close() { return lists_.close(); }

private:
    void updateCount();

    app::TDM& dm_;
    MasterDetail lists_;
};

}  // namespace rsgz::personnel
