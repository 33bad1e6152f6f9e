#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/TDM.h"
#include "personnel/EmployeeStore.h"
#include "personnel/Trszlw.h"
#include "personnel/Tunitw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;

class EmployeeWindowTest : public ::testing::Test {
protected:
    EmployeeWindowTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 性别, 职务, 一级部门, 二级部门, 出生年月, 入职日期) values "
             "('E01', '张三', '男', '科员', '总部', '财务部', '1985-03-02', '2010-07-01'), "
             "('E02', '李四', '女', '科长', '分厂', '生产部', '1979-11-20', '2003-02-15')");
        exec("insert into 部门分类 (一级部门, 二级部门) values ('总部', null), ('总部', '财务部'), ('分厂', '生产部')");
        exec("insert into 调动记录 (调动类型, 调动日期, 调动前一级部门, 调动后一级部门, 调动前职务, 调动后职务, 姓名, 员工编号1) "
             "values ('内部调动', '2015-04-01', '分厂', '总部', '技术员', '科员', '张三', 'E01'), "
             "('晋升', '2019-09-01', '总部', '总部', '科员', '科员', '张三', 'E01')");
        p.logIn("admin");
        dm.rszl.open();
        // A small JPEG as the first employee's photo.
        QImage img(90, 120, QImage::Format_RGB32);
        img.fill(QColor(90, 140, 200));
        QDir().mkpath(QString::fromStdString(p.path("照片")));
        img.save(QString::fromStdString(personnel::employeePhotoPath(dm, "E01")), "JPG");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    // Screenshots for the documentation, when asked for through RSGZ_SCREENSHOTS.
    static void keep(QWidget& w, const char* name)
    {
        const QByteArray dir = qgetenv("RSGZ_SCREENSHOTS");
        if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

TEST_F(EmployeeWindowTest, PagesShowTheEmployeeTheListsAndThePhoto)
{
    personnel::Trszlw w(dm);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("员工信息-基本信息"));
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("张三"));
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("年龄"))->isReadOnly(), true);
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("photo"))->pixmap().isNull());
    keep(w, "employee_page0.png");

    w.pages()->setCurrentIndex(6);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("员工信息-调动记录"));
    EXPECT_EQ(dm.ddjl.recordCount(), 2);
    EXPECT_FALSE(w.findChild<QPushButton*>(QStringLiteral("addButton"))->isEnabled());
    keep(w, "employee_page6_transfers.png");

    // Typing into a field edits the row; 保存 stores it.
    w.pages()->setCurrentIndex(0);
    auto* name = w.findChild<QLineEdit*>(QStringLiteral("姓名"));
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Zhang"));
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Browse);
    EXPECT_EQ(dm.rszl.asString("姓名"), "Zhang");

    // The next employee: fields follow, the photo goes.
    w.findChild<QToolButton*>(QStringLiteral("后一条记录"))->click();
    EXPECT_EQ(name->text(), QStringLiteral("李四"));
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("photo"))->pixmap().isNull());
}

TEST_F(EmployeeWindowTest, EvaluationPageHidesNewAndDelete)
{
    personnel::Trszlw w(dm);
    w.show();
    w.pages()->setCurrentIndex(10);
    QWidget* page = w.pages()->widget(10);
    EXPECT_FALSE(page->findChild<QPushButton*>(QStringLiteral("newButton"))->isVisible());
    EXPECT_TRUE(page->findChild<QPushButton*>(QStringLiteral("printButton"))->isVisible());
}

TEST_F(EmployeeWindowTest, EditorShowsAndStoresItsRow)
{
    dm.ddjl.setSql("select * from 调动记录 where 员工编号1 = 'E01'");
    dm.ddjl.setRowNumberField(true);
    dm.ddjl.open();
    dm.CurrentModule = 1;
    personnel::Tunitw w(dm, *personnel::editorSpec("调动记录"));
    w.show();
    QTest::qWaitForWindowExposed(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("调动记录"));
    EXPECT_TRUE(dm.editorOpen.ddjl);
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("调动类型"))->currentText(), QStringLiteral("内部调动"));
    EXPECT_FALSE(w.findChild<QToolButton*>(QStringLiteral("第一条记录"))->isEnabled());
    keep(w, "editor_transfer.png");

    w.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("调动前一级部门"))->text(), QStringLiteral("总部"));
    QTest::keyClicks(w.findChild<QComboBox*>(QStringLiteral("调动类型"))->lineEdit(), QStringLiteral("out"));
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(dm.ddjl.recordCount(), 3);
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
