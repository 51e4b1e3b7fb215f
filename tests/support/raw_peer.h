#pragma once
// A bare TCP peer for a game window under test: it writes exact bytes, one
// write per read on the other side, and collects exact bytes.

#include <QByteArray>
#include <QTcpSocket>

#include "support/player.h"

namespace torvane::testing {

class RawPeer {
public:
    // Connects to `server`, which must already listen, and waits until the
    // window has accepted.
    bool ConnectTo(Player& server);

    // Writes the bytes and lets the window handle them as one read.
    void Feed(const QByteArray& bytes, int settleMs = 100);

    // Everything received so far, taken.
    QByteArray Take();
    // Waits up to `ms` for at least `size` bytes.
    bool WaitFor(qsizetype size, int ms = 2000);
    // Every byte written has left this socket and been read by the window:
    // none in the kernel on either side, none in the window socket's buffer.
    bool AllRead(const Player& server) const;

    QTcpSocket socket;

private:
    QByteArray received_;
};

}  // namespace torvane::testing

namespace torvane::testing {

// A window serving as "sv", and a bare peer connected to it.
struct ServedWindow {
    // False when the peer could not connect.
    bool Open();

    Player player;
    RawPeer peer;
};

}  // namespace torvane::testing
