#pragma once
#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <future>

namespace rsgz::app {

// Waits for work running on a thread of its own (reading a whole database file) while the window
// keeps painting itself. Keyboard and mouse input waits until the work is done, so nothing can be
// started twice. Errors thrown by the work reach the caller.
template <class T>
T waitWhileResponsive(std::future<T>& done)
{
    if (QCoreApplication::instance()) {
        while (done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return done.get();
}

// Runs such work on a thread of its own and waits for it as above. The work must not use the data
// module's connection.
template <class Work>
auto runWhileResponsive(Work work) -> decltype(work())
{
    if (!QCoreApplication::instance()) return work();
    auto done = std::async(std::launch::async, std::move(work));
    return waitWhileResponsive(done);
}

}  // namespace rsgz::app
