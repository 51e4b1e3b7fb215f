#include "ui/game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QNetworkInterface>
#include <QScopedValueRollback>
#include <QScreen>
#include <algorithm>

#include "ui/board_view.h"
#include "ui/connection_dialog.h"
#include "ui/fonts.h"
#include "ui/prompter.h"
#include "ui/resources.h"
#include "ui/system_lines.h"
#include "ui/texts.h"
#include "ui_game_window.h"

namespace torvane {

namespace {

// The marked name: the player to move.
const QColor kTurnColor(0, 255, 0);
// Designer keeps whole point sizes only.
constexpr double kTallyPointSize = 14.25;

void SetBackground(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

// A tally box shows the count unless it already begins with it, as the
// player may have typed after the number.
void ShowCount(QLineEdit* box, quint64 count) {
    if (LeadingNumber(box->text()) != count || box->text().isEmpty()) box->setText(QString::number(count));
}

// This computer's addresses another player can reach, loopback left out.
QStringList ReachableAddresses() {
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.isLinkLocal()) continue;
        QHostAddress plain = address;
        plain.setScopeId(QString());
        addresses << plain.toString();
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
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    for (QLineEdit* tally : {ui_->winCount, ui_->lossCount}) tally->setFont(fonts::Pop(kTallyPointSize));

    connect(&match_, &Match::BoardChanged, this, [this] { Board().ShowBoard(match_.Board()); });
    connect(&match_, &Match::StateChanged, this, &GameWindow::ShowState);
    connect(&match_, &Match::LinesAdded, this, &GameWindow::AddLines);
    connect(&match_, &Match::RivalNamed, ui_->rivalName, &NameLabel::setText);
    connect(&match_, &Match::AttentionWanted, this, &GameWindow::AskForAttention);

    connect(&Board(), &BoardView::Lifted, &match_, &Match::Lift);
    connect(&Board(), &BoardView::Dropped, this, &GameWindow::OnDropped);
    connect(ui_->startButton, &QPushButton::clicked, &match_, &Match::Start);
    connect(ui_->resetButton, &QPushButton::clicked, &match_, &Match::ResetTally);
    connect(ui_->chatLine, &QLineEdit::returnPressed, this, &GameWindow::OnChatEntered);
    for (QLineEdit* tally : {ui_->winCount, ui_->lossCount}) {
        connect(tally, &QLineEdit::textChanged, this, &GameWindow::OnTallyEdited);
    }

    connect(&lobby_, &Lobby::ClientAccepted, this, [this] { AddLine(text::kAccepted, false); });
    connect(&lobby_, &Lobby::ListeningAgain, this, [this] { AddLine(text::kListening, false); });
    connect(&lobby_, &Lobby::Connected, this, [this] { AddLine(text::kConnected, false); });
    connect(&lobby_, &Lobby::Closed, this, [this] { OnConnectionEnded(text::kDisconnected, true); });
    connect(&lobby_, &Lobby::Failed, this,
            [this](const SocketFailure& failure) { OnConnectionEnded(text::FailureLine(failure), false); });
    connect(&lobby_, &Lobby::RouterAnswered, this,
            [this](const MappingResult& result) { AddLine(text::RouterLine(result), false); });
    connect(&lobby_, &Lobby::RouterLost, this, [this] { AddLine(text::kRouterPortLost, false); });

    Board().ShowBoard(match_.Board());
    ShowState();
}

GameWindow::~GameWindow() = default;

BoardView& GameWindow::Board() const { return *ui_->board; }

ConnectionDialog* GameWindow::Dialog() const { return dialog_; }

void GameWindow::Open(ConnectionSettings::Role role) {
    CentreOnScreen();
    show();
    dialog_ = new ConnectionDialog(prompter_, role, this);
    connect(dialog_, &ConnectionDialog::Accepted, this, [this](const ConnectionSettings& settings) {
        activateWindow();
        Play(settings);
    });
    connect(dialog_, &ConnectionDialog::Cancelled, this, &QWidget::close);
    dialog_->show();
}

void GameWindow::Play(ConnectionSettings settings) {
    if (std::exchange(played_, true)) return;
    settings.forwardPort = options_.forwardPort;
    settings.routerTiming = options_.routerTiming;
    if (settings.role == ConnectionSettings::Role::Server) {
        AddLine(text::kListening, false);
        ShowOwnName(settings.nickName);
        if (lobby_.Open(settings)) AddAddressLine();
        return;
    }
    if (!lobby_.Open(settings)) {
        AddLine(text::kComputerFailed, true);
        return;
    }
    AddLine(text::kConnecting, false);
    // On both screens the server's stones are green and the client's blue.
    Board().ShowColours(false);
    ShowOwnName(settings.nickName);
}

void GameWindow::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

// The name of the player to move is marked, and the own stones can be
// taken exactly while that is this player. ゲーム開始 waits for the end of
// a running game.
void GameWindow::ShowState() {
    const Turn turn = match_.Board().GetTurn();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    SetBackground(ui_->ownName, turn == Turn::Own ? kTurnColor : buttonFace);
    SetBackground(ui_->rivalName, turn == Turn::Rival ? kTurnColor : buttonFace);
    Board().ShowTurn(turn);
    Board().ShowBanner(match_.CurrentBanner(), match_.BannerShown());
    ui_->startButton->setEnabled(!match_.GameRunning());
    const Tally counts = match_.Counts();
    const QScopedValueRollback showing(showingTally_, true);
    ShowCount(ui_->winCount, counts.wins);
    ShowCount(ui_->lossCount, counts.losses);
}

// Lines the list would drop at once are not added at all.
void GameWindow::AddLines(const QList<MatchLine>& lines) {
    qsizetype added = 0;
    auto first = lines.end();
    while (first != lines.begin() && added < MessageList::kMaxLines) {
        --first;
        added += first->kind != MatchLine::Kind::RivalTextGoesOn;
    }
    for (auto line = first; line != lines.end(); ++line) {
        switch (line->kind) {
        case MatchLine::Kind::Notice: AddLine(text::NoticeLine(line->notice), true); break;
        case MatchLine::Kind::OwnChat: AddLine(line->text, true); break;
        case MatchLine::Kind::RivalText: ui_->messageList->AddLine(line->text, true, true); break;
        case MatchLine::Kind::RivalTextGoesOn: ui_->messageList->GrowLine(line->text); break;
        }
    }
}

void GameWindow::AddLine(const QString& line, bool select) { ui_->messageList->AddLine(line, select); }

void GameWindow::AskForAttention() {
    if (!isActiveWindow()) QApplication::alert(this);
}

// A drop near a point the stone may take is the move; any other shows the
// rule, with the stone left where it was dropped until the box is closed.
void GameWindow::OnDropped(int stone, std::optional<PointIndex> target) {
    if (target && match_.Board().CanPlace(*target)) {
        match_.Place(*target);
        return;
    }
    const QPointer<GameWindow> self(this);
    prompter_.Information(this, text::kRuleTitle, text::kCannotPlace, [self, stone] {
        // A new game may have put it back meanwhile.
        if (self && self->match_.Board().LiftedStone() == stone) self->match_.PutBack();
    });
}

// Without a connection the typed line is kept, to be sent once a rival is there.
void GameWindow::OnChatEntered() {
    if (match_.Chat(ui_->chatLine->text())) ui_->chatLine->clear();
}

// Typed into a box, or pasted: the count goes on from there.
void GameWindow::OnTallyEdited() {
    if (showingTally_) return;
    match_.SetTally({LeadingNumber(ui_->winCount->text()), LeadingNumber(ui_->lossCount->text())});
}

// The chat line takes no more than a list line shows with the name before
// it, so that both screens show what was typed, and a longer paste is seen
// cut before it is sent.
void GameWindow::ShowOwnName(const QString& name) {
    ui_->ownName->setText(name);
    ui_->chatLine->setMaxLength(std::max<int>(1, int(MessageList::kMaxLineLength - ChatLine(name, {}).size())));
}

void GameWindow::AddAddressLine() {
    const QStringList addresses = ReachableAddresses();
    if (addresses.isEmpty()) return;
    AddLine(text::kAddressesOpen + addresses.join(text::kAddressSeparator) + text::kAddressesClose, false);
}

// The connection ends for good.
void GameWindow::OnConnectionEnded(const QString& line, bool select) {
    AddLine(line, select);
    lobby_.End();
}

void GameWindow::closeEvent(QCloseEvent* event) {
    match_.Stop();
    lobby_.End();
    // The dialog has no purpose without the game window.
    if (dialog_) dialog_->close();
    QWidget::closeEvent(event);
}

}  // namespace torvane
