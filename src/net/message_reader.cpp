#include "net/message_reader.h"

#include <utility>

namespace torvane {

std::vector<Message> MessageReader::Read(QByteArrayView bytes) {
    CutRead cut = CutMessages(std::exchange(tail_, QString()) + decoder_.Decode(bytes), true);
    tail_ = std::move(cut.tail);
    return std::move(cut.messages);
}

std::vector<Message> MessageReader::Flush() { return CutMessages(std::exchange(tail_, QString()), false).messages; }

void MessageReader::Reset() {
    decoder_.Reset();
    tail_.clear();
}

}  // namespace torvane
