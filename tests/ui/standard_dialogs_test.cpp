#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTranslator>
#include <string>

#include "shell/ChineseTranslations.h"

using namespace rsgz;

namespace {

// Latin letters left in a caption once its mnemonic ("打开(&O)", "&Open") is taken out.
bool hasEnglish(QString text)
{
    text.remove(QRegularExpression(QStringLiteral(R"(\(&\w\))"))).remove(QLatin1Char('&'));
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

// Every caption a user reads on the dialog (labels, buttons, column titles) that is still English.
std::string englishCaptions(const QWidget& dialog)
{
    QStringList english;
    for (const QLabel* l : dialog.findChildren<QLabel*>())
        if (hasEnglish(l->text())) english << l->text();
    for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        if (hasEnglish(b->text())) english << b->text();
    for (const QFileSystemModel* m : dialog.findChildren<QFileSystemModel*>())
        for (int c = 0; c < m->columnCount(); ++c) {
            const QString title = m->headerData(c, Qt::Horizontal).toString();
            if (hasEnglish(title)) english << title;
        }
    return english.join(QStringLiteral(" | ")).toStdString();
}

class StandardDialogs : public ::testing::Test {
protected:
    void SetUp() override { translator = shell::installChineseTranslations(*QCoreApplication::instance()); }
    void TearDown() override { delete translator; }  // takes the translations out again
    QObject* translator = nullptr;
};

}  // namespace

TEST_F(StandardDialogs, FileDialogAndMessageBoxSpeakChinese)
{
    ASSERT_NE(translator, nullptr) << "the toolkit's Chinese translations are not installed";

    // The picture chooser as the program opens it (the toolkit's own dialog on this desktop).
    QFileDialog files(nullptr, QStringLiteral("选择桌面背景图片"), QString(), QStringLiteral("图片文件 (*.jpg)"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setFileMode(QFileDialog::ExistingFile);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    EXPECT_EQ(englishCaptions(files), "");
    EXPECT_EQ(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())).toStdString(), "文件夹");

    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), QStringLiteral("数据库错误"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(englishCaptions(box), "");
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove(QLatin1Char('&')).toStdString(), "确定");
}
