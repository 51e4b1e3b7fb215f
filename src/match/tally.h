#pragma once
// Counting wins and losses. The player may type into the tally boxes; the
// count goes on from the number such a text begins with.

#include <QStringView>
#include <QtGlobal>

namespace torvane {

struct Tally {
    quint64 wins = 0;
    quint64 losses = 0;
};

// The number `text` begins with; 0 when it begins with no digit, and the
// largest count when the number is larger still.
quint64 leadingNumber(QStringView text);

// One more, but never past the largest count.
quint64 countedUp(quint64 count);

}  // namespace torvane
