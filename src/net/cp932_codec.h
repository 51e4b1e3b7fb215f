#pragma once
// Text on the wire is Windows code page 932 (Shift_JIS as Windows writes it),
// whatever the machine's locale.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace torvane {

// The bytes of `text` in code page 932. A character the code page cannot
// hold goes out as "?".
QByteArray encodeCp932(QStringView text);

// Turns the bytes of one connection back into text. A lead byte that ends one
// read is kept and joined with the first byte of the next, so a double-byte
// character split between two reads comes out whole.
class Cp932Decoder {
public:
    QString decode(QByteArrayView bytes);
    // Forget a kept lead byte (a new connection starts clean).
    void reset();
    bool hasPendingByte() const { return pendingLead_ >= 0; }

private:
    int pendingLead_ = -1;
};

}  // namespace torvane
