#include "match/tally.h"

#include <limits>

namespace torvane {

namespace {

constexpr quint64 kLargest = std::numeric_limits<quint64>::max();

}  // namespace

quint64 leadingNumber(QStringView text) {
    quint64 number = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') break;
        const quint64 digit = c.unicode() - u'0';
        if (number > (kLargest - digit) / 10) return kLargest;
        number = number * 10 + digit;
    }
    return number;
}

quint64 countedUp(quint64 count) { return count == kLargest ? count : count + 1; }

}  // namespace torvane
