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

    // --- Interaction -----------------------------------------------------------------------------
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool ask(const std::string& text) override;
    void showError(const std::string& text) override { errors.push_back(text); }
    std::string openFileName(const std::string& caption, const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& filter) override;
    std::string folderName(const std::string&) override { return nextFileName(); }  // from fileNames
    void openWindow(const std::string& caption) override;
    bool openUrl(const std::string& url) override
    {
        urls.push_back(url);
        return browserStarts;
    }

private:
    std::string nextFileName();
};

}  // namespace rsgz::test
