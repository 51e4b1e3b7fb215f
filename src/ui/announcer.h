#pragma once
// Tells a screen reader what happened when no focus moves to show it: the
// rival's move, a game's start and end, the rival coming and going, a chat
// line. It is a notification that shows anew with each announcement, which
// screen readers read out wherever the focus is. It draws nothing and lies
// under the board.
//
// A screen reader asks for the text after it hears of the announcement, so
// announcements come at least spacingMs apart, lest a newer text replace
// one before it is read. What is said meanwhile is announced together, the
// newest few only: a flood of lines costs one announcement per spacing.

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace torvane {

class Announcer : public QWidget {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxTogether = 3;
    static constexpr int kSpacingMs = 500;

    explicit Announcer(int spacingMs, QWidget* parent = nullptr);

    void say(const QString& text);
    // What was announced last.
    const QString& announced() const { return announced_; }

private:
    void announce();

    const int spacingMs_;
    QTimer next_;
    QElapsedTimer sinceLast_;
    QStringList waiting_;
    QString announced_;
};

}  // namespace torvane
