#pragma once
// One connection's incoming side: decodes the bytes of each read and cuts
// them into messages.
//
// TCP delivers every byte in order but says nothing of where a message ends,
// so whatever a read leaves unfinished waits for the next one, however late
// it comes: an unfinished tag or move at its end, and a code page 932 lead
// byte that ended it. A read that does not begin with "|" continues the last
// message when that one was a plain line, a chat line or a name that ran to
// its read's end (a line up to the first "|", a name whole); after any other
// message it is a plain line of its own. What still waits when the
// connection closes is handled as it stands (Flush).

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

#include "net/cp932_codec.h"
#include "net/protocol.h"

namespace torvane {

class MessageReader {
public:
    // The messages of the next read.
    std::vector<Message> read(QByteArrayView bytes);
    // The connection has closed: what the kept tail holds, handled as it
    // stands; a kept lead byte is dropped.
    std::vector<Message> flush();
    // A new connection starts clean.
    void reset();

private:
    Cp932Decoder decoder_;
    QString tail_;
    // The line or name the next read may continue.
    std::optional<Command> open_;
};

}  // namespace torvane
