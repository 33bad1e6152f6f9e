// The record card window as a user meets it. With RSGZ_SCREENSHOT_DIR set, the window and its PDF
// are also saved there (card-window.png, card.pdf).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "app/TDM.h"
#include "db/SqlText.h"
#include "print/CardPrinting.h"
#include "print/windows/Tdyddw.h"
#include "print/windows/Trszlbbw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "print/windows/CardPainter.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;
using print::CardDefinition;
using Group = CardDefinition::Group;

int px(double mm) { return static_cast<int>(mm * 3.78); }

// A card as an office lays it out: a title, captions beside the values in a ruled table, the
// photograph on the right and the résumé below.
void layOut(CardDefinition& def)
{
    def.setMargins(150, 150, 100, 1300);
    def.setTableTop(300);
    def.setLineSpacing(100);
    def.setLineCount(true, 5);
    def.initialiseHorizontalLines();
    def.setLineCount(false, 4);
    const int xs[] = {400, 850, 1100, 1550};
    for (int i = 0; i < 4; ++i) def.setLine(false, i + 1, {xs[i], 300, xs[i], 800});
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"姓名", "姓名"}, {"性别", "性别"}, {"出生年月", "出生年月"}, {"籍贯", "籍贯"}, {"部门", "一级部门"},
        {"职务", "职务"}, {"学历", "学历"}, {"毕业院校", "毕业院校"}, {"联系电话", "联系电话"}, {"员工编号", "员工编号"}};
    std::vector<std::string> other = {"员工档案表"}, employee;
    def.setPosition(501, {px(85), px(12)});
    for (size_t i = 0; i < rows.size(); ++i) {
        const double x = i % 2 ? 87 : 17, y = 33 + 10 * static_cast<double>(i / 2);
        other.push_back(rows[i].first);
        def.setPosition(CardDefinition::positionSlot(Group::Other, static_cast<int>(other.size())), {px(x), px(y)});
        employee.push_back(rows[i].second);
        def.setPosition(static_cast<int>(employee.size()), {px(x + 25), px(y)});
    }
    other.push_back("个人简历");
    def.setPosition(CardDefinition::positionSlot(Group::Other, static_cast<int>(other.size())), {px(17), px(90)});
    def.setItems(Group::Other, other);
    def.setItems(Group::Employee, employee);
    def.setItems(Group::Company, {"单位名称"});
    def.setPosition(301, {px(17), px(24)});
    def.setFont(501, {"黑体", 20});
    for (size_t i = 2; i <= other.size(); ++i) def.setFont(500 + static_cast<int>(i), {"宋体", 11});
    def.setFont(1, {"宋体", 11});
    def.setFont(301, {"宋体", 10});
    def.setPosition(CardDefinition::kPhotoSlot, {px(160), px(32)});
    def.setResumePosition({px(17), px(98)});
    def.setResumeSize(px(175), px(40));
}

class CardWindowTest : public ::testing::Test {
protected:
    CardWindowTest()
    {
        p.logIn("admin");
        const char* people[][6] = {
            {"001", "陈静", "女", "1988-04-12", "财务部", "2006年考入南京财经大学会计系，2010年毕业后进入本厂财务部，"
                                                          "2015年起任主管会计，负责成本核算与工资发放。"},
            {"002", "王建国", "男", "1979-11-02", "生产部", "1998年进厂，先后任车工、班长、车间主任。"},
            {"003", "李晓", "男", "1995-07-30", "销售部", ""},
        };
        for (const auto& e : people)
            dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名, 性别, 出生年月, 一级部门, 个人简历, 籍贯, 职务, 学历, 毕业院校, 联系电话) values ("
                          + db::sqlQuote(e[0]) + "," + db::sqlQuote(e[1]) + "," + db::sqlQuote(e[2]) + ","
                          + db::sqlQuote(e[3]) + "," + db::sqlQuote(e[4]) + "," + db::sqlQuote(e[5])
                          + ", '江苏南京', '主管', '本科', '南京财经大学', '13905170001')");
        dm.DMADO.exec("insert into 公司数据 (单位名称) values ('宏达机械厂')");
        dm.rszl.open();
        dm.gs_data.open();
        dm.CurrentModule = 1;
        // A photograph for the first employee, as the employee window keeps it.
        QImage photo(218, 262, QImage::Format_RGB32);
        photo.fill(QColor(0xc9, 0xd6, 0xe4));
        QPainter painter(&photo);
        painter.setBrush(QColor(0x5a, 0x6f, 0x86));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRect(64, 40, 90, 100));
        painter.drawRoundedRect(QRect(30, 150, 158, 140), 60, 60);
        painter.end();
        photo.save(QString::fromStdString(p.path("照片/001.jpg")), "JPG");
        print::currentCard() = CardDefinition();
        layOut(print::currentCard());
    }
    ~CardWindowTest() override { print::currentCard() = CardDefinition(); }

    test::ProgramLayout p{{.liveDatabase = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction user;
};

TEST_F(CardWindowTest, ShowsTheCardsOfTheListAndPrintsThemToPdf)
{
    print::Trszlbbw w(dm);
    w.setWindowState(Qt::WindowNoState);
    w.resize(1000, 760);
    w.show();
    QApplication::processEvents();
    auto* position = w.findChild<QLineEdit*>(QStringLiteral("positionBox"));
    ASSERT_TRUE(position);
    EXPECT_EQ(position->text(), QStringLiteral("1/3"));
    EXPECT_EQ(w.paper()->width(), 794);  // 2100 × 3.78 ÷ 10
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(dir + "/card-window.png");

    w.findChild<QToolButton*>(QStringLiteral("lastButton"))->click();
    EXPECT_EQ(position->text(), QStringLiteral("3/3"));
    EXPECT_EQ(dm.rszl.asString("姓名"), "李晓");

    const QString pdf = QString::fromStdString(p.path("card.pdf"));
    ASSERT_EQ(w.writePdf(pdf, true), QString());
    EXPECT_EQ(user.progressSteps, (std::vector<int>{0, 1, 2})) << "three cards counted";
    EXPECT_FALSE(user.progressOpen);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 3);
    EXPECT_TRUE(QString::fromLatin1(bytes).contains(QRegularExpression(QStringLiteral("/Subtype\\s*/Image"))))
        << "the first employee's photograph is missing";
    if (!dir.isEmpty()) {
        w.findChild<QToolButton*>(QStringLiteral("firstButton"))->click();
        w.writePdf(dir + "/card.pdf", false);
    }
}

// Dragging stores the place on the paper less the print offset; a press without a move stores nothing.
TEST_F(CardWindowTest, DraggingALabelStoresItsPositionLessTheOffset)
{
    CardDefinition& def = print::currentCard();
    def.setOffset({100, 0});  // 37.8 → 38 pixels to the right
    def.setPosition(1, {200, 150});
    print::Trszlbbw w(dm);
    w.show();
    w.define();
    EXPECT_EQ(user.windows, std::vector<std::string>{"定义订单打印内容"});
    ASSERT_TRUE(w.placing());
    auto* label = w.paper()->findChild<QLabel*>(QStringLiteral("cardLabel1"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->pos(), QPoint(238, 150));

    const QPoint grip(5, 5), global = label->mapToGlobal(grip);
    auto send = [label](QEvent::Type type, QPoint globalAt, Qt::MouseButtons held) {
        QMouseEvent e(type, label->mapFromGlobal(globalAt), globalAt, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(label, &e);
    };
    send(QEvent::MouseButtonPress, global, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, global, Qt::NoButton);
    EXPECT_EQ(def.position(1), (CardDefinition::Point{200, 150}));

    send(QEvent::MouseButtonPress, global, Qt::LeftButton);
    send(QEvent::MouseMove, global + QPoint(30, -20), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, global + QPoint(30, -20), Qt::NoButton);
    EXPECT_EQ(def.position(1), (CardDefinition::Point{230, 130}));
    EXPECT_EQ(label->pos(), QPoint(268, 130));

    w.refresh();
    EXPECT_FALSE(w.placing());
    EXPECT_FALSE(w.paper()->findChild<QLabel*>(QStringLiteral("cardLabel1")));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(p.path("baobiao/rszlbb.dat"))));
}

// A first start, with no definition file: the standard card, readable and on the paper, and in
// placement mode its résumé box shows at its stored size where nothing covers it.
TEST_F(CardWindowTest, WithoutADefinitionFileTheStandardCardIsShown)
{
    print::readCardDefinition(dm);
    const CardDefinition& def = print::currentCard();
    ASSERT_TRUE(def.bytes() == CardDefinition::standardCard().bytes());
    print::Trszlbbw w(dm);
    w.setWindowState(Qt::WindowNoState);
    w.resize(1000, 1200);
    w.show();
    QApplication::processEvents();
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.paper()->grab().save(dir + "/card-default.png");

    // The résumé is broken at the box's width, not after every character.
    const print::CardPage page = print::layoutCard(def, w.printing().values(), print::CardScale::screen(), print::CardMode::Card);
    ASSERT_TRUE(page.resume);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(page.resumeText.font.size);
    font.setBold(true);
    const QStringList lines = print::wrapResume(QString::fromStdString(page.resumeText.text), page.resumeWrapWidth, font, nullptr);
    EXPECT_LE(lines.size(), 3) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_LE(page.resumeText.x + page.resumeWrapWidth, w.paper()->width());

    w.define();
    auto* resume = w.paper()->findChild<QLabel*>(QStringLiteral("cardLabel0"));
    ASSERT_TRUE(resume);
    EXPECT_TRUE(resume->isVisible());
    EXPECT_EQ(resume->size(), QSize(def.resumeWidth(), def.resumeHeight()));
    EXPECT_TRUE(w.paper()->rect().contains(resume->geometry()));
    EXPECT_EQ(w.paper()->childAt(resume->geometry().center()), resume) << "the résumé box is covered";
    // Its outline shows on the paper: its lower edge lies where the card itself is blank.
    const QImage shown = w.paper()->grab().toImage();
    const QRect box = resume->geometry();
    int drawn = 0;
    for (int x = box.left(); x <= box.right(); ++x) drawn += qGray(shown.pixel(x, box.bottom())) < 200;
    EXPECT_GT(drawn, box.width() / 3) << "the résumé box is not drawn";
    if (!dir.isEmpty()) w.paper()->grab().save(dir + "/card-default-placement.png");
}

// The definition window shows the résumé box as the record holds it, and its entry box is ready
// for the next text once Enter has taken one.
TEST_F(CardWindowTest, DefinitionWindowShowsTheStoredValuesAndEmptiesTheEntryBox)
{
    for (const CardDefinition& def : {CardDefinition(), CardDefinition::standardCard()}) {
        CardDefinition edited = def;
        print::Tdyddw w(dm, edited);
        EXPECT_EQ(w.findChild<QSpinBox*>(QStringLiteral("resumeWidth"))->value(), def.resumeWidth());
        EXPECT_EQ(w.findChild<QSpinBox*>(QStringLiteral("resumeHeight"))->value(), def.resumeHeight());
        EXPECT_EQ(w.findChild<QSpinBox*>(QStringLiteral("leftMargin"))->value(), def.leftMargin());
    }
    CardDefinition def = CardDefinition::standardCard();
    print::Tdyddw w(dm, def);
    w.show();
    auto* groups = w.findChild<QListWidget*>(QStringLiteral("groupList"));
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualItemRect(groups->item(2)).center());
    auto* entry = w.findChild<QLineEdit*>(QStringLiteral("otherEntry"));
    for (const char* text : {"填表日期", "审核人"}) {
        QTest::mouseClick(entry, Qt::LeftButton);
        QInputMethodEvent typed;  // Chinese arrives from the input method as committed text
        typed.setCommitString(QString::fromUtf8(text));
        QApplication::sendEvent(entry, &typed);
        QTest::keyClick(entry, Qt::Key_Return);
        EXPECT_EQ(entry->text(), QString());
    }
    auto* chosen = w.findChild<QListWidget*>(QStringLiteral("chosenList"));
    ASSERT_GE(chosen->count(), 2);
    EXPECT_EQ(chosen->item(chosen->count() - 2)->text(), QStringLiteral("填表日期"));
    EXPECT_EQ(chosen->item(chosen->count() - 1)->text(), QStringLiteral("审核人"));
    EXPECT_EQ(def.items(Group::Other).back(), "审核人");
}

TEST_F(CardWindowTest, OpensOnlyFromTheEmployeeList)
{
    shell::registerProgramWindows();
    dm.CurrentModule = 2;
    ASSERT_TRUE(widgets::openRegisteredWindow("员工档案表格打印", nullptr));
    EXPECT_EQ(user.messages, std::vector<std::string>{"请先转到员工档案窗口!"});
}

// However the résumé is worded, no line runs past the box it is printed in.
TEST(CardPainter, ResumeLinesStayInsideTheBox)
{
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(11);
    font.setBold(true);
    const QString text = QStringLiteral("2006年考入南京财经大学会计系，2010年毕业后进入本厂财务部，2015年起任主管会计。\n"
                                        "Responsible for cost accounting and payroll since 2015.");
    const QStringList lines = print::wrapResume(text, 240, font, nullptr);
    EXPECT_GT(lines.size(), 3);
    EXPECT_EQ(lines.join(QString()).remove(QLatin1Char(' ')), QString(text).remove(QLatin1Char('\n')).remove(QLatin1Char(' ')));
    const QFontMetrics metrics(font);
    for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), 240) << line.toStdString();
}

}  // namespace
