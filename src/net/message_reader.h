#pragma once
// One connection's incoming side: decodes the bytes of each read and cuts
// them into messages, keeping an unfinished tag or move at the end of a read
// to put in front of the next one.

#include <QByteArrayView>
#include <QString>
#include <vector>

#include "net/cp932_codec.h"
#include "net/protocol.h"

namespace torvane {

// How long a kept tail waits for the rest before it is handled as it stands.
inline constexpr int kTailWaitMs = 200;

class MessageReader {
public:
    // The messages of one read; an unfinished end is kept (see HasTail).
    std::vector<Message> Read(QByteArrayView bytes);
    // The kept tail, handled as it stands: its rest is not coming.
    std::vector<Message> Flush();
    bool HasTail() const { return !tail_.isEmpty(); }
    // A new connection starts clean.
    void Reset();

private:
    Cp932Decoder decoder_;
    QString tail_;
};

}  // namespace torvane
