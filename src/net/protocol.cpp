#include "net/protocol.h"

#include <QtGlobal>
#include <algorithm>

namespace torvane {
namespace {

constexpr QChar kBar = u'|';
constexpr QChar kSeparator = u' ';
constexpr qsizetype kTagLength = 6;      // "|" and a five-letter name
constexpr qsizetype kArgumentStart = 7;  // after the tag and its separator
constexpr qsizetype kReadEnds = -1;
constexpr qsizetype kMoveDigits = 3;

struct Tag {
    Command command;
    QStringView text;
};

constexpr std::array<Tag, 7> kTags{{
    {Command::Greeting, u"|Cnnct"},
    {Command::NameReply, u"|SName"},
    {Command::Chat, u"|Speak"},
    {Command::TallyReset, u"|Reset"},
    {Command::Start, u"|StrtG"},
    {Command::Move, u"|SetSt"},
    {Command::GameOver, u"|Finis"},
}};

QStringView tagOf(Command command) {
    const auto* tag =
        std::find_if(kTags.begin(), kTags.end(), [command](const Tag& t) { return t.command == command; });
    Q_ASSERT(tag != kTags.end());
    return tag->text;
}

// The command `rest` starts with, or Plain when it starts with none. Compared
// inline: this runs once per message and a library call per tag costs more
// than the rest of the cutting.
Command commandOf(QStringView rest) {
    if (rest.size() < kTagLength) {
        return Command::Plain;
    }
    const char16_t* head = rest.utf16();
    for (const Tag& tag : kTags) {
        if (std::equal(head, head + kTagLength, tag.text.utf16())) {
            return tag.command;
        }
    }
    return Command::Plain;
}

// How many argument characters a message needs before it can be handled:
// a move its three digits, a chat line or a server name its first character.
struct Needs {
    Command command;
    qsizetype characters;
};
constexpr std::array<Needs, 3> kArgumentNeeds{{
    {Command::Move, kMoveDigits},
    {Command::Chat, 1},
    {Command::NameReply, 1},
}};

// A read that stops inside a tag or before the argument it needs: the rest
// may still be coming.
bool isUnfinished(QStringView rest) {
    for (const Needs& needs : kArgumentNeeds) {
        if (rest.size() < kArgumentStart + needs.characters && rest.startsWith(tagOf(needs.command))) {
            return true;
        }
    }
    if (rest.size() > kTagLength) {
        return false;
    }
    return std::any_of(kTags.begin(), kTags.end(), [rest](const Tag& tag) { return tag.text.startsWith(rest); });
}

QString tagged(Command command, QStringView argument = {}) {
    const QStringView tag = tagOf(command);
    QString message;
    message.reserve(tag.size() + 1 + argument.size());
    message.append(tag).append(kSeparator).append(argument);
    return message;
}

// Handles the message at the start of `rest`. Returns where the next message
// starts within `rest`, or kReadEnds.
qsizetype takeMessage(QStringView rest, std::vector<Message>& messages) {
    const Command command = commandOf(rest);
    if (command == Command::Plain) {
        return kReadEnds;
    }
    const QStringView argument = rest.size() > kArgumentStart ? rest.sliced(kArgumentStart) : QStringView();
    if (command == Command::Greeting || command == Command::NameReply) {
        messages.push_back({command, argument.toString(), false});
        return kReadEnds;
    }
    const bool takesArgument = command == Command::Chat || command == Command::Move;
    if (takesArgument && argument.isEmpty()) {
        messages.push_back({command, QString(), true});
        return kReadEnds;
    }
    const qsizetype bar = argument.indexOf(kBar);
    Message message{command, QString(), false};
    if (command == Command::Chat) {
        message.argument = (bar < 0 ? argument : argument.first(bar)).toString();
    } else if (command == Command::Move) {
        message.argument = argument.first(std::min(argument.size(), kMoveDigits)).toString();
    }
    messages.push_back(std::move(message));
    return bar < 0 ? kReadEnds : kArgumentStart + bar;
}

}  // namespace

CutRead cutMessages(QStringView read, bool keepTail) {
    CutRead cut;
    if (read.isEmpty()) {
        return cut;
    }
    if (!read.startsWith(kBar)) {
        cut.messages.push_back({Command::Plain, read.toString(), false});
        cut.openEnd = true;
        return cut;
    }
    // Every message but the last takes at least a tag and a separator, and
    // each starts at a bar: room for that many saves regrowing in a flood.
    const qsizetype bars = std::count(read.utf16(), read.utf16() + read.size(), kBar.unicode());
    cut.messages.reserve(std::min(bars, read.size() / kArgumentStart + 1));
    QStringView rest = read;
    for (qsizetype next = 0; next != kReadEnds; next = takeMessage(rest, cut.messages)) {
        rest = rest.sliced(next);
        if (keepTail && isUnfinished(rest)) {
            cut.tail = rest.toString();
            return cut;
        }
    }
    // `rest` now starts with the read's last message, or with the unknown
    // tag that ended the read.
    if (cut.messages.empty()) {
        return cut;
    }
    const Message& last = cut.messages.back();
    const Command command = commandOf(rest);
    const bool names = command == Command::Greeting || command == Command::NameReply;
    const bool chat = command == Command::Chat && !last.argumentMissing && rest.indexOf(kBar, 1) < 0;
    cut.openEnd = command == last.command && (names || chat);
    return cut;
}

MoveDigits readMoveDigits(QStringView argument) {
    std::array<std::int16_t, kMoveDigits> values{};
    for (qsizetype i = 0; i < std::min(argument.size(), kMoveDigits); ++i) {
        const char16_t c = argument[i].unicode();
        if (c >= u'0' && c <= u'9') {
            values[i] = static_cast<std::int16_t>(c - u'0');
        }
    }
    return {values[0], values[1], values[2]};
}

QString chatLine(QStringView nickName, QStringView text) {
    QString line = nickName.toString();
    line.append(u">>").append(text);
    return line.replace(kBar, u'｜');
}

QString greetingMessage(QStringView nickName) { return tagged(Command::Greeting, nickName); }

QString nameReplyMessage(QStringView name) { return tagged(Command::NameReply, name); }

QString chatMessage(QStringView chatLine) { return tagged(Command::Chat, chatLine); }

QString tallyResetMessage() { return tagged(Command::TallyReset); }

QString startMessage() { return tagged(Command::Start); }

QString moveMessage(int stone, int target, int source) {
    Q_ASSERT(stone >= 0 && stone <= 9 && target >= 0 && target <= 9 && source >= 0 && source <= 9);
    const QChar digits[kMoveDigits] = {QChar(u'0' + stone), QChar(u'0' + target), QChar(u'0' + source)};
    return tagged(Command::Move, QStringView(digits, kMoveDigits));
}

QString gameOverMessage() { return tagged(Command::GameOver); }

}  // namespace torvane
