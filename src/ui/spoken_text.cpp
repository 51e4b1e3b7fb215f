#include "ui/spoken_text.h"

#include "ui/texts.h"

namespace torvane::speech {

QString pointName(PointIndex point) { return isPoint(point) ? text::kPointNames[point] : QString(); }

QString cellText(const BoardModel& board, PointIndex point) {
    QString what = text::kFreePoint;
    for (int i = 0; i < kStoneCount; ++i) {
        if (board.rivalStone(i) == point) what = text::kRivalStone;
        if (board.ownStone(i) == point)
            what = board.liftedStone() == i ? text::kOwnStone + text::kInHand : text::kOwnStone;
    }
    return text::kCell.arg(pointName(point), what);
}

QString rivalMoveText(const PointMove& move) { return text::kRivalMoved.arg(pointName(move.from), pointName(move.to)); }

QString turnText(Turn turn) {
    switch (turn) {
    case Turn::Own: return text::kYourTurn;
    case Turn::Rival: return text::kRivalsTurn;
    case Turn::None: break;
    }
    return {};
}

QString refusalText(Refusal why) {
    switch (why) {
    case Refusal::NoGame: return text::kNoGame;
    case Refusal::RivalsTurn: return text::kRivalsTurn;
    case Refusal::NotOwnStone: return text::kPickOwnStone;
    }
    return {};
}

QString spokenLine(const QString& line) {
    static const QString kFrame = QStringLiteral("☆　");
    qsizetype first = 0, end = line.size();
    while (first < end && kFrame.contains(line[first])) ++first;
    while (end > first && kFrame.contains(line[end - 1])) --end;
    return line.mid(first, end - first);
}

}  // namespace torvane::speech
