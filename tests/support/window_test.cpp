#include "support/window_test.h"

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <QApplication>
#include <QLabel>
#include <QTcpServer>
#include <QTest>
#include <algorithm>

#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/fonts.h"
#include "ui/picture_box.h"

namespace torvane::testing {

void RecordingPrompter::Critical(QWidget*, const QString& title, const QString& text) {
    shown << "critical|" + title + "|" + text;
    if (whileOpen) whileOpen();
}

void RecordingPrompter::Information(QWidget*, const QString& title, const QString& text, std::function<void()> closed) {
    shown << "information|" + title + "|" + text;
    if (whileOpen) whileOpen();
    closed();
}

namespace {

GameOptions Shortened(int startStepMs, int greetingTimeoutMs) {
    GameOptions options;
    options.startStepMs = startStepMs;
    options.greetingTimeoutMs = greetingTimeoutMs;
    return options;
}

}  // namespace

Player::Player(int startStepMs, int greetingTimeoutMs) : Player(Shortened(startStepMs, greetingTimeoutMs)) {}

Player::Player(const GameOptions& options) {
    fonts::InstallSubstitutes();
    window = std::make_unique<GameWindow>(prompter, options);
}

Player::~Player() {
    if (window) window->close();
}

namespace {

// The dialog closed and the rival met with these settings.
void Accept(Player& player, ConnectionSettings::Role role, const QString& nickName, quint16 port, const QString& host) {
    player.Load();
    if (player.window->Dialog()) player.window->Dialog()->close();
    ConnectionSettings settings;
    settings.role = role;
    settings.nickName = nickName;
    settings.host = host;
    settings.port = port;
    player.window->Play(settings);
}

}  // namespace

void Player::Serve(const QString& nickName, quint16 port) {
    Accept(*this, ConnectionSettings::Role::Server, nickName, port, QString());
}

void Player::Join(const QString& nickName, quint16 port, const QString& host) {
    Accept(*this, ConnectionSettings::Role::Client, nickName, port, host);
}

QStringList Player::Lines() const {
    QStringList lines;
    for (int i = 0; i < Form().messageList->count(); ++i) lines << Form().messageList->item(i)->text();
    return lines;
}

// The newest line is selected once the window is back in its event loop.
bool Player::LastLineSelected() const {
    MessageList* list = Form().messageList;
    QCoreApplication::sendPostedEvents(list);
    return list->count() > 0 && list->selectedItems() == QList<QListWidgetItem*>{list->item(list->count() - 1)};
}

void Activate(Player& player) {
    QApplication::setActiveWindow(player.window.get());
    QCoreApplication::processEvents();
}

bool ConnectPair(Player& server, Player& client, const QString& serverName, const QString& clientName) {
    server.Serve(serverName);
    client.Join(clientName, server.Port());
    return QTest::qWaitFor(
        [&] { return server.Form().rivalName->text() == clientName && client.Form().rivalName->text() == serverName; });
}

bool RawPeer::ConnectTo(Player& server) {
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] { received_ += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, server.Port());
    if (!socket.waitForConnected()) return false;
    return QTest::qWaitFor([&] { return server.window->Connection().IsConnected(); });
}

void RawPeer::Write(const QByteArray& bytes) {
    socket.write(bytes);
    socket.flush();
}

void RawPeer::Close() { socket.disconnectFromHost(); }

QByteArray RawPeer::Take() { return std::exchange(received_, {}); }

bool RawPeer::WaitFor(qsizetype size, int ms) {
    return QTest::qWaitFor([&] { return received_.size() >= size; }, ms);
}

bool RawPeer::Settle(const Player& server, int ms) {
    return QTest::qWaitFor([&] { return AllRead(server) && !server.Game().StartRunning(); }, ms);
}

// None in the kernel on either side, none in the window socket's buffer.
// Once this peer has closed there is no telling; the caller waits for what
// the close must bring.
bool RawPeer::AllRead(const Player& server) const {
    if (socket.state() == QAbstractSocket::UnconnectedState) return true;
    int unsent = 0;
    if (socket.bytesToWrite() > 0 || ioctl(socket.socketDescriptor(), SIOCOUTQ, &unsent) != 0 || unsent > 0) {
        return false;
    }
    for (const QTcpSocket* end : server.window->Connection().findChildren<QTcpSocket*>()) {
        if (end->peerPort() != socket.localPort()) continue;
        int unread = 0;
        return end->bytesAvailable() == 0 && ioctl(end->socketDescriptor(), FIONREAD, &unread) == 0 && unread == 0;
    }
    return false;
}

void DragStone(Player& player, int stone, PointIndex target, QPoint offset) {
    PictureBox* box = player.Own(stone);
    const QPoint grab(17, 23);
    const geometry::PixelPos point = geometry::PointPos(target);
    const QPoint delta = QPoint(point.x, point.y) + offset - box->pos();
    QTest::mousePress(box, Qt::LeftButton, {}, grab);
    // Two steps, as a hand would move; the grabbed spot stays under the cursor.
    QTest::mouseMove(box, grab + delta / 2);
    QTest::mouseMove(box, grab + (delta - delta / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, grab);
}

int PointOf(const QWidget* stone) {
    const auto point = geometry::PointAt({stone->x(), stone->y()});
    return point ? *point : -1;
}

bool OwnStonesEnabled(const Player& player) {
    for (int i = 0; i < kStoneCount; ++i) {
        if (!player.Own(i)->isEnabled()) return false;
    }
    return true;
}

bool OwnStonesDisabled(const Player& player) {
    for (int i = 0; i < kStoneCount; ++i) {
        if (player.Own(i)->isEnabled()) return false;
    }
    return true;
}

bool IsGreen(const QLabel* label) { return label->palette().color(QPalette::Window) == QColor(0, 255, 0); }

QImage ImageOf(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_RGB32); }

QImage BitmapImage(const QString& name) { return QImage(bitmap::PathOf(name)).convertToFormat(QImage::Format_RGB32); }

quint16 UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace torvane::testing
