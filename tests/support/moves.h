#pragma once
// Moving a player's stones the way a person does, with the mouse, and
// reading the board and the turn off the window.

#include <QPoint>

#include "rules/board.h"
#include "support/player.h"

class QLabel;

namespace torvane::testing {

// Presses on the stone, drags it so that its corner ends `offset` pixels
// from `target`'s position, and releases it there.
void DragStone(Player& player, int stone, PointIndex target, QPoint offset = {});

// The point a stone stands on, or -1.
int PointOf(const QWidget* stone);

bool OwnStonesEnabled(const Main& window);
bool OwnStonesDisabled(const Main& window);
// The label carries the turn mark.
bool IsGreen(const QLabel* label);

}  // namespace torvane::testing
