#include "ui/board_marks.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/board_geometry.h"

namespace torvane {

namespace {

// Rings around a stone, in layout pixels from its centre: clear of its
// ball, within its seat's rim, so they show on a green or a blue stone.
constexpr double kRingRadius = 21.5;
constexpr double kRingWidth = 3.0;
constexpr double kOutline = 1.0;
// The point a move left: a small ring in its empty seat.
constexpr double kFromRadius = 8.0;

QPointF centreOf(PointIndex p) { return QRectF(geometry::stoneRect(p)).center(); }

// A ring in `color` with a thin dark edge each side, readable on both
// stone colours and on the wood.
void drawRing(QPainter& painter, QPointF centre, double radius, const QColor& color) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(40, 25, 10, 200), kRingWidth + 2 * kOutline));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(color, kRingWidth));
    painter.drawEllipse(centre, radius, radius);
}

}  // namespace

BoardMarks::BoardMarks(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(geometry::kBoardRect);
}

QColor BoardMarks::moveColor() { return QColor(255, 170, 0); }
QColor BoardMarks::winColor() { return QColor(255, 40, 40); }

void BoardMarks::showMarks(const std::optional<PointMove>& lastRivalMove,
                           const std::optional<std::array<PointIndex, kStoneCount>>& winningStones) {
    if (lastRivalMove == lastRivalMove_ && winningStones == winningStones_) return;
    lastRivalMove_ = lastRivalMove;
    winningStones_ = winningStones;
    update();
}

void BoardMarks::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-pos());
    if (lastRivalMove_) {
        drawRing(painter, centreOf(lastRivalMove_->from), kFromRadius, moveColor());
        drawRing(painter, centreOf(lastRivalMove_->to), kRingRadius, moveColor());
    }
    if (!winningStones_) return;
    for (const PointIndex p : *winningStones_) drawRing(painter, centreOf(p), kRingRadius, winColor());
}

}  // namespace torvane
