#include "ui/game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QNetworkInterface>
#include <QScopedValueRollback>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

#include "ui/accessibility.h"
#include "ui/board_geometry.h"
#include "ui/board_view.h"
#include "ui/connection_dialog.h"
#include "ui/fonts.h"
#include "ui/prompter.h"
#include "ui/remembered_player.h"
#include "ui/resources.h"
#include "ui/spoken_text.h"
#include "ui/system_lines.h"
#include "ui/texts.h"
#include "ui_game_window.h"

namespace torvane {

namespace {

// The marked name: the player to move.
const QColor kTurnColor(0, 255, 0);
// Designer keeps whole point sizes only.
constexpr double kTallyPointSize = 14.25;

void setBackground(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

// A tally box shows the count unless it already begins with it, as the
// player may have typed after the number.
void showCount(QLineEdit* box, quint64 count) {
    if (leadingNumber(box->text()) != count || box->text().isEmpty()) box->setText(QString::number(count));
}

// This computer's addresses another player can reach, loopback left out,
// each with the port unless it is the usual one.
QStringList reachableAddresses(quint16 port) {
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.isLinkLocal()) continue;
        QHostAddress plain = address;
        plain.setScopeId(QString());
        const bool v6 = plain.protocol() == QAbstractSocket::IPv6Protocol;
        QString shown = plain.toString();
        if (port != kDefaultPort) shown = (v6 ? '[' + shown + ']' : shown) + ':' + QString::number(port);
        addresses << shown;
    }
    return addresses;
}

}  // namespace

GameWindow::GameWindow(Prompter& prompter, const GameOptions& options, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::GameWindow>()),
      prompter_(prompter),
      options_(options),
      match_(options.startStepMs, this),
      lobby_(match_, options.greetingTimeoutMs, this) {
    installAccessibility();
    ui_->setupUi(this);
    // Under the board, where it is never seen.
    announcer_ = new Announcer(options.announceSpacingMs, this);
    announcer_->move(geometry::kBoardRect.topLeft());
    announcer_->lower();
    board().setModel(match_.board());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(appIcon());
    for (QLineEdit* tally : {ui_->winCount, ui_->lossCount}) tally->setFont(fonts::pop(kTallyPointSize));

    connectMatch();
    connectLobby();
    showBoard();
    showState();
}

void GameWindow::connectMatch() {
    connect(&match_, &Match::boardChanged, this, &GameWindow::showBoard);
    connect(&match_, &Match::stateChanged, this, &GameWindow::showState);
    connect(&match_, &Match::linesAdded, this, &GameWindow::addLines);
    connect(&match_, &Match::rivalNamed, ui_->rivalName, &NameLabel::setText);
    connect(&match_, &Match::attentionWanted, this, &GameWindow::askForAttention);
    connect(&board(), &BoardView::lifted, &match_, &Match::lift);
    connect(&board(), &BoardView::putBack, &match_, &Match::putBack);
    connect(&board(), &BoardView::dropped, this, &GameWindow::onDropped);
    connect(&board(), &BoardView::refused, this, &GameWindow::onRefused);
    connect(&board(), &BoardView::spoken, announcer_, &Announcer::say);
    connect(ui_->startButton, &QPushButton::clicked, this, &GameWindow::onStartClicked);
    connect(ui_->resetButton, &QPushButton::clicked, &match_, &Match::resetTally);
    connect(ui_->chatLine, &QLineEdit::returnPressed, this, &GameWindow::onChatEntered);
    connect(ui_->newMatchButton, &QPushButton::clicked, this, [this] { openDialog({}); });
    for (QLineEdit* tally : {ui_->winCount, ui_->lossCount}) {
        connect(tally, &QLineEdit::textChanged, this, &GameWindow::onTallyEdited);
    }
}

void GameWindow::connectLobby() {
    connect(&lobby_, &Lobby::clientAccepted, this, [this] { onRivalReached(text::kAccepted); });
    connect(&lobby_, &Lobby::listeningAgain, this, [this] { addLine(text::kListening, false); });
    connect(&lobby_, &Lobby::connected, this,
            [this] { onRivalReached(againstComputer_ ? text::kPlayingComputer : text::kConnected); });
    connect(&lobby_, &Lobby::closed, this, [this] { onConnectionEnded(text::kDisconnected, true); });
    connect(&lobby_, &Lobby::failed, this,
            [this](const SocketFailure& failure) { onConnectionEnded(text::failureLine(failure), false); });
    connect(&lobby_, &Lobby::routerAnswered, this,
            [this](const MappingResult& result) { addLine(text::routerLine(result), false); });
    connect(&lobby_, &Lobby::routerLost, this, [this] { addLine(text::kRouterPortLost, false); });
    connect(&lobby_, &Lobby::computerLevel, this,
            [this](int level) { addLine(text::kComputerLevel.arg(QChar(u'０' + level)), false); });
}

GameWindow::~GameWindow() = default;

BoardView& GameWindow::board() const { return *ui_->board; }

ConnectionDialog* GameWindow::dialog() const { return dialog_; }

void GameWindow::open(std::optional<ConnectionSettings::Role> role) {
    centreOnScreen();
    show();
    openDialog(role);
}

// With what the player chose last, in this run or, for the program, before.
void GameWindow::openDialog(std::optional<ConnectionSettings::Role> role) {
    RememberedPlayer remembered = options_.remember ? RememberedPlayer::load() : RememberedPlayer{};
    if (played_) {
        remembered.nickName = played_->nickName;
        remembered.role = played_->role;
        remembered.port = played_->port;
        if (!played_->host.isEmpty() && !remembered.hosts.contains(played_->host))
            remembered.hosts.prepend(played_->host);
    }
    if (role) remembered.role = role;
    dialog_ = new ConnectionDialog(prompter_, remembered, this);
    connect(dialog_, &ConnectionDialog::accepted, this, [this](const ConnectionSettings& settings) {
        activateWindow();
        play(settings);
    });
    connect(dialog_, &ConnectionDialog::cancelled, this, &QWidget::close);
    dialog_->show();
}

// A connection after an earlier one replaces it: never two at once.
void GameWindow::play(ConnectionSettings settings) {
    lobby_.end();
    ui_->newMatchButton->hide();
    played_ = settings;
    settings.forwardPort = options_.forwardPort;
    settings.routerTiming = options_.routerTiming;
    showOwnName(settings.nickName);
    // On both screens the server's stones are green and the client's blue.
    board().showColours(settings.role == ConnectionSettings::Role::Server);
    // A failure to listen is told by the lobby, and nothing else is said.
    if (settings.role == ConnectionSettings::Role::Server) {
        if (!lobby_.open(settings)) return;
        addLine(text::kListening, false);
        addAddressLine();
        return;
    }
    if (!lobby_.open(settings)) {
        onConnectionEnded(text::kComputerFailed, true);
        return;
    }
    // Against the computer the line comes once it is joined.
    againstComputer_ = settings.role == ConnectionSettings::Role::Computer;
    if (!againstComputer_) addLine(text::kConnecting, false);
}

void GameWindow::showBoard() {
    board().showBoard();
    board().showMarks(match_.board().lastRivalMove(), match_.state().winningStones);
}

// Starting anew during a game gives that game up: the player is asked first.
void GameWindow::onStartClicked() {
    if (!match_.state().gameRunning) {
        match_.start();
        return;
    }
    const QPointer<GameWindow> self(this);
    prompter_.question(this, text::kNewGameTitle, text::kAbandonGame, [self](bool yes) {
        if (self && yes) self->match_.start();
    });
}

void GameWindow::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

// The name of the player to move is marked, and the own stones can be
// taken exactly while that is this player.
void GameWindow::showState() {
    const Turn turn = match_.board().getTurn();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    setBackground(ui_->ownName, turn == Turn::Own ? kTurnColor : buttonFace);
    setBackground(ui_->rivalName, turn == Turn::Rival ? kTurnColor : buttonFace);
    // The turn said in words; between games, which name is whose.
    const QString turnText = speech::turnText(turn);
    for (const auto& [label, whose] :
         {std::pair{ui_->ownName, text::kOwnNameLabel}, {ui_->rivalName, text::kRivalNameLabel}}) {
        const QString description = turnText.isEmpty() ? whose : turnText;
        if (label->accessibleDescription() != description) label->setAccessibleDescription(description);
    }
    board().showTurn();
    const MatchState state = match_.state();
    board().showBanner(state.banner, state.bannerShown);
    const QScopedValueRollback showing(showingTally_, true);
    showCount(ui_->winCount, state.tally.wins);
    showCount(ui_->lossCount, state.tally.losses);
}

// Lines the list would drop at once are not added at all. What comes from
// the rival is heard as well as seen, and its move only heard.
void GameWindow::addLines(const QList<MatchLine>& lines) {
    using Kind = MatchLine::Kind;
    qsizetype added = 0;
    auto first = lines.end();
    while (first != lines.begin() && added < MessageList::kMaxLines) {
        --first;
        added += first->kind != Kind::RivalTextGoesOn && first->kind != Kind::RivalMove;
    }
    for (auto line = first; line != lines.end(); ++line) {
        switch (line->kind) {
        case Kind::Notice: addLine(text::noticeLine(line->notice), true); break;
        case Kind::OwnChat: ui_->messageList->addLine(line->text, true); break;
        case Kind::RivalText: ui_->messageList->addLine(line->text, true, true); break;
        case Kind::RivalTextGoesOn: ui_->messageList->growLine(line->text); break;
        case Kind::RivalMove: announcer_->say(speech::rivalMoveText(line->move)); break;
        }
        if (line->kind == Kind::RivalText || line->kind == Kind::RivalTextGoesOn) announcer_->say(line->text);
    }
}

// A line of the program's own is heard as well as seen.
void GameWindow::addLine(const QString& line, bool select) {
    ui_->messageList->addLine(line, select);
    announcer_->say(speech::spokenLine(line));
}

void GameWindow::askForAttention() {
    if (!isActiveWindow()) QApplication::alert(this);
}

// A drop near a point the stone may take is the move; any other shows the
// rule, with the stone left where it was dropped until the box is closed.
void GameWindow::onDropped(int stone, std::optional<PointIndex> target) {
    // Let go where it was taken, the stone has not moved: no rule is broken.
    if (target == match_.board().pickedPoint()) {
        match_.putBack();
        return;
    }
    if (target && match_.board().canPlace(*target)) {
        // Heard before the end of the game the move may bring.
        BoardModel after = match_.board();
        after.place(*target);
        announcer_->say(speech::cellText(after, *target));
        match_.place(*target);
        return;
    }
    const QPointer<GameWindow> self(this);
    prompter_.information(this, text::kRuleTitle, text::kCannotPlace, [self, stone] {
        // A new game may have put it back meanwhile.
        if (self && self->match_.board().liftedStone() == stone) self->match_.putBack();
    });
}

// Said where the keyboard's cursor is, and to a screen reader.
void GameWindow::onRefused(Refusal why) {
    const QString reason = speech::refusalText(why);
    const QRect point = geometry::stoneRect(board().cursor());
    QToolTip::showText(mapToGlobal(point.center()), reason, this, point);
    announcer_->say(reason);
}

// Without a connection the typed line is kept, to be sent once a rival is there.
void GameWindow::onChatEntered() {
    if (match_.chat(ui_->chatLine->text())) ui_->chatLine->clear();
}

// Typed into a box, or pasted: the count goes on from there.
void GameWindow::onTallyEdited() {
    if (showingTally_) return;
    match_.setTally({leadingNumber(ui_->winCount->text()), leadingNumber(ui_->lossCount->text())});
}

// The chat line takes no more than a list line shows with the name before
// it, so that both screens show what was typed, and a longer paste is seen
// cut before it is sent.
void GameWindow::showOwnName(const QString& name) {
    ui_->ownName->setText(name);
    ui_->chatLine->setMaxLength(std::max<int>(1, int(MessageList::kMaxLineLength - chatLine(name, {}).size())));
}

void GameWindow::addAddressLine() {
    const QStringList addresses = reachableAddresses(lobby_.connection().listenPort());
    if (addresses.isEmpty()) return;
    addLine(text::kAddressesOpen + addresses.join(text::kAddressSeparator) + text::kAddressesClose, false);
}

// The connection ends for good; another may be made.
void GameWindow::onConnectionEnded(const QString& line, bool select) {
    addLine(line, select);
    lobby_.end();
    ui_->newMatchButton->show();
}

// The settings that met the rival are kept for the next run.
void GameWindow::onRivalReached(const QString& line) {
    addLine(line, false);
    if (options_.remember && played_) RememberedPlayer::remember(*played_);
}

void GameWindow::closeEvent(QCloseEvent* event) {
    match_.stop();
    lobby_.end();
    // The dialog has no purpose without the game window.
    if (dialog_) dialog_->close();
    QWidget::closeEvent(event);
}

}  // namespace torvane
