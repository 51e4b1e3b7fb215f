// Any bytes, decoded and cut with and without keeping the tail, must give
// messages that obey the cutting rules, and handing back the tail must lose
// nothing.
#include "fuzz/require.h"
#include "net/cp932_codec.h"
#include "net/protocol.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using torvane::Command;
using torvane::cutMessages;
using torvane::Message;

bool argumentComesFromRead(Command command) {
    return command == Command::Plain || command == Command::Greeting || command == Command::NameReply ||
           command == Command::Chat || command == Command::Move;
}

void checkMessages(const QString& read, const std::vector<Message>& messages) {
    require(messages.size() <= std::size_t(read.count(u'|')) + 1, "more messages than bars");
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const Message& message = messages[i];
        require(message.command != Command::Plain || (i == 0 && !read.startsWith(u'|')),
                "plain line not at the start of a read");
        if (argumentComesFromRead(message.command)) {
            require(read.contains(message.argument), "argument not in the read");
        } else {
            require(message.argument.isEmpty(), "tag with an argument");
        }
        if (message.argumentMissing) {
            require(message.command == Command::Chat || message.command == Command::Move, "missing on wrong tag");
            require(message.argument.isEmpty(), "missing argument with text");
        }
        if (message.command == Command::Move) {
            require(message.argument.size() <= 3, "move longer than three");
            const torvane::MoveDigits digits = torvane::readMoveDigits(message.argument);
            for (const int digit : {digits.stone, digits.target, digits.source}) {
                require(digit >= 0 && digit <= 9, "move digit out of range");
            }
        }
    }
}

// Cutting with the tail kept and then flushing the tail must give what
// cutting everything at once gives.
void checkTail(const QString& read) {
    const torvane::CutRead whole = cutMessages(read, false);
    require(whole.tail.isEmpty(), "tail kept without keepTail");
    checkMessages(read, whole.messages);

    const torvane::CutRead kept = cutMessages(read, true);
    checkMessages(read, kept.messages);
    require(read.endsWith(kept.tail), "tail not the end of the read");
    require(kept.tail.size() < 10, "tail longer than a move");
    const torvane::CutRead flushed = cutMessages(kept.tail, false);
    require(flushed.tail.isEmpty(), "flushed tail kept again");
    std::vector<Message> joined = kept.messages;
    joined.insert(joined.end(), flushed.messages.begin(), flushed.messages.end());
    require(joined == whole.messages, "keeping the tail changed the messages");
}

// Any text without a bar goes out as a chat line and comes back whole.
void checkChatRoundTrip(QString text) {
    text.remove(u'|');
    const torvane::CutRead cut = cutMessages(torvane::chatMessage(text) + torvane::gameOverMessage(), true);
    const std::vector<Message> expected = {{Command::Chat, text, false}, {Command::GameOver, {}, false}};
    require(cut.messages == expected, "chat line did not come back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torvane::Cp932Decoder decoder;
    const QString read = decoder.decode(QByteArrayView(data, qsizetype(size)));
    checkTail(read);
    checkChatRoundTrip(read);
    return 0;
}
