#pragma once
// The games the browser has found, one entry per announced game, kept apart
// from Avahi so that the rules for what is listed are tested without a
// daemon. The daemon reports a game once per interface and IP protocol it
// was heard on and resolves each report on its own; the list shows a game
// once it has an address, an IPv4 one when there is one: an IPv6 address only
// when no IPv4 report is still being resolved.

#include <QHostAddress>
#include <QList>
#include <QMetaType>
#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace torvane {

// A game to connect to. Its name is the peer's text: show it as plain text,
// never as markup.
struct FoundGame {
    QString name;
    QHostAddress address;
    quint16 port = 0;
    QString interfaceName;

    bool operator==(const FoundGame&) const = default;
};

// One report of a game: its instance name as sent, and where it was heard.
struct Sighting {
    QByteArray serviceName;
    int interfaceIndex = 0;
    bool ipv6 = false;

    bool operator<(const Sighting& other) const {
        if (serviceName != other.serviceName) return serviceName < other.serviceName;
        return std::pair{interfaceIndex, ipv6} < std::pair{other.interfaceIndex, other.ipv6};
    }
};

class FoundGames {
public:
    // Games beyond this many are ignored while the list is full.
    static constexpr qsizetype kMaxGames = 50;

    // Notes a report; false when it is a new game and the list is full.
    bool add(const Sighting& sighting);
    // The report's game is at `address` and `port`; ignored for a report
    // not added.
    void resolve(const Sighting& sighting, const QHostAddress& address, quint16 port);
    // The report is withdrawn, or could not be resolved.
    void remove(const Sighting& sighting);
    void clear() { games_.clear(); }

    // The games with an address, in the order they were first reported.
    QList<FoundGame> games() const;

private:
    struct Endpoint {
        QHostAddress address;
        quint16 port = 0;
    };
    // Where a game was heard: interface index and IPv6, IPv4 first.
    using Heard = std::pair<int, bool>;
    struct Game {
        QByteArray serviceName;
        std::map<Heard, std::optional<Endpoint>> reports;
    };

    std::vector<Game>::iterator find(const QByteArray& serviceName);

    std::vector<Game> games_;
};

}  // namespace torvane

Q_DECLARE_METATYPE(torvane::FoundGame)
