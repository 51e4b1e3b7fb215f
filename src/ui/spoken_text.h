#pragma once
// What a screen reader says of the game: the board's points and what stands
// on them, the rival's move, whose turn it is, and the window's lines
// without the stars that frame them on screen.

#include <QString>

#include "rules/board_model.h"
#include "ui/board_view.h"

namespace torvane::speech {

QString pointName(PointIndex point);
// 「左上　相手の石」: the point, then what stands there.
QString cellText(const BoardModel& board, PointIndex point);
// 「相手：左下から中央へ」
QString rivalMoveText(const PointMove& move);
// Empty between games.
QString turnText(Turn turn);
QString refusalText(Refusal why);
// A line of the message list as it is heard: 「☆☆☆　あなたの勝ちです　☆☆☆」
// is 「あなたの勝ちです」.
QString spokenLine(const QString& line);

}  // namespace torvane::speech
