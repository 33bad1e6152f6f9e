#pragma once
#include <functional>
#include <string>

#include "app/WindowId.h"

namespace rsgz::app {

// Everything that stops to ask the user something goes through this one interface: notices,
// yes/no questions, the standard error box, file dialogs and the windows that rules and buttons
// open. The program installs the widget implementation; a test installs scripted answers.
class Interaction {
public:
    virtual ~Interaction() = default;
    // The notice window 软件提示 (red text, 确定).
    virtual void showMessage(const std::string& text) = 0;
    // The question window 提示窗口 (red text, 是/否): true for 是; closing it any other way is 否.
    virtual bool ask(const std::string& text) = 0;
    // The standard error box for errors no rule foresees (database errors).
    virtual void showError(const std::string& text) = 0;
    // File dialogs: the chosen path, empty when cancelled. filter as in "图片 (*.jpg *.png)". The
    // save dialog has asked before returning an existing file's name (whether to replace it).
    virtual std::string openFileName(const std::string& caption, const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& caption, const std::string& filter) = 0;
    // A folder to write files into; empty when cancelled.
    virtual std::string folderName(const std::string& /*caption*/) { return {}; }
    // A modal window (个人简历编辑, 选择物品, 权限管理 …).
    virtual void openWindow(WindowId id) = 0;
    // The old way, kept for code that still names a window by its caption: opens the window of
    // that caption, or hands a caption no identity has to openUnlistedWindow. New code passes
    // the WindowId.
    void openWindow(const std::string& caption);
    // A web page in the default browser; false when no browser could be started.
    virtual bool openUrl(const std::string& url) = 0;

    // The progress window of long work (use app::Progress, which always closes it). One is open
    // at a time; a notice, question, error box or file dialog closes an open one before it opens,
    // so nothing the user must answer ever waits behind it.
    virtual void beginProgress(const std::string& /*caption*/, const std::string& /*text*/, int /*total*/) {}
    virtual void stepProgress(int /*done*/) {}
    virtual void endProgress() {}

protected:
    // A caption opened the old way that names no WindowId (a window registered by caption only,
    // or a mistake in the program).
    virtual void openUnlistedWindow(const std::string& /*caption*/) {}
};

Interaction& interaction();
// Installs an implementation (not owned); nullptr goes back to the silent default.
void setInteraction(Interaction* impl);

// Runs one user action the way every button does: a silent abort ends it quietly, any other error
// reaches the standard error box, and the window stays open. True when the action ran to its end.
bool runAction(const std::function<void()>& action);

}  // namespace rsgz::app
