#include "ui/tally.h"

namespace torvane {

QString CountedUp(const QString& text) {
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') ++digits;
    qsizetype first = 0;
    while (first + 1 < digits && text[first] == u'0') ++first;
    QString number = text.sliced(first, digits - first);
    qsizetype i = number.size() - 1;
    for (; i >= 0 && number[i] == u'9'; --i) number[i] = u'0';
    if (i >= 0) {
        number[i] = QChar(number[i].unicode() + 1);
    } else {
        number.prepend(u'1');
    }
    return number;
}

}  // namespace torvane
