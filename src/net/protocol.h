#pragma once
// The messages the two programs exchange, and how a received read is cut
// into them.
//
// Wire grammar (characters, after decoding from code page 932):
//
//   stream   = { message }                      no terminator, no length
//   message  = "|" command sep argument
//   command  = "Cnnct" | "SName" | "Speak" | "Reset" | "StrtG" | "SetSt" | "Finis"
//   sep      = any one character                sent as " ", never examined
//   argument = Cnnct, SName: the nickname, running to the end of the read
//              Speak:        nickname ">>" chat text
//              SetSt:        stone target source, one decimal digit each,
//                            points in the sender's numbering
//              Reset, StrtG, Finis: empty
//
// Cutting one read R:
//   1. R not starting with "|" is one plain line, whole; the read ends.
//   2. The command is R's first six characters; the argument A is everything
//      from the eighth character on (empty when R has seven or fewer).
//   3. An unknown command ends the read; the rest is dropped.
//   4. Cnnct and SName take all of A; the read ends.
//   5. Speak and SetSt with an empty A are errors; the read ends.
//   6. Otherwise the first "|" in A ends the message and starts the next one
//      (go to 2); Speak's line is the text before it, and SetSt reads its
//      three digits from A's first three characters wherever the "|" is. A
//      digit that is not "0".."9", or is missing, reads as 0.
//
// A read that stops inside a tag ("|" plus fewer than six characters that
// begin a command name), inside a move ("|SetSt" plus fewer than four more
// characters) or before the first character of a chat line or a server name
// ("|Speak" or "|SName" plus fewer than two more) may be cut short there: that
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

enum class Command { Plain, Cnnct, SName, Speak, Reset, StrtG, SetSt, Finis };

// One message cut from a read.
//   Plain:        argument is the whole line.
//   Cnnct, SName: argument is the name (possibly empty).
//   Speak:        argument is the chat line up to the next "|".
//   SetSt:        argument is A's first three characters (fewer if A is shorter).
//   Reset, StrtG, Finis: argument is empty.
// argumentMissing is true for Speak and SetSt whose argument A was empty,
// which the receiver reports as an error. continued marks a Plain, Speak,
// Cnnct or SName whose argument is more of the previous read's line or name.
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
CutRead CutMessages(QStringView read, bool keepTail);

// The three numbers of a move argument: stone, target, source.
struct MoveDigits {
    std::int16_t stone = 0;
    std::int16_t target = 0;
    std::int16_t source = 0;
    friend bool operator==(const MoveDigits&, const MoveDigits&) = default;
};
MoveDigits ReadMoveDigits(QStringView argument);

// A chat line as sent and shown: nickname ">>" text. A plain "|" would start
// a message on the rival's screen, so it travels as the fullwidth bar, one
// character in code page 932 too.
QString ChatLine(QStringView nickName, QStringView text);

// The messages as sent.
QString CnnctMessage(QStringView nickName);
QString SNameMessage(QStringView name);
QString SpeakMessage(QStringView chatLine);
QString ResetMessage();
QString StrtGMessage();
QString SetStMessage(int stone, int target, int source);
QString FinisMessage();

}  // namespace torvane
