#pragma once
// What the board tells at a glance, drawn over the stones: where the
// rival's last move came from and went, the three stones that won, the
// shadow of a stone picked up, and the keyboard's cursor. It takes no mouse
// events; the stones under it do.

#include <QWidget>
#include <array>
#include <optional>

#include "rules/board_model.h"

namespace torvane {

struct Markings {
    std::optional<PointMove> lastRivalMove;
    std::optional<std::array<PointIndex, kStoneCount>> winningStones;
    // The point a stone was picked up from, while it is held.
    std::optional<PointIndex> lifted;
    // Where the keyboard is, while the board has the keyboard's focus.
    std::optional<PointIndex> cursor;
    friend bool operator==(const Markings&, const Markings&) = default;
};

class BoardMarks : public QWidget {
    Q_OBJECT
public:
    explicit BoardMarks(QWidget* parent);

    void showMarkings(const Markings& markings);

    // The marks' colours, for tests that look for them on screen.
    static QColor moveColor();
    static QColor winColor();
    static QColor cursorColor();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Markings markings_;
};

}  // namespace torvane
