#include "ui/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace torvane {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.drawPixmap(inner.topLeft(), picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) { emit pressed(event->position()); }

void PictureBox::mouseMoveEvent(QMouseEvent* event) { emit moved(event->position()); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event) { emit released(event->position()); }

}  // namespace torvane
