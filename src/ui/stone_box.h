#pragma once
// A stone's picture: the stone on its patch of board, or, while it is held
// up over its point, the ball alone, so that the board shows round it.

#include "ui/picture_box.h"

namespace torvane {

class StoneBox : public PictureBox {
    Q_OBJECT
public:
    using PictureBox::PictureBox;

    void setHeldUp(bool heldUp);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool heldUp_ = false;
};

}  // namespace torvane
