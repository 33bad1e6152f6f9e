#pragma once
#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <future>

namespace rsgz::app {

// Runs a piece of work that takes noticeable time (reading a whole database file) on a thread of
// its own and waits for it, while the window keeps painting itself. Keyboard and mouse input waits
// until the work is done, so nothing can be started twice. The work must not use the data module's
// connection. Errors thrown by the work reach the caller.
template <class Work>
auto runWhileResponsive(Work work) -> decltype(work())
{
    if (!QCoreApplication::instance()) return work();
    auto done = std::async(std::launch::async, std::move(work));
    while (done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return done.get();
}

}  // namespace rsgz::app
