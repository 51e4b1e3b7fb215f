#pragma once
// The computer as a rival inside the game program: it serves one connection
// on the loopback address only, on a port the system picks, and plays at a
// level that adapts to the player. It ends with its owner.

#include <QFile>
#include <QObject>
#include <QString>
#include <QTextStream>

#include "cpu/cpu_peer.h"
#include "cpu/cpu_player.h"
#include "cpu/policy.h"
#include "cpu/solution.h"

namespace torvane {

class LocalComputer : public QObject {
    Q_OBJECT
public:
    explicit LocalComputer(QObject* parent = nullptr);

    // False when no port could be had.
    bool start();
    quint16 port() const { return peer_.listenPort(); }
    const AdaptivePolicy& policy() const { return policy_; }

signals:
    // After each game the player won or lost, and after a tally reset.
    void levelChanged(int level);

private:
    // What the computer would print goes nowhere: the window shows the game.
    QFile discarded_;
    QTextStream sink_;
    Solution solution_;
    AdaptivePolicy policy_;
    CpuPlayer player_;
    CpuPeer peer_;
};

}  // namespace torvane
