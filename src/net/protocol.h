#pragma once
// The messages the two programs exchange, and how a received read is cut
// into them.
//
// Wire grammar (characters, after decoding from code page 932):
//
//   stream   = { message }                      no terminator, no length
//   message  = "|" command sep argument
//   command  = "Cnnct"   greeting: the client's nickname, sent once connected
//            | "SName"   name reply: the server's nickname, the answer to it
//            | "Speak"   chat: nickname ">>" text
//            | "Reset"   tally reset
//            | "StrtG"   start: the sender moves first in a new game
//            | "SetSt"   move: stone target source, one decimal digit each,
//                        points in the sender's numbering
//            | "Finis"   game over: the sender's last move won
//   sep      = any one character                sent as " ", never examined
//   argument = the greeting's and the name reply's run to the end of the
//              read; reset, start and game over have none
//
// Cutting one read R:
//   1. R not starting with "|" is one plain line, whole; the read ends.
//   2. The command is R's first six characters; the argument A is everything
//      from the eighth character on (empty when R has seven or fewer).
//   3. An unknown command ends the read; the rest is dropped.
//   4. A greeting or name reply takes all of A; the read ends.
//   5. A chat or move with an empty A is an error; the read ends.
//   6. Otherwise the first "|" in A ends the message and starts the next one
//      (go to 2); a chat line is the text before it, and a move reads its
//      three digits from A's first three characters wherever the "|" is. A
//      digit that is not "0".."9", or is missing, reads as 0.
//
// A read that stops inside a tag ("|" plus fewer than six characters that
// begin a command name), inside a move ("|SetSt" plus fewer than four more
// characters) or before the first character of a chat line or a name reply
// ("|Speak" or "|SName" plus fewer than two more) is cut short there: that
// tail is handed back to be put in front of the next read instead of being
// handled as it stands.
//
// A plain line, a chat line or a name runs to the end of its read when
// nothing follows it; the next read may then continue it (see MessageReader).

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <vector>

namespace torvane {

enum class Command { Plain, Greeting, NameReply, Chat, TallyReset, Start, Move, GameOver };

// One message cut from a read.
//   Plain:                 argument is the whole line.
//   Greeting, NameReply:   argument is the name (possibly empty).
//   Chat:                  argument is the chat line up to the next "|".
//   Move:                  argument is A's first three characters (fewer if
//                          A is shorter).
//   TallyReset, Start, GameOver: argument is empty.
// argumentMissing is true for a chat or move whose argument A was empty,
// which the receiver reports as an error. continued marks a plain line, chat
// line or name whose argument is more of the previous read's line or name.
struct Message {
    Command command = Command::Plain;
    QString argument;
    bool argumentMissing = false;
    bool continued = false;

    friend bool operator==(const Message&, const Message&) = default;
};

struct CutRead {
    std::vector<Message> messages;
    QString tail;  // empty unless keepTail allowed an unfinished end to wait
    // The last message is a plain line, a chat line or a name that ran to
    // the read's end.
    bool openEnd = false;
};

// Cuts one read into messages in linear time. With keepTail, an unfinished
// tag or move at the end of the read is returned in `tail` instead of being
// handled; without it everything is handled as it stands.
CutRead cutMessages(QStringView read, bool keepTail);

// The three numbers of a move argument: stone, target, source.
struct MoveDigits {
    std::int16_t stone = 0;
    std::int16_t target = 0;
    std::int16_t source = 0;
    friend bool operator==(const MoveDigits&, const MoveDigits&) = default;
};
MoveDigits readMoveDigits(QStringView argument);

// A chat line as sent and shown: nickname ">>" text. A plain "|" would start
// a message on the rival's screen, so it travels as the fullwidth bar, one
// character in code page 932 too.
QString chatLine(QStringView nickName, QStringView text);

// The messages as sent.
QString greetingMessage(QStringView nickName);
QString nameReplyMessage(QStringView name);
QString chatMessage(QStringView chatLine);
QString tallyResetMessage();
QString startMessage();
QString moveMessage(int stone, int target, int source);
QString gameOverMessage();

}  // namespace torvane
