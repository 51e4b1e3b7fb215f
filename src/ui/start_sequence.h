#pragma once
// The three seconds at the start of a game: the start banner blinks (shown,
// hidden, ... six steps of half a second, ending hidden), driven by a timer
// so the window keeps handling everything else meanwhile. A start during the
// sequence begins it anew: the latest start stands, and the sequence ends
// three seconds after it.
//
// When the last step is due the sequence still runs until its owner calls
// Finish: what the rival sent before then belongs inside it, however late
// it is read.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace torvane {

class StartSequence : public QObject {
    Q_OBJECT
public:
    // Who started the game: the local player, or the rival.
    enum class Kind { Own, Received };

    static constexpr int kSteps = 6;
    static constexpr int kStepMs = 500;

    // `stepMs` is shortened in tests only.
    StartSequence(QWidget* banner, int stepMs = kStepMs, QObject* parent = nullptr);

    void Begin(Kind kind);
    // Ends a due sequence with Finished; does nothing otherwise.
    void Finish();
    // Ends the sequence where it stands, without Finished (the window closes).
    void Stop();
    bool Running() const { return timer_.isActive() || due_; }
    Kind Current() const { return kind_; }

signals:
    // The last step has come; call Finish.
    void Due();
    void Finished(torvane::StartSequence::Kind kind);

private:
    void Step();

    QPointer<QWidget> banner_;
    QTimer timer_;
    Kind kind_ = Kind::Own;
    int step_ = 0;
    bool due_ = false;
};

}  // namespace torvane
