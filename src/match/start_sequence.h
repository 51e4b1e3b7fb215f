#pragma once
// The three seconds at the start of a game: the start banner blinks (shown,
// hidden, ... six steps, ending hidden), driven by a timer so that
// everything else goes on meanwhile. A start during the sequence begins it
// anew: the latest start stands, and the sequence ends three seconds after
// it.
//
// When the last step is due the sequence still runs until its owner calls
// Finish: what the rival sent before then belongs inside it, however late
// it is read.

#include <QObject>
#include <QTimer>

#include "net/conversation.h"

namespace torvane {

class StartSequence : public QObject {
    Q_OBJECT
public:
    // Who started the game: the local player, or the rival.
    enum class Kind { Own, Received };

    // `stepMs` is shortened in tests only.
    explicit StartSequence(int stepMs = conversation::kStartStepMs, QObject* parent = nullptr);

    void begin(Kind kind);
    // Ends a due sequence with Finished; does nothing otherwise.
    void finish();
    // Ends the sequence where it stands, without Finished.
    void stop();
    bool running() const { return timer_.isActive() || due_; }
    Kind current() const { return kind_; }
    bool bannerShown() const { return shown_; }

signals:
    // The banner was shown or hidden.
    void blinked();
    // The last step has come; call Finish.
    void due();
    void finished(torvane::StartSequence::Kind kind);

private:
    void step();

    QTimer timer_;
    Kind kind_ = Kind::Own;
    int step_ = 0;
    bool due_ = false;
    bool shown_ = false;
};

}  // namespace torvane
