#include "net/message_reader.h"

#include <utility>

namespace torvane {

std::vector<Message> MessageReader::Read(QByteArrayView bytes) {
    const QString text = std::exchange(tail_, QString()) + decoder_.Decode(bytes);
    QStringView rest = text;
    std::vector<Message> continued;
    if (open_ != Command::Plain && !rest.isEmpty() && !rest.startsWith(u'|')) {
        // A name takes the whole read; a chat line runs to the first "|".
        const qsizetype bar = open_ == Command::Speak ? rest.indexOf(u'|') : -1;
        const QStringView more = bar < 0 ? rest : rest.first(bar);
        continued.push_back({open_, more.toString(), false, true});
        rest = bar < 0 ? QStringView() : rest.sliced(bar);
    }
    if (rest.isEmpty()) return continued;
    CutRead cut = CutMessages(rest, true);
    tail_ = std::move(cut.tail);
    open_ = cut.openEnd ? cut.messages.back().command : Command::Plain;
    if (continued.empty()) return std::move(cut.messages);
    continued.insert(continued.end(), std::make_move_iterator(cut.messages.begin()),
                     std::make_move_iterator(cut.messages.end()));
    return continued;
}

std::vector<Message> MessageReader::Expire() {
    decoder_.Reset();
    open_ = Command::Plain;
    return CutMessages(std::exchange(tail_, QString()), false).messages;
}

bool MessageReader::Waiting() const {
    return !tail_.isEmpty() || decoder_.HasPendingByte() || open_ != Command::Plain;
}

void MessageReader::Reset() {
    decoder_.Reset();
    tail_.clear();
    open_ = Command::Plain;
}

}  // namespace torvane
