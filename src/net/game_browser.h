#pragma once
// Finds the games waiting on the local network (DNS-SD over the system's
// Avahi daemon) and keeps their list up to date as they come, resolve and
// go. Without a daemon the list is simply empty; browsing resumes by itself
// when the daemon comes back.

#include <avahi-client/lookup.h>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <map>

#include "net/avahi_session.h"
#include "net/found_games.h"

namespace torvane {

class GameBrowser : public QObject {
    Q_OBJECT
public:
    // Starts browsing from the event loop.
    explicit GameBrowser(QObject* parent = nullptr);
    ~GameBrowser() override;

    // The games found, as of the last gamesChanged.
    const QList<FoundGame>& games() const { return shown_; }

signals:
    // games() changed; sent from the event loop, never from inside Avahi.
    void gamesChanged();

private:
    void onUp();
    void onDown();
    struct Resolution {
        QByteArray domain;
        AvahiServiceResolver* resolver = nullptr;
        bool answered = false;
    };

    void onItemNew(const Sighting& sighting, const char* domain);
    bool startResolving(const Sighting& sighting, Resolution& resolution);
    void forget(const Sighting& sighting);
    void onResolved(AvahiServiceResolver* resolver, AvahiResolverEvent event, const QHostAddress& address,
                    quint16 port);
    void showChanges();
    static void onBrowse(AvahiServiceBrowser* browser, AvahiIfIndex interfaceIndex, AvahiProtocol protocol,
                         AvahiBrowserEvent event, const char* name, const char* type, const char* domain,
                         AvahiLookupResultFlags flags, void* userdata);
    static void onResolve(AvahiServiceResolver* resolver, AvahiIfIndex interfaceIndex, AvahiProtocol protocol,
                          AvahiResolverEvent event, const char* name, const char* type, const char* domain,
                          const char* hostName, const AvahiAddress* address, uint16_t port, AvahiStringList* txt,
                          AvahiLookupResultFlags flags, void* userdata);

    AvahiSession session_;
    AvahiServiceBrowser* browser_ = nullptr;
    // Each report of a game while it stands, and its resolver.
    std::map<Sighting, Resolution> resolutions_;
    FoundGames found_;
    QList<FoundGame> shown_;
    QTimer showChanges_;
};

}  // namespace torvane
