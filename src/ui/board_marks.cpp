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
// The keyboard's cursor: a square round the stone's box, clear of the rings.
constexpr int kCursorMargin = 3;
constexpr double kCursorCorner = 6.0;
// The shadow a picked-up stone casts on its seat.
constexpr double kShadowRadius = geometry::kStoneRadius;
const QColor kEdge(40, 25, 10, 200);

QPointF centreOf(PointIndex p) { return QRectF(geometry::stoneRect(p)).center(); }

// A ring in `color` with a thin dark edge each side, readable on both
// stone colours and on the wood.
void drawRing(QPainter& painter, QPointF centre, double radius, const QColor& color) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kEdge, kRingWidth + 2 * kOutline));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(color, kRingWidth));
    painter.drawEllipse(centre, radius, radius);
}

// Round the stone's box, and round the stone as well where it is held up.
void drawCursor(QPainter& painter, PointIndex p, bool lifted) {
    QRect stone = geometry::stoneRect(p);
    if (lifted) stone |= stone.translated(geometry::kLiftedOffset);
    const QRectF box = QRectF(stone).adjusted(-kCursorMargin, -kCursorMargin, kCursorMargin, kCursorMargin);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, kRingWidth + 2 * kOutline));
    painter.drawRoundedRect(box, kCursorCorner, kCursorCorner);
    painter.setPen(QPen(BoardMarks::cursorColor(), kRingWidth));
    painter.drawRoundedRect(box, kCursorCorner, kCursorCorner);
}

void drawShadow(QPainter& painter, PointIndex p) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawEllipse(centreOf(p), kShadowRadius, kShadowRadius);
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
// White edged with black shows on the wood and on a green or a blue stone.
QColor BoardMarks::cursorColor() { return Qt::white; }

void BoardMarks::showMarkings(const Markings& markings) {
    if (markings == markings_) return;
    markings_ = markings;
    update();
}

void BoardMarks::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-pos());
    if (markings_.lifted) drawShadow(painter, *markings_.lifted);
    if (const auto& move = markings_.lastRivalMove) {
        drawRing(painter, centreOf(move->from), kFromRadius, moveColor());
        drawRing(painter, centreOf(move->to), kRingRadius, moveColor());
    }
    if (const auto& won = markings_.winningStones) {
        for (const PointIndex p : *won) drawRing(painter, centreOf(p), kRingRadius, winColor());
    }
    if (const auto& p = markings_.cursor) drawCursor(painter, *p, markings_.lifted == p);
}

}  // namespace torvane
