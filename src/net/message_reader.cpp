#include "net/message_reader.h"

#include <utility>

namespace torvane {

std::vector<Message> MessageReader::read(QByteArrayView bytes) {
    const QString text = std::exchange(tail_, QString()) + decoder_.decode(bytes);
    QStringView rest = text;
    std::vector<Message> continued;
    if (open_ && !rest.isEmpty() && !rest.startsWith(u'|')) {
        // A name takes the whole read; a line runs to the first "|".
        const bool name = open_ == Command::Greeting || open_ == Command::NameReply;
        const qsizetype bar = name ? -1 : rest.indexOf(u'|');
        const QStringView more = bar < 0 ? rest : rest.first(bar);
        continued.push_back({*open_, more.toString(), false, true});
        rest = bar < 0 ? QStringView() : rest.sliced(bar);
    }
    if (rest.isEmpty()) return continued;
    CutRead cut = cutMessages(rest, true);
    tail_ = std::move(cut.tail);
    open_ = cut.openEnd ? std::optional(cut.messages.back().command) : std::nullopt;
    if (continued.empty()) return std::move(cut.messages);
    continued.insert(continued.end(), std::make_move_iterator(cut.messages.begin()),
                     std::make_move_iterator(cut.messages.end()));
    return continued;
}

std::vector<Message> MessageReader::flush() {
    decoder_.reset();
    open_.reset();
    return cutMessages(std::exchange(tail_, QString()), false).messages;
}

void MessageReader::reset() {
    decoder_.reset();
    tail_.clear();
    open_.reset();
}

}  // namespace torvane
