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

void RecordingPrompter::critical(QWidget*, const QString& title, const QString& text) {
    shown << "critical|" + title + "|" + text;
    if (whileOpen) whileOpen();
}

void RecordingPrompter::information(QWidget*, const QString& title, const QString& text, std::function<void()> closed) {
    shown << "information|" + title + "|" + text;
    if (whileOpen) whileOpen();
    closed();
}

void RecordingPrompter::question(QWidget*, const QString& title, const QString& text,
                                 std::function<void(bool)> answered) {
    shown << "question|" + title + "|" + text;
    answered(answer);
}

namespace {

GameOptions shortened(int startStepMs, int greetingTimeoutMs) {
    GameOptions options;
    options.startStepMs = startStepMs;
    options.greetingTimeoutMs = greetingTimeoutMs;
    options.announceSpacingMs = 0;
    return options;
}

}  // namespace

Player::Player(int startStepMs, int greetingTimeoutMs) : Player(shortened(startStepMs, greetingTimeoutMs)) {}

Player::Player(const GameOptions& options) {
    fonts::installSubstitutes();
    window = std::make_unique<GameWindow>(prompter, options);
}

Player::~Player() {
    if (window) window->close();
}

namespace {

// The dialog closed and the rival met with these settings.
void accept(Player& player, ConnectionSettings::Role role, const QString& nickName, quint16 port, const QString& host) {
    player.load();
    if (player.window->dialog()) player.window->dialog()->close();
    ConnectionSettings settings;
    settings.role = role;
    settings.nickName = nickName;
    settings.host = host;
    settings.port = port;
    player.window->play(settings);
}

}  // namespace

void Player::serve(const QString& nickName, quint16 port) {
    accept(*this, ConnectionSettings::Role::Server, nickName, port, QString());
}

void Player::join(const QString& nickName, quint16 port, const QString& host) {
    accept(*this, ConnectionSettings::Role::Client, nickName, port, host);
}

QStringList Player::lines() const {
    QStringList lines;
    for (int i = 0; i < form().messageList->count(); ++i) lines << form().messageList->item(i)->text();
    return lines;
}

// The newest line is selected once the window is back in its event loop.
bool Player::lastLineSelected() const {
    MessageList* list = form().messageList;
    QCoreApplication::sendPostedEvents(list);
    return list->count() > 0 && list->selectedItems() == QList<QListWidgetItem*>{list->item(list->count() - 1)};
}

void activate(Player& player) {
    QApplication::setActiveWindow(player.window.get());
    QCoreApplication::processEvents();
}

bool connectPair(Player& server, Player& client, const QString& serverName, const QString& clientName) {
    server.serve(serverName);
    client.join(clientName, server.port());
    return QTest::qWaitFor(
        [&] { return server.form().rivalName->text() == clientName && client.form().rivalName->text() == serverName; });
}

bool RawPeer::connectTo(Player& server) {
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] { received_ += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    if (!socket.waitForConnected()) return false;
    return QTest::qWaitFor([&] { return server.window->connection().isConnected(); });
}

void RawPeer::write(const QByteArray& bytes) {
    socket.write(bytes);
    socket.flush();
}

void RawPeer::close() { socket.disconnectFromHost(); }

QByteArray RawPeer::take() { return std::exchange(received_, {}); }

bool RawPeer::waitFor(qsizetype size, int ms) {
    return QTest::qWaitFor([&] { return received_.size() >= size; }, ms);
}

bool RawPeer::settle(const Player& server, int ms) {
    return QTest::qWaitFor([&] { return allRead(server) && !server.game().state().startRunning; }, ms);
}

// None in the kernel on either side, none in the window socket's buffer.
// Once this peer has closed there is no telling; the caller waits for what
// the close must bring.
bool RawPeer::allRead(const Player& server) const {
    if (socket.state() == QAbstractSocket::UnconnectedState) return true;
    int unsent = 0;
    if (socket.bytesToWrite() > 0 || ioctl(socket.socketDescriptor(), SIOCOUTQ, &unsent) != 0 || unsent > 0) {
        return false;
    }
    for (const QTcpSocket* end : server.window->connection().findChildren<QTcpSocket*>()) {
        if (end->peerPort() != socket.localPort()) continue;
        int unread = 0;
        return end->bytesAvailable() == 0 && ioctl(end->socketDescriptor(), FIONREAD, &unread) == 0 && unread == 0;
    }
    return false;
}

void dragStone(Player& player, int stone, PointIndex target, QPoint offset) {
    PictureBox* box = player.own(stone);
    const QPoint grab(17, 23);
    const geometry::PixelPos point = geometry::pointPos(target);
    const QPoint delta = QPoint(point.x, point.y) + offset - box->pos();
    QTest::mousePress(box, Qt::LeftButton, {}, grab);
    // Two steps, as a hand would move; the grabbed spot stays under the cursor.
    QTest::mouseMove(box, grab + delta / 2);
    QTest::mouseMove(box, grab + (delta - delta / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, grab);
}

int pointOf(const QWidget* stone) {
    const auto point = geometry::pointAt({stone->x(), stone->y()});
    return point ? *point : -1;
}

bool ownStonesEnabled(const Player& player) {
    for (int i = 0; i < kStoneCount; ++i) {
        if (!player.own(i)->isEnabled()) return false;
    }
    return true;
}

bool ownStonesDisabled(const Player& player) {
    for (int i = 0; i < kStoneCount; ++i) {
        if (player.own(i)->isEnabled()) return false;
    }
    return true;
}

bool isGreen(const QLabel* label) { return label->palette().color(QPalette::Window) == QColor(0, 255, 0); }

QImage imageOf(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_RGB32); }

QImage bitmapImage(const QString& name) { return QImage(bitmap::pathOf(name)).convertToFormat(QImage::Format_RGB32); }

quint16 unusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace torvane::testing
