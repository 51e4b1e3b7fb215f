#include "net/port_text.h"

#include <QString>
#include <algorithm>
#include <limits>

namespace torvane {

std::optional<quint16> parsePort(QStringView text) {
    const QStringView digits = text.trimmed();
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool ok = false;
    const uint port = digits.toUInt(&ok);
    if (!allDigits || !ok || port > std::numeric_limits<quint16>::max()) return std::nullopt;
    return static_cast<quint16>(port);
}

}  // namespace torvane
