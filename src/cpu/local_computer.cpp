#include "cpu/local_computer.h"

#include <QProcess>
#include <QRandomGenerator>

namespace torvane {

namespace {

PlayerConfig localConfig() {
    PlayerConfig config;
    config.isServer = true;
    // Each side begins in turn: the computer starts after a game the player started.
    config.starts = StartPolicy::Alternate;
    return config;
}

}  // namespace

LocalComputer::LocalComputer(QObject* parent)
    : QObject(parent),
      discarded_(QProcess::nullDevice()),
      sink_(&discarded_),
      policy_(solution_, QRandomGenerator::global()->generate()),
      player_(localConfig(), policy_),
      peer_(player_, sink_, sink_) {
    discarded_.open(QIODevice::WriteOnly);
    policy_.onLevelChanged([this](int level) { emit levelChanged(level); });
}

bool LocalComputer::start() { return peer_.listen(0, QHostAddress::LocalHost); }

}  // namespace torvane
