#include "net/game_publisher.h"

#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>

#include <QtGlobal>

#include "net/dns_sd_values.h"

namespace torvane {

namespace {

// The TXT record: its own layout version, and the version of the game's
// messages, for a later game to tell what it is talking to.
constexpr char kTxtVersion[] = "txtvers=1";
constexpr char kProtocolVersion[] = "proto=1";
// Games of the same name on this machine are told apart by renaming; more
// than this many of them is a fault, not a crowd.
constexpr int kMaxLocalRenames = 20;

QByteArray alternative(const QByteArray& name) {
    char* alternative = avahi_alternative_service_name(name.constData());
    const QByteArray renamed(alternative);
    avahi_free(alternative);
    return renamed;
}

}  // namespace

GamePublisher::GamePublisher(QObject* parent) : QObject(parent) {
    connect(&session_, &AvahiSession::up, this, &GamePublisher::registerService);
    connect(&session_, &AvahiSession::down, this, &GamePublisher::dropGroup);
}

// The session frees the group with its client, and the daemon withdraws it.
GamePublisher::~GamePublisher() = default;

void GamePublisher::publish(const QString& nickname, quint16 port) {
    dropGroup();
    name_ = serviceName(nickname);
    port_ = port;
    wanted_ = true;
    session_.start();
    registerService();
}

void GamePublisher::withdraw() {
    wanted_ = false;
    dropGroup();
}

void GamePublisher::registerService() {
    AvahiClient* client = session_.client();
    if (!wanted_ || !client || group_) return;
    group_ = avahi_entry_group_new(client, &GamePublisher::onGroupState, this);
    if (!group_) {
        qWarning("Avahi: no entry group: %s", avahi_strerror(avahi_client_errno(client)));
        return;
    }
    addService();
}

// A game of the same name published from this machine clashes at once; one
// elsewhere on the network clashes later, through onGroupState.
void GamePublisher::addService() {
    int result = AVAHI_ERR_COLLISION;
    for (int renames = 0; result == AVAHI_ERR_COLLISION && renames <= kMaxLocalRenames; ++renames) {
        if (renames > 0) name_ = alternative(name_);
        result = avahi_entry_group_add_service(group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags{},
                                               name_.constData(), kGameServiceType, nullptr, nullptr, port_,
                                               kTxtVersion, kProtocolVersion, nullptr);
    }
    if (result == AVAHI_OK) result = avahi_entry_group_commit(group_);
    if (result != AVAHI_OK) qWarning("Avahi: cannot publish the game: %s", avahi_strerror(result));
}

void GamePublisher::dropGroup() {
    if (group_) avahi_entry_group_free(group_);
    group_ = nullptr;
}

void GamePublisher::onGroupState(AvahiEntryGroup* group, AvahiEntryGroupState state, void* userdata) {
    auto* self = static_cast<GamePublisher*>(userdata);
    switch (state) {
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
        // Told from the event loop, so that a slot may end the publisher.
        QMetaObject::invokeMethod(
            self, [self, name = QString::fromUtf8(self->name_)] { emit self->published(name); }, Qt::QueuedConnection);
        break;
    case AVAHI_ENTRY_GROUP_COLLISION:
        self->name_ = alternative(self->name_);
        avahi_entry_group_reset(group);
        self->addService();
        break;
    case AVAHI_ENTRY_GROUP_FAILURE:
        qWarning("Avahi: the game's announcement failed: %s",
                 avahi_strerror(avahi_client_errno(avahi_entry_group_get_client(group))));
        break;
    case AVAHI_ENTRY_GROUP_UNCOMMITED:
    case AVAHI_ENTRY_GROUP_REGISTERING: break;
    }
}

}  // namespace torvane
