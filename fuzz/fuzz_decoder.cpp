// Bytes decoded in two reads, split where the first byte says, must decode
// as they do in one; and decoded text must encode and decode back unchanged
// but for undecodable bytes, which go out as "?".
#include "fuzz/require.h"
#include "net/cp932_codec.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    const qsizetype at = data[0] % (bytes.size() + 1);

    torvane::Cp932Decoder once;
    const QString whole = once.decode(bytes);
    torvane::Cp932Decoder twice;
    QString split = twice.decode(bytes.first(at));
    split += twice.decode(bytes.sliced(at));
    require(split == whole, "split decode differs");
    require(once.hasPendingByte() == twice.hasPendingByte(), "kept lead byte differs");

    QString expected = whole;
    expected.replace(QChar(0xFFFD), u'?');
    require(torvane::Cp932Decoder().decode(torvane::encodeCp932(whole)) == expected, "round trip changed the text");
    return 0;
}
