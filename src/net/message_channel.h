#pragma once
// What a match needs of its connection to the rival: sending, holding back
// what arrives, and acting once what has already arrived is delivered.
// MessageConnection is the real one; tests may stand in for it.

#include <QString>
#include <functional>

namespace torvane {

class MessageChannel {
public:
    virtual ~MessageChannel() = default;
    // Sends one message; false when it could not go out.
    virtual bool send(const QString& message) = 0;
    // While paused no more messages arrive; what the rival sends waits.
    virtual void pauseReading() = 0;
    virtual void resumeReading() = 0;
    // Runs `action` once everything that has arrived by now is delivered.
    virtual void afterWaiting(std::function<void()> action) = 0;
};

}  // namespace torvane
