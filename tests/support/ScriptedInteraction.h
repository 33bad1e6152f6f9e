#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/Interaction.h"

namespace rsgz::test {

// Stands in for the user while it exists: records every notice, question, error and window, answers
// questions and file dialogs from queues, and lets a test act as a window (a picker choosing, an
// editor typing) when that window is opened. A question with no answer queued is answered 否.
class ScriptedInteraction : public app::Interaction {
public:
    ScriptedInteraction();
    ~ScriptedInteraction() override;
    ScriptedInteraction(const ScriptedInteraction&) = delete;
    ScriptedInteraction& operator=(const ScriptedInteraction&) = delete;

    // --- script --------------------------------------------------------------------------------
    void answer(bool yes) { answers.push_back(yes); }
    void onWindow(const std::string& caption, std::function<void()> act) { windowActions[caption] = std::move(act); }
    void clear();  // forgets what was recorded (not the script)

    std::deque<bool> answers;
    std::deque<std::string> fileNames;
    std::map<std::string, std::function<void()>> windowActions;
    bool browserStarts = true;  // what openUrl reports

    // --- record --------------------------------------------------------------------------------
    std::vector<std::string> messages, questions, errors, windows, urls;
    std::vector<std::string> fileFilters;  // of every file dialog, in order
    // Progress windows: the text of each one opened, the steps it was told, whether one is open,
    // and every notice, question, error or window that came while one was still open (the program
    // closes it then, as the real windows do, but the work should have closed it itself).
    std::vector<std::string> progressTexts;
    std::vector<int> progressSteps;
    bool progressOpen = false;
    std::vector<std::string> overProgress;

    // --- Interaction -----------------------------------------------------------------------------
    void showMessage(const std::string& text) override
    {
        interrupt(text);
        messages.push_back(text);
    }
    bool ask(const std::string& text) override;
    void showError(const std::string& text) override
    {
        interrupt(text);
        errors.push_back(text);
    }
    std::string openFileName(const std::string& caption, const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& filter) override;
    std::string folderName(const std::string& caption) override  // from fileNames
    {
        interrupt(caption);
        return nextFileName();
    }
    using app::Interaction::openWindow;
    void openWindow(app::WindowId id) override { openUnlistedWindow(app::windowCaption(id)); }
    bool openUrl(const std::string& url) override
    {
        urls.push_back(url);
        return browserStarts;
    }

    void beginProgress(const std::string&, const std::string& text, int) override;
    void stepProgress(int done) override;
    void endProgress() override { progressOpen = false; }

protected:
    // Recorded by caption, as the script names them.
    void openUnlistedWindow(const std::string& caption) override;

private:
    std::string nextFileName();
    void interrupt(const std::string& what);
};

}  // namespace rsgz::test
