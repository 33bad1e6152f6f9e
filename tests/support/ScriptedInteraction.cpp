#include "support/ScriptedInteraction.h"

namespace rsgz::test {

ScriptedInteraction::ScriptedInteraction() { app::setInteraction(this); }

ScriptedInteraction::~ScriptedInteraction() { app::setInteraction(nullptr); }

void ScriptedInteraction::clear()
{
    messages.clear();
    questions.clear();
    errors.clear();
    windows.clear();
    urls.clear();
    fileFilters.clear();
    progressTexts.clear();
    progressSteps.clear();
    overProgress.clear();
}

void ScriptedInteraction::beginProgress(const std::string&, const std::string& text, int)
{
    progressTexts.push_back(text);
    progressOpen = true;
}

void ScriptedInteraction::stepProgress(int done)
{
    if (progressOpen) progressSteps.push_back(done);
}

void ScriptedInteraction::interrupt(const std::string& what)
{
    if (!progressOpen) return;
    overProgress.push_back(what);
    progressOpen = false;
}

bool ScriptedInteraction::ask(const std::string& text)
{
    interrupt(text);
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

std::string ScriptedInteraction::nextFileName()
{
    if (fileNames.empty()) return {};
    std::string name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::string ScriptedInteraction::openFileName(const std::string& caption, const std::string& filter)
{
    interrupt(caption);
    fileFilters.push_back(filter);
    return nextFileName();
}

std::string ScriptedInteraction::saveFileName(const std::string& caption, const std::string& filter)
{
    interrupt(caption);
    fileFilters.push_back(filter);
    return nextFileName();
}

void ScriptedInteraction::openUnlistedWindow(const std::string& caption)
{
    interrupt(caption);
    windows.push_back(caption);
    auto it = windowActions.find(caption);
    if (it != windowActions.end() && it->second) it->second();
}

}  // namespace rsgz::test
