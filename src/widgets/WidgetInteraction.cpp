#include "widgets/WidgetInteraction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>
#include <algorithm>

#include "widgets/Tjdtsw.h"
#include "widgets/Ttishiw2.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::widgets {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QWidget* WidgetInteraction::parentWindow() const { return QApplication::activeWindow(); }

void WidgetInteraction::beginProgress(const std::string& caption, const std::string& text, int total)
{
    endProgress();
    progress_ = new QProgressDialog(q(text), QString(), 0, std::max(total, 1), parentWindow());
    progress_->setObjectName(QStringLiteral("progressWindow"));
    progress_->setWindowTitle(caption.empty() ? QStringLiteral("请稍候") : q(caption));
    progress_->setWindowModality(Qt::WindowModal);
    // Closed only by endProgress: reaching the total must not leave a reset, empty window behind.
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(300);
    progress_->setValue(0);
}

void WidgetInteraction::stepProgress(int done)
{
    if (!progress_) return;
    progress_->setValue(std::clamp(done, 0, progress_->maximum()));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WidgetInteraction::endProgress()
{
    if (!progress_) return;
    QProgressDialog* p = progress_;
    progress_ = nullptr;
    p->close();
    delete p;
}

// Every window that waits for the user closes the progress window first: it would stay on top,
// frozen at its last step, and hide the very window the user has to answer.
void WidgetInteraction::showMessage(const std::string& text)
{
    endProgress();
    Tjdtsw w(q(text), parentWindow());
    w.exec();
}

bool WidgetInteraction::ask(const std::string& text)
{
    endProgress();
    Ttishiw2 w(q(text), parentWindow());
    w.exec();
    return w.answeredYes();
}

void WidgetInteraction::showError(const std::string& text)
{
    endProgress();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), q(text), QMessageBox::Ok, parentWindow());
    box.setObjectName(QStringLiteral("errorBox"));
    box.exec();
}

std::string WidgetInteraction::openFileName(const std::string& caption, const std::string& filter)
{
    endProgress();
    return QFileDialog::getOpenFileName(parentWindow(), q(caption), QString(), q(filter)).toStdString();
}

std::string WidgetInteraction::saveFileName(const std::string& caption, const std::string& filter)
{
    endProgress();
    return QFileDialog::getSaveFileName(parentWindow(), q(caption), QString(), q(filter)).toStdString();
}

std::string WidgetInteraction::folderName(const std::string& caption)
{
    endProgress();
    return QFileDialog::getExistingDirectory(parentWindow(), q(caption)).toStdString();
}

void WidgetInteraction::openWindow(app::WindowId id)
{
    endProgress();
    if (openRegisteredWindow(id, parentWindow())) return;
    windowMissing(app::windowCaption(id));
}

void WidgetInteraction::openUnlistedWindow(const std::string& caption)
{
    endProgress();
    if (openRegisteredWindow(caption, parentWindow())) return;
    windowMissing(caption);
}

// Nothing registered is a mistake in the program: logged, and the user learns that the button did
// nothing on purpose.
void WidgetInteraction::windowMissing(const std::string& caption)
{
    qWarning("No window is registered for the caption \"%s\"", caption.c_str());
    showMessage("“" + caption + "”功能尚未提供。");
}

bool WidgetInteraction::openUrl(const std::string& url) { return QDesktopServices::openUrl(QUrl(q(url))); }

}  // namespace rsgz::widgets
