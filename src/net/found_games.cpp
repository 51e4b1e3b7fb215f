#include "net/found_games.h"

#include <QNetworkInterface>
#include <algorithm>

#include "net/dns_sd_values.h"

namespace torvane {

std::vector<FoundGames::Game>::iterator FoundGames::find(const QByteArray& serviceName) {
    return std::find_if(games_.begin(), games_.end(),
                        [&serviceName](const Game& game) { return game.serviceName == serviceName; });
}

bool FoundGames::add(const Sighting& sighting) {
    auto game = find(sighting.serviceName);
    if (game == games_.end()) {
        if (std::ssize(games_) >= kMaxGames) return false;
        game = games_.insert(games_.end(), Game{sighting.serviceName, {}});
    }
    game->reports.try_emplace(Heard{sighting.interfaceIndex, sighting.ipv6});
    return true;
}

void FoundGames::resolve(const Sighting& sighting, const QHostAddress& address, quint16 port) {
    const auto game = find(sighting.serviceName);
    if (game == games_.end()) return;
    const auto report = game->reports.find(Heard{sighting.interfaceIndex, sighting.ipv6});
    if (report != game->reports.end()) report->second = Endpoint{address, port};
}

void FoundGames::remove(const Sighting& sighting) {
    const auto game = find(sighting.serviceName);
    if (game == games_.end()) return;
    game->reports.erase(Heard{sighting.interfaceIndex, sighting.ipv6});
    if (game->reports.empty()) games_.erase(game);
}

QList<FoundGame> FoundGames::games() const {
    QList<FoundGame> shown;
    for (const Game& game : games_) {
        // A resolved IPv4 report wins over IPv6 ones; among equals, the
        // lowest interface index.
        const auto resolved = [&game](bool ipv6) {
            return std::find_if(game.reports.begin(), game.reports.end(),
                                [ipv6](const auto& report) { return report.first.second == ipv6 && report.second; });
        };
        // While an IPv4 report is still being resolved, an IPv6 address
        // would only stand in for a moment.
        const bool ipv4Pending = std::any_of(game.reports.begin(), game.reports.end(),
                                             [](const auto& report) { return !report.first.second && !report.second; });
        auto best = resolved(false);
        if (best == game.reports.end() && !ipv4Pending) best = resolved(true);
        if (best == game.reports.end()) continue;
        shown.append(FoundGame{shownName(game.serviceName), best->second->address, best->second->port,
                               QNetworkInterface::interfaceNameFromIndex(best->first.first)});
    }
    return shown;
}

}  // namespace torvane
