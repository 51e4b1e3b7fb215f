// The reader over a connection's life. The first byte picks one of two checks:
//
// Operations: the rest is a sequence of reads of any bytes, closes and
// resets. Every message but a read's first starts at a bar of the input,
// only a read's first can be plain or continued, a continuation follows only
// a read that ended with a plain line, a chat line or a name, a close hands
// back only messages that begin at a bar, and the output stays within a
// constant factor of the input.
//
// Splitting: the rest builds a stream of well-formed messages (chat lines
// without a bar, a name only last) and the places to cut it. Read in pieces,
// it must give the same messages as in one read once the continued pieces
// are joined to what they continue.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "fuzz/require.h"
#include "net/cp932_codec.h"
#include "net/message_reader.h"

namespace {

using torvane::Command;
using torvane::Message;
using torvane::MessageReader;
using Messages = std::vector<Message>;

constexpr std::uint8_t kBarByte = '|';

bool runsToTheEnd(Command command) {
    return command == Command::Plain || command == Command::Chat || command == Command::Greeting ||
           command == Command::NameReply;
}

class OperationCheck {
public:
    void read(const std::string& bytes) {
        bytesIn_ += qsizetype(bytes.size());
        bars_ += std::count(bytes.begin(), bytes.end(), char(kBarByte));
        const Messages messages = reader_.read(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const Message& message = messages[i];
            const bool atBar = message.command != Command::Plain && !message.continued;
            require(atBar || i == 0, "plain or continued message after a read's first");
            require(!message.continued || (open_ && message.command == *open_),
                    "continued what did not run to the end");
            count(message, atBar);
        }
        if (!messages.empty()) {
            const Message& last = messages.back();
            open_.reset();
            if (runsToTheEnd(last.command) && !last.argumentMissing) open_ = last.command;
        }
    }

    void flush() {
        for (const Message& message : reader_.flush()) {
            require(message.command != Command::Plain && !message.continued,
                    "a kept tail gave a plain or continued message");
            count(message, true);
        }
        require(reader_.flush().empty(), "a second close handed back more");
        open_.reset();
    }

    void reset() {
        reader_.reset();
        require(reader_.flush().empty(), "a reset kept something");
        open_.reset();
    }

private:
    void count(const Message& message, bool atBar) {
        if (atBar) {
            require(--bars_ >= 0, "more messages than bars");
        }
        // A move's three digits may run past a bar into the next message.
        charsOut_ += message.argument.size();
        require(charsOut_ <= bytesIn_ + 3 * ++messagesOut_, "more output than input");
    }

    MessageReader reader_;
    std::optional<Command> open_;
    qsizetype bars_ = 0;
    qsizetype bytesIn_ = 0;
    qsizetype charsOut_ = 0;
    qsizetype messagesOut_ = 0;
};

void checkOperations(FuzzedDataProvider& input) {
    OperationCheck check;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0: check.flush(); break;
        case 1: check.reset(); break;
        default: check.read(input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint8_t>())); break;
        }
    }
}

// Chat text in code page 932: printable ASCII but the bar, half-width
// katakana, kana and kanji, some of whose second bytes are the bar's ("ポ").
std::string chatText(FuzzedDataProvider& input) {
    static constexpr std::array<std::pair<char16_t, char16_t>, 4> kRanges{
        {{0x20, 0x7B}, {0xFF61, 0xFF9F}, {0x3041, 0x30F6}, {0x4E00, 0x4FFF}}};
    QString text;
    for (int units = input.ConsumeIntegralInRange(0, 24); units > 0; --units) {
        const auto& [low, high] = kRanges[input.ConsumeIntegralInRange<std::size_t>(0, kRanges.size() - 1)];
        text += QChar(input.ConsumeIntegralInRange(low, high));
    }
    // What code page 932 lacks goes out as "?".
    return torvane::encodeCp932(text).toStdString();
}

std::string wellFormedStream(FuzzedDataProvider& input) {
    std::string stream;
    for (int count = input.ConsumeIntegralInRange(1, 12); count > 0; --count) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0: stream += "|Speak " + chatText(input); break;
        case 1: stream += "|Reset "; break;
        case 2: stream += "|StrtG "; break;
        case 3: stream += "|Finis "; break;
        case 4:
            stream += "|SetSt ";
            for (int digit = 0; digit < 3; ++digit) stream += char('0' + input.ConsumeIntegralInRange(0, 9));
            break;
        default: return stream + (input.ConsumeBool() ? "|Cnnct " : "|SName ") + chatText(input);
        }
    }
    return stream;
}

// Continued pieces joined to the message they continue.
Messages joined(const Messages& messages) {
    Messages joined;
    for (const Message& message : messages) {
        if (message.continued && !joined.empty() && joined.back().command == message.command) {
            joined.back().argument += message.argument;
        } else {
            joined.push_back(message);
        }
    }
    return joined;
}

void append(Messages& to, Messages more) { to.insert(to.end(), more.begin(), more.end()); }

void checkSplitting(FuzzedDataProvider& input) {
    const std::string stream = wellFormedStream(input);
    MessageReader whole;
    Messages once = whole.read(QByteArrayView(stream.data(), qsizetype(stream.size())));
    append(once, whole.flush());

    MessageReader split;
    Messages pieces;
    for (std::size_t at = 0; at < stream.size();) {
        const std::size_t size = input.remaining_bytes() > 0 ? input.ConsumeIntegralInRange(1, 16) : stream.size();
        const std::size_t piece = std::min(size, stream.size() - at);
        append(pieces, split.read(QByteArrayView(stream.data() + at, qsizetype(piece))));
        at += piece;
    }
    append(pieces, split.flush());
    require(joined(pieces) == joined(once), "split reads differ from one read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        checkSplitting(input);
    } else {
        checkOperations(input);
    }
    return 0;
}
