#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/BasicSettings.h"
#include "app/DatePicker.h"
#include "personnel/DictionaryEditor.h"
#include "app/DictionaryLists.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using Names = std::vector<std::string>;

class DictionaryTest : public test::OnBothEngines {
protected:
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    void seed()
    {
        exec("insert into 数据字典 (字段名称, 字典内容) values ('职务', '科员'), ('学历', '本科'), ('职务', '科长'), "
             "('职务', '科员'), ('职务', ''), ('O''Key', '引号'), ('', '无键'), (null, '空键')");
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};
RSGZ_ON_BOTH_ENGINES(DictionaryTest);

TEST_P(DictionaryTest, ListFillKeepsRowOrderDuplicatesAndEmptyTexts)
{
    seed();
    const std::vector<app::DictionaryField> fields = {
        {"调动后职务", "职务", "ddjl"}, {"学历", "学历", "rszl"}, {"性别", "性别", "rszl"}, {"x", "O'Key", "rszl"}};
    const auto lists = app::fillDictionaryLists(dm, fields);
    ASSERT_EQ(lists.size(), 4u);
    EXPECT_EQ(lists[0], (Names{"科员", "科长", "科员", ""}));
    EXPECT_EQ(lists[1], Names{"本科"});
    EXPECT_TRUE(lists[2].empty());
    EXPECT_EQ(lists[3], Names{"引号"});
    EXPECT_FALSE(dm.zidian.active());
}

// The key of a field without suggestions: the picker opens an empty 字典管理 whose new row already
// carries the key; after 保存 the field's list and the settings tree show it.
TEST_P(DictionaryTest, PickerAddsTheFirstSuggestionOfAKey)
{
    personnel::DictionaryEditor editor(dm);
    ui.onWindow("字典管理", [&] {
        EXPECT_TRUE(dm.zidian.isEmpty());
        editor.add();
        EXPECT_EQ(dm.zidian.asString("字段名称"), "血型");
        dm.zidian.setValue("字典内容", db::Value("A型"));
        editor.save();
        editor.close();
    });
    app::pickDictionary(dm, "血型");
    EXPECT_EQ(dm.CurrentDictionaryKey, "血型");
    EXPECT_EQ(app::dictionaryList(dm, "血型"), Names{"A型"});

    personnel::BasicSettings settings(dm);
    settings.activate();
    EXPECT_EQ(settings.keys, Names{"血型"});
    EXPECT_TRUE(ui.errors.empty());
}

TEST_P(DictionaryTest, EditorDeletesAfterTheQuestionAndUnsavedChangesAreDropped)
{
    seed();
    personnel::DictionaryEditor editor(dm);
    app::openDictionary(dm, "职务");
    dm.CurrentDictionaryKey = "职务";

    editor.add();
    editor.remove();  // a row being added goes without a question
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(dm.zidian.recordCount(), 4);

    ui.answer(false);
    EXPECT_FALSE(app::runAction([&] { editor.remove(); }));  // 否 abandons the delete quietly
    EXPECT_EQ(dm.zidian.recordCount(), 4);
    ui.answer(true);
    editor.remove();
    EXPECT_EQ(ui.questions, (Names{"删除当前字典数据吗?", "删除当前字典数据吗?"}));
    EXPECT_EQ(app::dictionaryList(dm, "职务").size(), 4u) << "pending until 保存; the next fill drops it";

    app::openDictionary(dm, "职务");
    ui.answer(true);
    editor.remove();
    editor.save();
    EXPECT_EQ(app::dictionaryList(dm, "职务"), (Names{"科长", "科员", ""}));

    app::openDictionary(dm, "无此键");
    ui.clear();
    editor.remove();  // nothing to delete
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_P(DictionaryTest, SettingsWindowListsKeysAndEditsTheChosenOne)
{
    personnel::BasicSettings empty(dm);
    empty.activate();
    EXPECT_TRUE(empty.keys.empty());
    empty.add();
    empty.remove();
    empty.save();
    EXPECT_FALSE(dm.jcsz.active());

    seed();
    personnel::BasicSettings s(dm);
    s.activate();
    EXPECT_EQ(s.keys, (Names{"职务", "学历", "O'Key"}));  // neither the empty nor the null key
    EXPECT_EQ(s.gridTitle, "职务");
    EXPECT_EQ(dm.jcsz.recordCount(), 4);

    s.clickNode(2);
    EXPECT_EQ(dm.CurrentDictionaryKey, "O'Key");
    EXPECT_EQ(dm.jcsz.recordCount(), 1);
    s.add();
    dm.jcsz.setValue("字典内容", db::Value("第二条"));
    s.save();
    EXPECT_EQ(app::dictionaryList(dm, "O'Key"), (Names{"引号", "第二条"}));

    s.clickNode(2);
    ui.answer(false);
    EXPECT_FALSE(app::runAction([&] { s.remove(); }));
    EXPECT_EQ(ui.questions, Names{"删除当前设置数据吗?"});
    ui.answer(true);
    s.remove();
    EXPECT_EQ(app::dictionaryList(dm, "O'Key"), Names{"第二条"});
}

TEST_P(DictionaryTest, DatePickerStoresAnIsoDateOrNothing)
{
    exec("insert into 员工基本情况 (员工编号, 姓名, 出生年月) values ('E01', '张三', '1980-01-02')");
    dm.rszl.open();
    dm.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 0)); };

    ui.onWindow("取得当前日期", [&] {
        app::DatePicker picker(dm);
        EXPECT_EQ(picker.today(), QDate(2024, 3, 5));
        picker.choose(QDate(1979, 12, 31));
    });
    EXPECT_TRUE(app::pickDate(dm, dm.rszl, "出生年月"));
    EXPECT_EQ(dm.PickedDateText, "1979-12-31");
    dm.rszl.post();
    EXPECT_EQ(dm.rszl.value("出生年月").toDate(), QDate(1979, 12, 31));

    ui.onWindow("取得当前日期", [&] { app::DatePicker(dm).cancel(); });
    EXPECT_FALSE(app::pickDate(dm, dm.rszl, "出生年月"));
    EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Browse);

    // A window that never answers leaves no earlier choice behind.
    dm.DatePicked = true;
    dm.PickedDateText = "2000-01-01";
    ui.windowActions.erase("取得当前日期");
    EXPECT_FALSE(app::pickDate(dm, dm.rszl, "出生年月"));
    EXPECT_EQ(dm.rszl.value("出生年月").toDate(), QDate(1979, 12, 31));
}

// The member table names columns that the windows' datasets really have.
TEST_P(DictionaryTest, PickerMembersNameRealColumns)
{
    for (const app::PickerMembers& m : app::pickerMembers()) {
        for (const auto& f : m.lists) {
            db::DataSet* ds = dm.dataSet(f.dataSet);
            ASSERT_NE(ds, nullptr) << f.dataSet;
            if (!ds->active()) ds->open();
            EXPECT_GE(ds->fieldIndex(f.column), 0) << m.caption << " " << f.column;
        }
        db::DataSet* ds = dm.dataSet(m.dataSet);
        ASSERT_NE(ds, nullptr) << m.dataSet;
        if (!ds->active()) ds->open();
        for (const std::string& d : m.dateFields) {
            const int i = ds->fieldIndex(d);
            ASSERT_GE(i, 0) << m.caption << " " << d;
            EXPECT_EQ(ds->field(i).type, db::FieldType::DateTime) << m.caption << " " << d;
        }
    }
    ASSERT_NE(app::pickerMembersOf("调动记录"), nullptr);
    EXPECT_EQ(app::pickerMembersOf("调动记录")->lists[1].key, "职务");
}

}  // namespace
