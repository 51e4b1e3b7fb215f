#pragma once
// The way to the rival for one game window: listening for it, with the home
// router asked to forward the port and the game announced on the local
// network until a rival comes; connecting to it; or starting the computer
// on this machine and connecting to that. It hands each open
// connection to the match, and tells the window what becomes of it.

#include <QObject>

#include "match/connection_settings.h"
#include "net/message_connection.h"
#include "net/port_mapping.h"

namespace torvane {

class GamePublisher;
class LocalComputer;
class Match;
class PortMapper;

class Lobby : public QObject {
    Q_OBJECT
public:
    // `greetingTimeoutMs` is shortened in tests only.
    explicit Lobby(Match& match, int greetingTimeoutMs = MessageConnection::kGreetingTimeoutMs,
                   QObject* parent = nullptr);
    ~Lobby() override;

    // Listens, connects or starts the computer and connects to it, as
    // `settings` say. False when listening or the computer failed at once;
    // a failure to listen is told by `failed` too.
    bool open(const ConnectionSettings& settings);
    // Ends it all for good: the connection, the router's mapping, the computer.
    void end();

    const MessageConnection& connection() const { return connection_; }

signals:
    // Server: a client has connected, and may yet prove to be no rival.
    void clientAccepted();
    // Server: that client went away before greeting; listening again.
    void listeningAgain();
    // Client: connected to the server.
    void connected();
    // The rival closed the connection or stopped answering.
    void closed();
    // Listening or connecting failed, or the connection broke.
    void failed(const torvane::SocketFailure& failure);
    // The home router's answer about forwarding the listening port, and
    // again once a lost forward is back.
    void routerAnswered(const torvane::MappingResult& result);
    // The router no longer forwards the port (it restarted, for one).
    void routerLost();
    // The computer on this machine plays at this level, from when it is
    // joined and after each change.
    void computerLevel(int level);

private:
    bool startComputer();
    void openRouterPort(const PortMapTiming& timing);

    Match& match_;
    MessageConnection connection_;
    QString ownName_;
    // Forwards the listening port on the router, for a server.
    PortMapper* portMapper_ = nullptr;
    // Announces the waiting game on the local network, for a server.
    GamePublisher* publisher_ = nullptr;
    // The computer played against, while it is.
    LocalComputer* computer_ = nullptr;
};

}  // namespace torvane
