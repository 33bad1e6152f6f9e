#include "app/StreamInteraction.h"

#include <ostream>

namespace rsgz::app {

void StreamInteraction::say(const char* kind, const std::string& text)
{
    std::string line = text;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    out_ << kind << "：" << line << std::endl;
}

void StreamInteraction::showMessage(const std::string& text) { say("软件提示", text); }

bool StreamInteraction::ask(const std::string& text)
{
    say("提示窗口（回答：否）", text);
    return false;
}

void StreamInteraction::showError(const std::string& text) { say("错误", text); }

std::string StreamInteraction::openFileName(const std::string& caption, const std::string&)
{
    say("打开文件（取消）", caption);
    return {};
}

std::string StreamInteraction::saveFileName(const std::string& caption, const std::string&)
{
    say("保存文件（取消）", caption);
    return {};
}

void StreamInteraction::openWindow(WindowId id) { say("窗口（未打开）", windowCaption(id)); }

void StreamInteraction::openUnlistedWindow(const std::string& caption) { say("窗口（未打开）", caption); }

bool StreamInteraction::openUrl(const std::string& url)
{
    say("网页（未打开）", url);
    return false;
}

}  // namespace rsgz::app
