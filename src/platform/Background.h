// Work that runs off the window's thread, so that a long search never blocks the window.
#pragma once

#include <functional>
#include <memory>

namespace quorrel {

// One piece of work under way on a thread of its own. Its callbacks run on the window's thread, from
// the window's event processing; none of them runs once the task is destroyed. Destroying the task
// waits for the work to return, so its owner first tells the work to stop (through a flag the work
// polls).
class IBackgroundTask {
public:
    virtual ~IBackgroundTask() = default;
};

class IBackground {
public:
    virtual ~IBackground() = default;
    // Starts work. `slow` runs once if the work is still running slowMs after the start; `done` runs
    // once when the work has returned.
    virtual std::unique_ptr<IBackgroundTask> Start(std::function<void()> work, int slowMs, std::function<void()> slow,
                                                   std::function<void()> done) = 0;
};

}  // namespace quorrel
