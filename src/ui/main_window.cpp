#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/bitmaps.h"
#include "ui/connect_form.h"
#include "ui/picture_box.h"
#include "ui/resources.h"
#include "ui/texts.h"

namespace torvane {

Main::Main(Session& session, Prompter& prompter, Pause& pause, QWidget* parent)
    : QWidget(parent), session_(session), prompter_(prompter), pause_(pause) {
    BuildControls();
    connect(StartGame, &QPushButton::clicked, this, &Main::StartGame_Click);
    connect(Reset, &QPushButton::clicked, this, &Main::Reset_Click);
    connect(TSend, &QLineEdit::returnPressed, this, [this] { TSend_KeyPress('\r'); });
    connect(Winsock, &Winsock::ConnectionRequest, this, &Main::Winsock_ConnectionRequest);
    connect(Winsock, &Winsock::Connected, this, &Main::Winsock_Connect);
    connect(Winsock, &Winsock::DataArrival, this, &Main::Winsock_DataArrival);
    connect(Winsock, &Winsock::Closed, this, &Main::Winsock_Close);
    connect(Winsock, &Winsock::Error, this, &Main::Winsock_Error);
    tailTimer_.setSingleShot(true);
    connect(&tailTimer_, &QTimer::timeout, this, &Main::HandleTail);
}

Main::~Main() = default;

void Main::Form_Load() {
    setWindowIcon(AppIcon());
    SizeBoard();
    Board->SetPicture(bitmap::Load(bitmap::kBoard));
    for (int i = 0; i < kStoneCount; ++i) {
        Mystone[i]->SetPicture(bitmap::Load(bitmap::kGreen));
        Yourstone[i]->SetPicture(bitmap::Load(bitmap::kBlue));
    }
    PlaceStonesAtStart();
    SetAllStonesEnabled(false);
    session_.board.ResetForGame();
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

QColor Main::TurnColor() { return QColor(0, 255, 0); }

QColor Main::ButtonFace() const { return QApplication::palette().color(QPalette::Button); }

void Main::SetOwnStonesEnabled(bool enabled) {
    for (PictureBox* stone : Mystone) stone->setEnabled(enabled);
}

void Main::SetAllStonesEnabled(bool enabled) {
    for (int i = 0; i < kStoneCount; ++i) {
        Mystone[i]->setEnabled(enabled);
        Yourstone[i]->setEnabled(enabled);
    }
}

namespace {

void SetBackground(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

}  // namespace

void Main::MarkTurn(QLabel* toMove, QLabel* other) {
    SetBackground(toMove, TurnColor());
    SetBackground(other, ButtonFace());
}

void Main::UnmarkTurn() {
    SetBackground(OneSelf, ButtonFace());
    SetBackground(Rival, ButtonFace());
}

std::array<PixelPos, kStoneCount> Main::MystonePositions() const {
    std::array<PixelPos, kStoneCount> positions{};
    for (int i = 0; i < kStoneCount; ++i) positions[i] = {Mystone[i]->x(), Mystone[i]->y()};
    return positions;
}

void Main::AddLine(const QString& line, bool select) {
    RecieveList->addItem(line);
    if (select) RecieveList->setCurrentRow(RecieveList->count() - 1);
}

// Sends the messages of one user action. Without a connection nothing goes
// out and the user is told once.
void Main::SendToRival(const QStringList& messages) {
    if (!Winsock->IsConnected()) {
        AddLine(text::kNotConnected, true);
        return;
    }
    for (const QString& message : messages) Winsock->SendData(EncodeCp932(message));
}

void Main::ShowBanner(const QString& bitmapName) {
    StartP->SetPicture(bitmap::Load(bitmapName));
    StartP->show();
    StartP->move(kBannerPos);
    StartP->raise();
}

// The count goes on from the leading number of whatever the box holds.
void Main::CountUp(QLineEdit* box) {
    const QString current = box->text();
    qsizetype digits = 0;
    while (digits < current.size() && current[digits].isDigit() && current[digits].unicode() < 128) ++digits;
    if (digits == 0) {
        box->setText(QString::number(1));
        return;
    }
    bool ok = false;
    const qlonglong value = current.left(digits).toLongLong(&ok);
    if (ok) box->setText(QString::number(value + 1));
}

void Main::AskForAttention() {
    if (!isActiveWindow()) QApplication::alert(this);
}

void Main::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void Main::Form_Unload() {
    // A start animation still running gives up at its next pause.
    ++startGeneration_;
    startRunning_ = StartKind::None;
    tailTimer_.stop();
    Winsock->Close();
    // The dialog has no purpose without the game window.
    if (dialog_) dialog_->close();
}

}  // namespace torvane
