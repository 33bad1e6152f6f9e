#pragma once
#include <iosfwd>

#include "app/Interaction.h"

namespace rsgz::app {

// The answers of a run without anyone at the screen (a scripted start): every notice, question
// and error is written as a line to the stream, every question is answered 否, every file
// dialog is cancelled and no window opens. Nothing waits for a hand that is not there.
class StreamInteraction : public Interaction {
public:
    explicit StreamInteraction(std::ostream& out) : out_(out) {}
    void showMessage(const std::string& text) override;
    bool ask(const std::string& text) override;
    void showError(const std::string& text) override;
    std::string openFileName(const std::string& caption, const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& filter) override;
    using Interaction::openWindow;
    void openWindow(WindowId id) override;
    bool openUrl(const std::string& url) override;

protected:
    void openUnlistedWindow(const std::string& caption) override;

private:
    void say(const char* kind, const std::string& text);
    std::ostream& out_;
};

}  // namespace rsgz::app
