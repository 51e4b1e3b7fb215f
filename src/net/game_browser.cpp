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
    connect(&showChanges_, &QTimer::timeout, this, &GameBrowser::ShowChanges);
    connect(&session_, &AvahiSession::Up, this, &GameBrowser::OnUp);
    connect(&session_, &AvahiSession::Down, this, &GameBrowser::OnDown);
    session_.Start();
}

// The session frees the browser and the resolvers with its client.
GameBrowser::~GameBrowser() = default;

void GameBrowser::OnUp() {
    AvahiClient* client = session_.Client();
    browser_ = avahi_service_browser_new(client, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, kGameServiceType, nullptr,
                                         AvahiLookupFlags{}, &GameBrowser::OnBrowse, this);
    if (!browser_) qWarning("Avahi: cannot browse: %s", avahi_strerror(avahi_client_errno(client)));
}

void GameBrowser::OnDown() {
    for (const auto& [sighting, resolution] : resolutions_) avahi_service_resolver_free(resolution.resolver);
    resolutions_.clear();
    if (browser_) avahi_service_browser_free(browser_);
    browser_ = nullptr;
    found_.Clear();
    showChanges_.start();
}

void GameBrowser::OnItemNew(const Sighting& sighting, const char* domain) {
    if (resolutions_.contains(sighting) || !found_.Add(sighting)) return;
    Resolution& resolution = resolutions_[sighting];
    resolution.domain = domain;
    if (!StartResolving(sighting, resolution)) Forget(sighting);
}

// Each report is resolved over its own protocol, so that a game heard over
// both has both addresses to choose from.
bool GameBrowser::StartResolving(const Sighting& sighting, Resolution& resolution) {
    const AvahiProtocol protocol = sighting.ipv6 ? AVAHI_PROTO_INET6 : AVAHI_PROTO_INET;
    resolution.resolver = avahi_service_resolver_new(
        session_.Client(), sighting.interfaceIndex, protocol, sighting.serviceName.constData(), kGameServiceType,
        resolution.domain.constData(), protocol, AvahiLookupFlags{}, &GameBrowser::OnResolve, this);
    resolution.answered = false;
    return resolution.resolver != nullptr;
}

void GameBrowser::Forget(const Sighting& sighting) {
    const auto resolution = resolutions_.find(sighting);
    if (resolution != resolutions_.end()) {
        if (resolution->second.resolver) avahi_service_resolver_free(resolution->second.resolver);
        resolutions_.erase(resolution);
    }
    found_.Remove(sighting);
    showChanges_.start();
}

void GameBrowser::OnResolved(AvahiServiceResolver* resolver, AvahiResolverEvent event, const QHostAddress& address,
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
        Forget(sighting);
    } else if (!resolution.answered) {
        resolution.answered = true;
        found_.Resolve(sighting, address, port);
        showChanges_.start();
    } else {
        // The game changed under the same name. When it moved to another
        // host, Avahi reports the new port with the old host's address, so
        // the game is resolved afresh; it stays listed meanwhile.
        avahi_service_resolver_free(resolver);
        if (!StartResolving(sighting, resolution)) Forget(sighting);
    }
}

void GameBrowser::ShowChanges() {
    QList<FoundGame> games = found_.Games();
    if (games == shown_) return;
    shown_ = std::move(games);
    emit GamesChanged();
}

void GameBrowser::OnBrowse(AvahiServiceBrowser* browser, AvahiIfIndex interfaceIndex, AvahiProtocol protocol,
                           AvahiBrowserEvent event, const char* name, const char*, const char* domain,
                           AvahiLookupResultFlags, void* userdata) {
    auto* self = static_cast<GameBrowser*>(userdata);
    switch (event) {
    case AVAHI_BROWSER_NEW: self->OnItemNew({name, interfaceIndex, protocol == AVAHI_PROTO_INET6}, domain); break;
    case AVAHI_BROWSER_REMOVE: self->Forget({name, interfaceIndex, protocol == AVAHI_PROTO_INET6}); break;
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

void GameBrowser::OnResolve(AvahiServiceResolver* resolver, AvahiIfIndex interfaceIndex, AvahiProtocol,
                            AvahiResolverEvent event, const char*, const char*, const char*, const char*,
                            const AvahiAddress* address, uint16_t port, AvahiStringList*, AvahiLookupResultFlags,
                            void* userdata) {
    const QHostAddress connectable = address ? ConnectAddress(*address, interfaceIndex) : QHostAddress();
    static_cast<GameBrowser*>(userdata)->OnResolved(resolver, event, connectable, port);
}

}  // namespace torvane
