#pragma once
// What the game and its router helper, torvane-portmap, say to each other:
// the request on the helper's command line, and the one line it answers on
// its standard output. Each side checks what it reads, so that neither a
// confused helper nor what a device told it can mislead the game.

#include <QByteArrayList>
#include <QStringList>
#include <chrono>
#include <optional>

#include "net/port_mapping.h"

namespace torvane {

struct PortMapRequest {
    enum class Kind { Open, Check, Remove };
    Kind kind = Kind::Open;
    quint16 port = 0;
    // Seconds the router is asked to keep the mapping.
    quint32 lease = 0;
    // How long the whole exchange may take.
    std::chrono::milliseconds budget{0};
    // For checking and removing, from the answer that opened the mapping:
    // the protocol's name and then its words.
    QByteArrayList hold{};
};

QStringList requestArguments(const PortMapRequest& request);
std::optional<PortMapRequest> parseRequest(const QStringList& arguments);

struct PortMapAnswer {
    MappingResult result;
    // With Mapped: the hold for the requests that follow.
    QByteArrayList hold{};
};

// The longest answer the game reads; a longer one is no answer.
inline constexpr qsizetype kLongestAnswer = 1024;

// One line, ended by a newline.
QByteArray answerLine(const PortMapAnswer& answer);
// The helper's whole output: exactly one such line, or nullopt.
std::optional<PortMapAnswer> parseAnswer(QByteArrayView output);

}  // namespace torvane
