#include "ui/WidgetInteraction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "app/WindowsToCome.h"
#include "ui/Tjdtsw.h"
#include "ui/Ttishiw2.h"
#include "ui/WindowRegistry.h"

namespace rsgz::ui {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QWidget* WidgetInteraction::parentWindow() const { return QApplication::activeWindow(); }

void WidgetInteraction::showMessage(const std::string& text)
{
    Tjdtsw w(q(text), parentWindow());
    w.exec();
}

bool WidgetInteraction::ask(const std::string& text)
{
    Ttishiw2 w(q(text), parentWindow());
    w.exec();
    return w.answeredYes();
}

void WidgetInteraction::showError(const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), q(text), QMessageBox::Ok, parentWindow());
    box.setObjectName(QStringLiteral("errorBox"));
    box.exec();
}

std::string WidgetInteraction::openFileName(const std::string& caption, const std::string& filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), q(caption), QString(), q(filter)).toStdString();
}

std::string WidgetInteraction::saveFileName(const std::string& caption, const std::string& filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), q(caption), QString(), q(filter)).toStdString();
}

std::string WidgetInteraction::folderName(const std::string& caption)
{
    return QFileDialog::getExistingDirectory(parentWindow(), q(caption)).toStdString();
}

void WidgetInteraction::openWindow(const std::string& caption)
{
    if (openRegisteredWindow(caption, parentWindow())) return;
    // Nothing registered: logged, and a mistake in the program unless the window is still to come.
    // Either way the user learns that the button did nothing on purpose.
    if (app::isWindowToCome(caption)) qWarning("The window \"%s\" is not built yet", caption.c_str());
    else qWarning("No window is registered for the caption \"%s\"", caption.c_str());
    showMessage("“" + caption + "”功能尚未提供。");
}

bool WidgetInteraction::openUrl(const std::string& url) { return QDesktopServices::openUrl(QUrl(q(url))); }

}  // namespace rsgz::ui
