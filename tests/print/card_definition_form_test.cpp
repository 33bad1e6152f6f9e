#include <gtest/gtest.h>

#include <fstream>

#include "print/CardDefinitionForm.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using print::CardDefinition;
using Form = print::CardDefinitionForm;

class CardDefinitionFormTest : public test::OnBothEngines {
protected:
    int fieldIndex(const std::string& name) const
    {
        const auto& f = form.fieldList();
        return static_cast<int>(std::find(f.begin(), f.end(), name) - f.begin());
    }

    test::ProgramLayout p{{.liveDatabase = true, .engine = engine()}};
    test::ScriptedInteraction ui;
    CardDefinition def;
    Form form{p.dm(), def};
};

// The list holds names only: a moved item takes over the position (and, for other content, the
// font) of its new slot.
TEST_P(CardDefinitionFormTest, ListChangesAreStoredAndSlotsStayPut)
{
    def.setPosition(1, {10, 10});
    def.setPosition(2, {20, 20});
    form.chooseGroup(Form::Group::Employee);
    form.add(fieldIndex("姓名"));
    form.add(fieldIndex("性别"));
    EXPECT_EQ(def.items(CardDefinition::Group::Employee), (std::vector<std::string>{"姓名", "性别"}));
    form.select(1);
    form.moveUp();
    EXPECT_EQ(def.items(CardDefinition::Group::Employee), (std::vector<std::string>{"性别", "姓名"}));
    EXPECT_EQ(def.position(1), (CardDefinition::Point{10, 10}));
    EXPECT_EQ(form.selected(), 0);

    form.moveUp();  // already first
    form.select(-1);
    form.moveDown();
    form.remove();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"无法移动！", Form::kSelectFirst, Form::kSelectFirst}));

    form.copyToOther();
    form.chooseGroup(Form::Group::Other);
    form.enterOther("员工档案表");
    form.enterOther("");
    EXPECT_EQ(form.chosen(), (std::vector<std::string>{"性别", "姓名", "员工档案表"}));
    form.select(2);
    form.setFont({"黑体", 18});
    EXPECT_EQ(def.font(503).name, "黑体");
    form.setOtherFontForAll({"楷体", 12});
    EXPECT_EQ(def.font(501).size, 12);
    EXPECT_EQ(def.font(503).size, 12);

    form.chooseGroup(Form::Group::Company);
    EXPECT_TRUE(form.chosen().empty());
    form.add(fieldIndex("单位名称"));
    form.removeAll();
    EXPECT_TRUE(def.items(CardDefinition::Group::Company).empty());
}

TEST_P(CardDefinitionFormTest, PaperSizeComesFromItsFileWhenThereIsOne)
{
    std::ofstream(p.path("set/B5.p")) << "1760\r\n2500\r\n";
    form.choosePaper("B5");
    EXPECT_EQ(std::pair(def.paperWidth(), def.paperHeight()), std::pair(1760, 2500));
    form.choosePaper("自定纸");
    EXPECT_EQ(def.paperName(), "自定纸");
    EXPECT_EQ(std::pair(def.paperWidth(), def.paperHeight()), std::pair(1760, 2500));
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(CardDefinitionFormTest);
