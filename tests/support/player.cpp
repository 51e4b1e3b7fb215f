#include "support/player.h"

#include <QLabel>
#include <QTest>

#include "ui/fonts.h"

namespace torvane::testing {

Player::Player(int startStepMs) {
    fonts::InstallSubstitutes();
    window = std::make_unique<Main>(session, prompter, startStepMs);
}

Player::~Player() {
    if (window) window->close();
}

void Player::Load() { window->Form_Load(); }

void Player::Accept(bool server, const QString& nickName, quint16 port, const QString& host) {
    Load();
    ConnectionSettings& settings = session.settings;
    settings.IsServer = server;
    settings.NickName = nickName;
    settings.PortText = QString::number(port);
    if (!server) settings.HostText = host;
    settings.ConnectAccepted = true;
    if (window->Dialog()) window->Dialog()->close();
    window->Form_Activate();
}

void Player::Serve(const QString& nickName, quint16 port) { Accept(true, nickName, port, QString()); }

void Player::Join(const QString& nickName, quint16 port, const QString& host) { Accept(false, nickName, port, host); }

QStringList Player::Lines() const {
    QStringList lines;
    for (int i = 0; i < window->RecieveList->count(); ++i) lines << window->RecieveList->item(i)->text();
    return lines;
}

QString Player::LastLine() const {
    const int count = window->RecieveList->count();
    return count == 0 ? QString() : window->RecieveList->item(count - 1)->text();
}

// The newest line is selected once the window is back in its event loop.
bool Player::LastLineSelected() const {
    const QListWidget* list = window->RecieveList;
    QCoreApplication::sendPostedEvents(window->RecieveList);
    return list->count() > 0 && list->selectedItems() == QList<QListWidgetItem*>{list->item(list->count() - 1)};
}

bool ConnectPair(Player& server, Player& client, const QString& serverName, const QString& clientName) {
    server.Serve(serverName);
    client.Join(clientName, server.Port());
    return QTest::qWaitFor(
        [&] { return server.window->Rival->text() == clientName && client.window->Rival->text() == serverName; });
}

}  // namespace torvane::testing
