#pragma once
// A game window under test: a real main window with its own session, a
// message box stand-in that records what it would show, a bare TCP peer that
// writes exact bytes, and the mouse moves and looks a person would use.

#include <QImage>
#include <QPoint>
#include <QTcpSocket>
#include <functional>
#include <memory>

#include "rules/board.h"
#include "ui/board_view.h"
#include "ui/connection_dialog.h"
#include "ui/game_window.h"
#include "ui/message_list.h"
#include "ui/prompter.h"
#include "ui_connection_dialog.h"
#include "ui_game_window.h"

class QLabel;

namespace torvane::testing {

// The system lines as the user must see them, written out here on their own
// so that a changed text in the program fails the tests.
namespace line {
inline const QString kListening = QStringLiteral("☆☆☆　サーバできたよ～ん　☆☆☆");
inline const QString kConnecting = QStringLiteral("☆☆☆　サーバに接続中...　☆☆☆");
inline const QString kAccepted = QStringLiteral("☆☆☆　クライアントが接続したよ　☆☆☆");
inline const QString kConnected = QStringLiteral("☆☆☆　サーバに接続成功だ～～　☆☆☆");
inline const QString kDisconnected = QStringLiteral("☆☆☆　切断されました　☆☆☆");
inline const QString kFirst = QStringLiteral("☆☆☆　ゲーム開始　あなたは先攻です　☆☆☆");
inline const QString kSecond = QStringLiteral("☆☆☆　ゲーム開始　あなたは後攻です　☆☆☆");
inline const QString kWin = QStringLiteral("☆☆☆　あなたの勝ちです　☆☆☆");
inline const QString kLose = QStringLiteral("☆☆☆　あなたの負けです　☆☆☆");
inline const QString kDraw = QStringLiteral("☆☆☆　引き分け（同じ局面が３回）　☆☆☆");
}  // namespace line

// Records each box as "kind|title|text" and closes it at once, running
// `whileOpen` first as if the user acted while it was open; a question is
// answered `answer`.
class RecordingPrompter : public Prompter {
public:
    void critical(QWidget*, const QString& title, const QString& text) override;
    void information(QWidget*, const QString& title, const QString& text, std::function<void()> closed) override;
    void question(QWidget*, const QString& title, const QString& text, std::function<void(bool)> answered) override;

    QStringList shown;
    std::function<void()> whileOpen;
    bool answer = true;
};

// The start sequence's steps in tests last a fiftieth of the real ones; a
// bare peer that never greets is let go only by the tests that say so.
inline constexpr int kStartStepMs = conversation::kStartStepMs / 50;
inline constexpr int kPatientGreetingMs = 120000;

struct Player {
    explicit Player(int startStepMs = kStartStepMs, int greetingTimeoutMs = kPatientGreetingMs);
    explicit Player(const GameOptions& options);
    ~Player();

    // Start-up as the program does it; the dialog stays open.
    void load(std::optional<ConnectionSettings::Role> role = {}) { window->open(role); }
    // Start-up, then the dialog closed and the rival met as these settings say.
    void serve(const QString& nickName, quint16 port = 0);
    void join(const QString& nickName, quint16 port, const QString& host = QStringLiteral("127.0.0.1"));

    QStringList lines() const;
    QString lastLine() const { return lines().value(lines().size() - 1); }
    bool lastLineSelected() const;
    quint16 port() const { return window->connection().listenPort(); }

    // The window's parts.
    const Ui::GameWindow& form() const { return window->form(); }
    BoardView& board() const { return window->board(); }
    PictureBox* own(int stone) const { return board().ownStone(stone); }
    PictureBox* rival(int stone) const { return board().rivalStone(stone); }
    const Match& game() const { return window->currentMatch(); }

    RecordingPrompter prompter;
    std::unique_ptr<GameWindow> window;
};

// The player's window becomes the active one, as when focus comes back.
void activate(Player& player);

// Joins two players over loopback; false unless both show each other's name.
bool connectPair(Player& server, Player& client, const QString& serverName = QStringLiteral("sv"),
                 const QString& clientName = QStringLiteral("cl"));

// A bare peer: one write per read on the window's side, every byte kept.
class RawPeer {
public:
    // Connects to `server`, which must already listen, until it has accepted.
    bool connectTo(Player& server);
    void write(const QByteArray& bytes);
    // Ends the connection once every byte written has gone out.
    void close();
    // Everything received so far, taken.
    QByteArray take();
    bool waitFor(qsizetype size, int ms = 2000);
    // The window has read every byte written and its start has ended, so
    // whatever the bytes do has been done.
    bool settle(const Player& server, int ms = 20000);
    // None in the kernel on either side, none in the window socket's buffer.
    bool allRead(const Player& server) const;

    QTcpSocket socket;

private:
    QByteArray received_;
};

// Presses on the stone, drags it so that its corner ends `offset` pixels
// from `target`'s position, and releases it there.
void dragStone(Player& player, int stone, PointIndex target, QPoint offset = {});
// The point a stone stands on, or -1.
int pointOf(const QWidget* stone);
bool ownStonesEnabled(const Player& player);
bool ownStonesDisabled(const Player& player);
// The label carries the turn mark.
bool isGreen(const QLabel* label);

// A shown picture, or the bitmap file the program reads, comparable.
QImage imageOf(const QPixmap& pixmap);
QImage bitmapImage(const QString& name);
// A loopback port that was free a moment ago and has nothing listening.
quint16 unusedPort();

}  // namespace torvane::testing
