#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <utility>

#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/message_list.h"
#include "ui/picture_box.h"
#include "ui/resources.h"
#include "ui/texts.h"

namespace torvane {

Main::Main(Session& session, Prompter& prompter, int startStepMs, int greetingTimeoutMs, QWidget* parent)
    : QWidget(parent),
      connection_(new MessageConnection(this, greetingTimeoutMs)),
      session_(session),
      prompter_(prompter) {
    setupUi(this);
    start_ = new StartSequence(StartP, startStepMs, this);
    // A start the rival sent before ours ended crosses ours, however late
    // it is read.
    connect(start_, &StartSequence::Due, this, [this] { connection_->AfterWaiting([this] { start_->Finish(); }); });
    connect(start_, &StartSequence::Finished, this, &Main::FinishStart);
    connect(StartGame, &QPushButton::clicked, this, &Main::StartGame_Click);
    connect(Reset, &QPushButton::clicked, this, &Main::Reset_Click);
    connect(TSend, &QLineEdit::returnPressed, this, &Main::TSend_KeyPress);
    for (int i = 0; i < kStoneCount; ++i) {
        connect(Mystone[i], &PictureBox::MouseDown, this,
                [this, i](auto button, auto shift, QPointF pos) { Mystone_MouseDown(i, button, shift, pos); });
        connect(Mystone[i], &PictureBox::MouseMove, this,
                [this, i](auto buttons, auto shift, QPointF pos) { Mystone_MouseMove(i, buttons, shift, pos); });
        connect(Mystone[i], &PictureBox::MouseUp, this,
                [this, i](auto button, auto shift, QPointF pos) { Mystone_MouseUp(i, button, shift, pos); });
    }
    connect(connection_, &MessageConnection::ClientAccepted, this, &Main::OnClientAccepted);
    connect(connection_, &MessageConnection::ListeningAgain, this, [this] { AddLine(text::kListening, false); });
    connect(connection_, &MessageConnection::Connected, this, &Main::OnConnected);
    connect(connection_, &MessageConnection::Closed, this, &Main::OnClosed);
    connect(connection_, &MessageConnection::Failed, this, &Main::OnFailed);
    connect(connection_, &MessageConnection::MessagesArrived, this, &Main::Winsock_DataArrival);
}

Main::~Main() = default;

void Main::Form_Load() {
    setWindowIcon(AppIcon());
    Board->resize(geometry::kBoardRect.size());
    Board->SetPicture(Picture(bitmap::kBoard));
    for (int i = 0; i < kStoneCount; ++i) {
        Mystone[i]->SetPicture(Picture(bitmap::kGreen));
        Yourstone[i]->SetPicture(Picture(bitmap::kBlue));
    }
    board_.Reset();
    ShowStones();
    ShowTurn();
    CentreOnScreen();
    show();
    dialog_ = new ConnectForm(session_, prompter_, this);
    connect(dialog_, &ConnectForm::Accepted, this, [this] {
        activateWindow();
        Form_Activate();
    });
    connect(dialog_, &ConnectForm::Cancelled, this, &QWidget::close);
    dialog_->Form_Load();
    dialog_->show();
}

QColor Main::ButtonFace() const { return QApplication::palette().color(QPalette::Button); }

// Every stone widget stands exactly on the point the model has it on; the
// one in hand stays where the mouse holds it.
void Main::ShowStones() {
    const std::optional<int> lifted = board_.LiftedStone();
    for (int i = 0; i < kStoneCount; ++i) {
        const geometry::PixelPos yours = geometry::PointPos(board_.Yourstone(i));
        Yourstone[i]->move(yours.x, yours.y);
        if (lifted == i) continue;
        const geometry::PixelPos mine = geometry::PointPos(board_.Mystone(i));
        Mystone[i]->move(mine.x, mine.y);
    }
}

namespace {

void SetBackground(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

}  // namespace

// The name of the player to move is green, and the own stones are enabled
// exactly while that is the local player. The rival's stones are never.
void Main::ShowTurn() {
    const Turn turn = board_.GetTurn();
    SetBackground(OneSelf, turn == Turn::Mine ? TurnColor() : ButtonFace());
    SetBackground(Rival, turn == Turn::Rival ? TurnColor() : ButtonFace());
    for (int i = 0; i < kStoneCount; ++i) {
        Mystone[i]->setEnabled(turn == Turn::Mine);
        Yourstone[i]->setEnabled(false);
    }
}

void Main::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void Main::AddLine(const QString& line, bool select) { RecieveList->AddLine(line, select); }

// Sends the messages of one user action. Without a connection nothing goes
// out and the user is told once.
void Main::SendToRival(const QStringList& messages) {
    if (!connection_->IsConnected()) {
        AddLine(text::kNotConnected, true);
        return;
    }
    for (const QString& message : messages) connection_->Send(message);
}

void Main::ShowBanner(const QString& bitmapName) {
    StartP->SetPicture(Picture(bitmapName));
    StartP->show();
    StartP->move(geometry::kBannerRect.topLeft());
    StartP->raise();
}

void Main::AskForAttention() {
    if (!isActiveWindow()) QApplication::alert(this);
}

void Main::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void Main::Form_Unload() {
    start_->Stop();
    EndConnection();
    // The dialog has no purpose without the game window.
    if (dialog_) dialog_->close();
}

}  // namespace torvane
