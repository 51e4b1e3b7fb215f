#include "ui/stone_box.h"

#include <QPainter>

#include "ui/board_geometry.h"

namespace torvane {

namespace {

// The ball with its dark rim, which the picture draws half a pixel out.
constexpr double kRimOutside = 0.5;

}  // namespace

void StoneBox::setHeldUp(bool heldUp) {
    if (heldUp == heldUp_) return;
    heldUp_ = heldUp;
    update();
}

void StoneBox::paintEvent(QPaintEvent* event) {
    if (!heldUp_) {
        PictureBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(picture());
    const double radius = geometry::kStoneRadius + kRimOutside;
    painter.drawEllipse(geometry::kStoneCentre, radius, radius);
}

}  // namespace torvane
