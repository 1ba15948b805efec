// The millisecond tick counter and the processing of pending window events.
#pragma once

#include <cstdint>

namespace quorrel {

// A monotonic millisecond counter.
class ITickClock {
public:
    virtual ~ITickClock() = default;
    virtual std::int64_t TickCount() = 0;
};

// Runs the window's pending events on the calling thread. ProcessEvents handles what is pending and,
// when nothing is, sleeps until an event arrives or maxWaitMs have passed, so that a waiting loop
// does not spin a core. Handlers of any command may run inside the call.
class IEventPump {
public:
    virtual ~IEventPump() = default;
    virtual void ProcessEvents(int maxWaitMs) = 0;
};

}  // namespace quorrel
