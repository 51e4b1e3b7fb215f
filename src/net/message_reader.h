#pragma once
// One connection's incoming side: decodes the bytes of each read and cuts
// them into messages.
//
// Some things a read leaves wait for the next one, but only for a short
// window (kReadWindowMs) after it: an unfinished tag or move at its end, a
// code page 932 lead byte that ended it, and a plain line, chat line or name
// that ran to its end. A read within the window that does not begin with "|"
// continues that line up to its first "|", or that name whole: a long line
// arrives in several reads, and the message behind it is not lost. When the window
// closes with nothing more (Expire), the tail is handled as it stands, the
// lead byte is dropped and nothing continues: the next read starts clean.

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

#include "net/cp932_codec.h"
#include "net/protocol.h"

namespace torvane {

inline constexpr int kReadWindowMs = 200;

class MessageReader {
public:
    // The messages of one read arriving within the window of the last.
    std::vector<Message> Read(QByteArrayView bytes);
    // The window closed: what the kept tail holds, handled as it stands.
    std::vector<Message> Expire();
    // Something from the last read waits on the window.
    bool Waiting() const;
    // A new connection starts clean.
    void Reset();

private:
    Cp932Decoder decoder_;
    QString tail_;
    // The line or name the next read may continue.
    std::optional<Command> open_;
};

}  // namespace torvane
