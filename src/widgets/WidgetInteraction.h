#pragma once
#include <QPointer>
#include <QWidget>

#include "app/Interaction.h"

class QProgressDialog;

namespace rsgz::widgets {

// The program's own answers: real windows for notices, questions, errors, files and web pages.
class WidgetInteraction : public app::Interaction {
public:
    void showMessage(const std::string& text) override;
    bool ask(const std::string& text) override;
    void showError(const std::string& text) override;
    std::string openFileName(const std::string& caption, const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& filter) override;
    std::string folderName(const std::string& caption) override;
    using app::Interaction::openWindow;
    void openWindow(app::WindowId id) override;
    bool openUrl(const std::string& url) override;
    void beginProgress(const std::string& caption, const std::string& text, int total) override;
    void stepProgress(int done) override;
    void endProgress() override;

protected:
    void openUnlistedWindow(const std::string& caption) override;

private:
    QWidget* parentWindow() const;
    void windowMissing(const std::string& caption);

    // Owned by its parent window; gone with it when that window closes first.
    QPointer<QProgressDialog> progress_;
};

}  // namespace rsgz::widgets
