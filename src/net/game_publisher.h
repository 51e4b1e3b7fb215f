#pragma once
// Announces a game waiting for its rival on the local network (DNS-SD over
// the system's Avahi daemon), so that the other player finds it in a list
// instead of typing an address. The announcement survives a daemon restart
// and is withdrawn at once when asked, or when the object goes.

#include <avahi-client/publish.h>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "net/avahi_session.h"

namespace torvane {

class GamePublisher : public QObject {
    Q_OBJECT
public:
    explicit GamePublisher(QObject* parent = nullptr);
    ~GamePublisher() override;

    // Announces the game listening on `port` under `nickname` (not empty;
    // cut to fit). On a clash with another game's name the daemon's next
    // free variant is taken. Replaces an earlier announcement.
    void publish(const QString& nickname, quint16 port);
    // Takes the announcement off the network at once; nothing before
    // Publish again.
    void withdraw();

signals:
    // The network holds the announcement under `name`, after any renaming;
    // sent from the event loop.
    void published(const QString& name);

private:
    void registerService();
    void addService();
    void dropGroup();
    static void onGroupState(AvahiEntryGroup* group, AvahiEntryGroupState state, void* userdata);

    AvahiSession session_;
    AvahiEntryGroup* group_ = nullptr;
    QByteArray name_;
    quint16 port_ = 0;
    bool wanted_ = false;
};

}  // namespace torvane
