#include "support/moves.h"

#include <QLabel>
#include <QTest>
#include <algorithm>

#include "ui/board_geometry.h"
#include "ui/picture_box.h"

namespace torvane::testing {

void DragStone(Player& player, int stone, PointIndex target, QPoint offset) {
    PictureBox* box = player.window->Mystone[stone];
    const QPoint grab(17, 23);
    const geometry::PixelPos point = geometry::PointPos(target);
    const QPoint delta = QPoint(point.x, point.y) + offset - box->pos();
    QTest::mousePress(box, Qt::LeftButton, {}, grab);
    // Two steps, as a hand would move; the grabbed spot stays under the cursor.
    QTest::mouseMove(box, grab + delta / 2);
    QTest::mouseMove(box, grab + (delta - delta / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, grab);
}

int PointOf(const QWidget* stone) {
    const auto point = geometry::PointAt({stone->x(), stone->y()});
    return point ? *point : -1;
}

}  // namespace torvane::testing

namespace torvane::testing {

bool OwnStonesEnabled(const Main& window) {
    return std::all_of(window.Mystone.begin(), window.Mystone.end(), [](auto* s) { return s->isEnabled(); });
}

bool OwnStonesDisabled(const Main& window) {
    return std::none_of(window.Mystone.begin(), window.Mystone.end(), [](auto* s) { return s->isEnabled(); });
}

bool IsGreen(const QLabel* label) { return label->palette().color(QPalette::Window) == Main::TurnColor(); }

}  // namespace torvane::testing
