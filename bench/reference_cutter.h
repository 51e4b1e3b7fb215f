#pragma once
// The cutter as a first, naive version would write it: every message copies
// the rest of the read into a fresh string. Kept only to show what the real
// cutter saves.

#include "net/protocol.h"

#include <QString>
#include <algorithm>
#include <vector>

namespace torvane::bench {

inline std::vector<Message> referenceCut(const QString& read) {
    static const QString kTags[] = {"|Cnnct", "|SName", "|Speak", "|Reset", "|StrtG", "|SetSt", "|Finis"};
    std::vector<Message> messages;
    if (read.isEmpty()) {
        return messages;
    }
    if (!read.startsWith(u'|')) {
        messages.push_back({Command::Plain, read, false});
        return messages;
    }
    QString rest = read;
    while (true) {
        const QString command = rest.left(6);
        const QString argument = rest.size() > 7 ? rest.mid(7) : QString();
        const auto* tag = std::find(std::begin(kTags), std::end(kTags), command);
        if (tag == std::end(kTags)) {
            return messages;
        }
        const auto kind = static_cast<Command>(tag - std::begin(kTags) + 1);
        if (kind == Command::Greeting || kind == Command::NameReply) {
            messages.push_back({kind, argument, false});
            return messages;
        }
        if ((kind == Command::Chat || kind == Command::Move) && argument.isEmpty()) {
            messages.push_back({kind, QString(), true});
            return messages;
        }
        const int bar = argument.indexOf(u'|');
        QString text;
        if (kind == Command::Chat) {
            text = bar < 0 ? argument : argument.left(bar);
        } else if (kind == Command::Move) {
            text = argument.left(3);
        }
        messages.push_back({kind, text, false});
        if (bar < 0) {
            return messages;
        }
        rest = argument.mid(bar);
    }
}

}  // namespace torvane::bench
