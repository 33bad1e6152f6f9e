#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/SqlText.h"
#include "support/EngineFixture.h"

using namespace rsgz::db;

namespace {

// What a user types into a field is stored as the field's type or refused with a message that
// names the field; it is never stored as something else (0, 15 for "1,5", a name cut at a NUL).
class TypedInput : public rsgz::test::BothEngines {
protected:
    void SetUp() override
    {
        BothEngines::SetUp();
        if (IsSkipped()) return;
        database().createContents();
    }

    // A new row being inserted through a list of the given statement.
    DataSet& newRowOf(const std::string& sql)
    {
        ds_ = std::make_unique<DataSet>(&conn(), "input", SqlLines{sql});
        ds_->open();
        ds_->append();
        return *ds_;
    }

    void TearDown() override
    {
        ds_.reset();
        BothEngines::TearDown();
    }

    std::unique_ptr<DataSet> ds_;
};
RSGZ_ON_BOTH_ENGINES(TypedInput);

TEST_P(TypedInput, RefusedValuesNameTheFieldAndLeaveTheRowAsItWas)
{
    DataSet& ds = newRowOf("select 姓名, gz01 from 工资表");
    ds.setValue("姓名", Value("张三"));
    ds.setValue("gz01", Value("12"));

    struct Case {
        const char* field;
        Value value;
        const char* says;
    };
    const Case cases[] = {
        {"gz01", Value("1e15"), "超出了金额能保存的范围（字段“gz01”）"},
        {"gz01", Value("-1000000000000000"), "超出了金额能保存的范围（字段“gz01”）"},
        {"gz01", Value(1e15), "超出了金额能保存的范围（字段“gz01”）"},
        {"gz01", Value(std::numeric_limits<double>::infinity()), "超出了金额能保存的范围（字段“gz01”）"},
        {"gz01", Value("inf"), "不是有效的金额（字段“gz01”）"},
        {"gz01", Value("1,5"), "不是有效的金额（字段“gz01”）"},
        {"姓名", Value(std::string_view("张\0三", 7)), "字段“姓名”的内容含有空字符"},
    };
    for (const Case& c : cases) {
        try {
            ds.setValue(c.field, c.value);
            ADD_FAILURE() << c.value.toString() << " was taken";
        } catch (const DataSetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
    ds.post();
    EXPECT_EQ(ds.asString("姓名"), "张三");
    EXPECT_EQ(ds.asMoney("gz01").units(), 120000);

    ds.edit();
    ds.setValue("gz01", Value("1,234,567.5"));
    ds.post();
    EXPECT_EQ(ds.asMoney("gz01").units(), 12345675000);
}

TEST_P(TypedInput, ADoubleFieldRefusesWhatIsNoFiniteNumber)
{
    DataSet& ds = newRowOf("select 员工编号, 身高 from 员工基本情况");
    for (const char* bad : {"inf", "nan", "1,5"}) EXPECT_THROW(ds.setValue("身高", Value(bad)), DataSetError) << bad;
    ds.setValue("身高", Value("170.5"));
    EXPECT_DOUBLE_EQ(ds.asDouble("身高"), 170.5);
}

}  // namespace
