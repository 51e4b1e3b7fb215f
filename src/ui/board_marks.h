#pragma once
// What the board tells at a glance, drawn over the stones: where the
// rival's last move came from and went, and the three stones that won.
// It takes no mouse events; the stones under it do.

#include <QWidget>
#include <array>
#include <optional>

#include "rules/board_model.h"

namespace torvane {

class BoardMarks : public QWidget {
    Q_OBJECT
public:
    explicit BoardMarks(QWidget* parent);

    void showMarks(const std::optional<PointMove>& lastRivalMove,
                   const std::optional<std::array<PointIndex, kStoneCount>>& winningStones);

    // The marks' colours, for tests that look for them on screen.
    static QColor moveColor();
    static QColor winColor();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<PointMove> lastRivalMove_;
    std::optional<std::array<PointIndex, kStoneCount>> winningStones_;
};

}  // namespace torvane
