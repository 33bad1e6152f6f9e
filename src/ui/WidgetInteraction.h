#pragma once
#include <QPointer>
#include <QWidget>

#include "app/Interaction.h"

namespace rsgz::ui {

// The program's own answers: real windows for notices, questions, errors, files and web pages.
class WidgetInteraction : public app::Interaction {
public:
    void showMessage(const std::string& text) override;
    bool ask(const std::string& text) override;
    void showError(const std::string& text) override;
    std::string openFileName(const std::string& caption, const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& filter) override;
    std::string folderName(const std::string& caption) override;
    void openWindow(const std::string& caption) override;
    bool openUrl(const std::string& url) override;

private:
    QWidget* parentWindow() const;
};

}  // namespace rsgz::ui
