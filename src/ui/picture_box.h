#pragma once
// A box that shows a bitmap at its natural size, anchored at the top-left of
// its inner area and clipped to it, and reports mouse presses, moves and
// releases, of any button, in its own pixel coordinates.

#include <QFrame>
#include <QPixmap>
#include <QPointF>

namespace torvane {

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

signals:
    void pressed(QPointF pos);
    void moved(QPointF pos);
    void released(QPointF pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace torvane
