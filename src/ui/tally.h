#pragma once
// Counting wins and losses in the tally boxes, which the user may edit.

#include <QString>

namespace torvane {

// One more than the number the text begins with, written out in full however
// long it is; 1 when the text begins with no digit. Counting on text instead
// of a machine integer means no count can overflow.
QString CountedUp(const QString& text);

}  // namespace torvane
