#include "net/game_browser.h"

#include <avahi-common/error.h>

#include <QtGlobal>

#include "net/dns_sd_values.h"

namespace torvane {

namespace {

// Reports come in bursts, a game's IPv4 and IPv6 ones together: the list
// changes once for each burst.
constexpr int kSettleMs = 100;

}  // namespace

GameBrowser::GameBrowser(QObject* parent) : QObject(parent) {
    showChanges_.setSingleShot(true);
    showChanges_.setInterval(kSettleMs);
    connect(&showChanges_, &QTimer::timeout, this, &GameBrowser::showChanges);
    connect(&session_, &AvahiSession::up, this, &GameBrowser::onUp);
    connect(&session_, &AvahiSession::down, this, &GameBrowser::onDown);
    session_.start();
}

// The session frees the browser and the resolvers with its client.
GameBrowser::~GameBrowser() = default;

void GameBrowser::onUp() {
    AvahiClient* client = session_.client();
    browser_ = avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, kGameServiceType, nullptr,
                                         AvahiLookupFlags{}, &GameBrowser::onBrowse, this);
    if (!browser_) qWarning("Avahi: cannot browse: %s", avahi_strerror(avahi_client_errno(client)));
}

void GameBrowser::onDown() {
    for (const auto& [sighting, resolution] : resolutions_) avahi_service_resolver_free(resolution.resolver);
    resolutions_.clear();
    if (browser_) avahi_service_browser_free(browser_);
    browser_ = nullptr;
    found_.clear();
    showChanges_.start();
}

void GameBrowser::onItemNew(const Sighting& sighting, const char* domain) {
    if (resolutions_.contains(sighting) || !found_.add(sighting)) return;
    Resolution& resolution = resolutions_[sighting];
    resolution.domain = domain;
    if (!startResolving(sighting, resolution)) forget(sighting);
}

// Each report is resolved over its own protocol, so that a game heard over
// both has both addresses to choose from.
bool GameBrowser::startResolving(const Sighting& sighting, Resolution& resolution) {
    const AvahiProtocol protocol = sighting.ipv6 ? AVAHI_PROTO_INET6 : AVAHI_PROTO_INET;
    resolution.resolver = avahi_service_resolver_new(
        session_.client(), sighting.interfaceIndex, protocol, sighting.serviceName.constData(), kGameServiceType,
        resolution.domain.constData(), protocol, AvahiLookupFlags{}, &GameBrowser::onResolve, this);
    resolution.answered = false;
    return resolution.resolver != nullptr;
}

void GameBrowser::forget(const Sighting& sighting) {
    const auto resolution = resolutions_.find(sighting);
    if (resolution != resolutions_.end()) {
        if (resolution->second.resolver) avahi_service_resolver_free(resolution->second.resolver);
        resolutions_.erase(resolution);
    }
    found_.remove(sighting);
    showChanges_.start();
}

void GameBrowser::onResolved(AvahiServiceResolver* resolver, AvahiResolverEvent event, const QHostAddress& address,
                             quint16 port) {
    const auto entry = std::find_if(resolutions_.begin(), resolutions_.end(),
                                    [resolver](const auto& item) { return item.second.resolver == resolver; });
    if (entry == resolutions_.end()) return;
    // A copy: forgetting the report erases the entry.
    const Sighting sighting = entry->first;
    Resolution& resolution = entry->second;
    if (event != AVAHI_RESOLVER_FOUND) {
        // Not resolved in time: the report counts no more, until announced
        // anew.
        forget(sighting);
    } else if (!resolution.answered) {
        resolution.answered = true;
        found_.resolve(sighting, address, port);
        showChanges_.start();
    } else {
        // The game changed under the same name. When it moved to another
        // host, Avahi reports the new port with the old host's address, so
        // the game is resolved afresh; it stays listed meanwhile.
        avahi_service_resolver_free(resolver);
        if (!startResolving(sighting, resolution)) forget(sighting);
    }
}

void GameBrowser::showChanges() {
    QList<FoundGame> games = found_.games();
    if (games == shown_) return;
    shown_ = std::move(games);
    emit gamesChanged();
}

void GameBrowser::onBrowse(AvahiServiceBrowser* browser, AvahiIfIndex interfaceIndex, AvahiProtocol protocol,
                           AvahiBrowserEvent event, const char* name, const char*, const char* domain,
                           AvahiLookupResultFlags, void* userdata) {
    auto* self = static_cast<GameBrowser*>(userdata);
    switch (event) {
    case AVAHI_BROWSER_NEW: self->onItemNew({name, interfaceIndex, protocol == AVAHI_PROTO_INET6}, domain); break;
    case AVAHI_BROWSER_REMOVE: self->forget({name, interfaceIndex, protocol == AVAHI_PROTO_INET6}); break;
    case AVAHI_BROWSER_FAILURE:
        // Only the daemon's own trouble gets here; browsing starts again
        // with the next connection to it.
        qWarning("Avahi: browsing failed: %s",
                 avahi_strerror(avahi_client_errno(avahi_service_browser_get_client(browser))));
        break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
    case AVAHI_BROWSER_CACHE_EXHAUSTED: break;
    }
}

void GameBrowser::onResolve(AvahiServiceResolver* resolver, AvahiIfIndex interfaceIndex, AvahiProtocol,
                            AvahiResolverEvent event, const char*, const char*, const char*, const char*,
                            const AvahiAddress* address, uint16_t port, AvahiStringList*, AvahiLookupResultFlags,
                            void* userdata) {
    const QHostAddress connectable = address ? connectAddress(*address, interfaceIndex) : QHostAddress();
    static_cast<GameBrowser*>(userdata)->onResolved(resolver, event, connectable, port);
}

}  // namespace torvane
