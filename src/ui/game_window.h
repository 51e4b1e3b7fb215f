#pragma once
// The game window: it shows the match (the board, whose turn it is, the
// tally, the banner, the lines of the message list) and forwards what the
// player does to it. The controls come from game_window.ui; the game's
// state lives in Match and the way to the rival in Lobby.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "match/connection_settings.h"
#include "match/lobby.h"
#include "match/match.h"
#include "ui/announcer.h"
#include "ui/board_view.h"

namespace Ui {
class GameWindow;
}

namespace torvane {

class ConnectionDialog;
class Prompter;

struct GameOptions {
    // The program asks the home router to forward a server's port; tests
    // only where a router of their own stands, and with their own timing.
    bool forwardPort = false;
    PortMapTiming routerTiming;
    // The program remembers the player in the user's settings; tests only
    // where they say so.
    bool remember = false;
    // Shortened in tests only.
    int startStepMs = conversation::kStartStepMs;
    int greetingTimeoutMs = MessageConnection::kGreetingTimeoutMs;
    int announceSpacingMs = Announcer::kSpacingMs;
};

class GameWindow : public QWidget {
    Q_OBJECT
public:
    explicit GameWindow(Prompter& prompter, const GameOptions& options = {}, QWidget* parent = nullptr);
    ~GameWindow() override;

    // Shows the window, centred on the screen, and opens the connection
    // dialog over it, with `role` chosen if given.
    void open(std::optional<ConnectionSettings::Role> role = {});
    // Meets the rival as `settings` say, as OK in the dialog does.
    void play(ConnectionSettings settings);

    const Ui::GameWindow& form() const { return *ui_; }
    BoardView& board() const;
    ConnectionDialog* dialog() const;
    const Match& currentMatch() const { return match_; }
    const MessageConnection& connection() const { return lobby_.connection(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectMatch();
    void connectLobby();
    void centreOnScreen();
    void showBoard();
    void showState();
    void onStartClicked();
    void addLines(const QList<MatchLine>& lines);
    void addLine(const QString& line, bool select);
    void askForAttention();
    void onDropped(int stone, std::optional<PointIndex> target);
    void onRefused(Refusal why);
    void onChatEntered();
    void onTallyEdited();
    void showOwnName(const QString& name);
    void addAddressLine();
    void openDialog(std::optional<ConnectionSettings::Role> role);
    void onConnectionEnded(const QString& line, bool select);
    void onRivalReached(const QString& line);

    std::unique_ptr<Ui::GameWindow> ui_;
    Prompter& prompter_;
    GameOptions options_;
    Match match_;
    Lobby lobby_;
    QPointer<ConnectionDialog> dialog_;
    Announcer* announcer_ = nullptr;
    // How the rival was met last.
    std::optional<ConnectionSettings> played_;
    bool againstComputer_ = false;
    // The tally boxes are being set from the match, not by the player.
    bool showingTally_ = false;
};

}  // namespace torvane
