#include "support/moves.h"

#include <QTest>

#include "ui/picture_box.h"

namespace torvane::testing {

void DragStone(Player& player, int stone, PointIndex target, QPoint offset) {
    PictureBox* box = player.window->Mystone[stone];
    const QPoint grab(17, 23);
    const PixelPos point = PointPos(target);
    const QPoint delta = QPoint(point.x, point.y) + offset - box->pos();
    QTest::mousePress(box, Qt::LeftButton, {}, grab);
    // Two steps, as a hand would move; the grabbed spot stays under the cursor.
    QTest::mouseMove(box, grab + delta / 2);
    QTest::mouseMove(box, grab + (delta - delta / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, grab);
}

int PointOf(const QWidget* stone) {
    const auto point = PointAt({stone->x(), stone->y()});
    return point ? *point : -1;
}

}  // namespace torvane::testing
