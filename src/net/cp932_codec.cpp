#include "net/cp932_codec.h"

#include "net/cp932_tables.h"

namespace torvane {
namespace {

constexpr char kUnencodable = '?';
constexpr char16_t kAsciiEnd = 0x80;
constexpr std::uint16_t kSingleByteEnd = 0x100;

}  // namespace

QByteArray encodeCp932(QStringView text) {
    const cp932::Tables& tables = cp932::getTables();
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < kAsciiEnd) {
            *dst++ = static_cast<char>(unit);
            continue;
        }
        if (QChar::isSurrogate(unit)) {
            // One character beyond the code page, even when it takes two units.
            if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
            }
            *dst++ = kUnencodable;
            continue;
        }
        const std::uint16_t bytes = tables.encode[unit];
        if (bytes == 0) {
            *dst++ = kUnencodable;
        } else if (bytes < kSingleByteEnd) {
            *dst++ = static_cast<char>(bytes);
        } else {
            *dst++ = static_cast<char>(bytes >> 8);
            *dst++ = static_cast<char>(bytes & 0xFF);
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

QString Cp932Decoder::decode(QByteArrayView bytes) {
    const cp932::Tables& tables = cp932::getTables();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    // At most one character per byte, plus one for a kept lead byte that
    // turns out not to start a pair.
    QString out(size + 1, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    qsizetype i = 0;
    if (pendingLead_ >= 0 && size > 0) {
        const char16_t joined = tables.pair(static_cast<unsigned char>(pendingLead_), in[0]);
        *dst++ = joined != 0 ? joined : cp932::kReplacement;
        i = joined != 0 ? 1 : 0;
        pendingLead_ = -1;
    }
    while (i < size) {
        const unsigned char b = in[i];
        if (!tables.isLead[b]) {
            *dst++ = tables.single[b];
            ++i;
        } else if (i + 1 == size) {
            pendingLead_ = b;
            ++i;
        } else {
            // A lead byte that does not make a pair with the next byte stands
            // alone, so the next byte (a "|" perhaps) still counts.
            const char16_t character = tables.pair(b, in[i + 1]);
            *dst++ = character != 0 ? character : cp932::kReplacement;
            i += character != 0 ? 2 : 1;
        }
    }
    out.truncate(dst - reinterpret_cast<const char16_t*>(out.constData()));
    return out;
}

void Cp932Decoder::reset() { pendingLead_ = -1; }

}  // namespace torvane
