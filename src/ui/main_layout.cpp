// The main window's controls: their positions, sizes, captions, fonts,
// colours, stacking and tab order.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

namespace torvane {

namespace {

constexpr QSize kClientSize(416, 424);
constexpr double kTallyPointSize = 14.25;
constexpr double kNamePointSize = 18;

// Design geometry in pixels of the client area.
constexpr QRect kStartPRect(24, 200, 190, 70);
constexpr QRect kBoardDesignRect(8, 8, 33, 33);
constexpr QSize kBoardSize(300, 300);
constexpr std::array<QPoint, kStoneCount> kMystoneDesign = {QPoint(8, 56), QPoint(56, 56), QPoint(104, 56)};
constexpr std::array<QPoint, kStoneCount> kYourstoneDesign = {QPoint(8, 128), QPoint(56, 128), QPoint(104, 128)};
constexpr QRect kStartGameRect(312, 240, 89, 25);
constexpr QRect kTSendRect(8, 392, 401, 25);
constexpr QRect kResetRect(312, 272, 89, 25);
constexpr QRect kLoseNumRect(336, 200, 33, 25);
constexpr QRect kWinNumRect(312, 152, 33, 25);
constexpr QRect kRecieveListRect(8, 312, 401, 76);
constexpr QRect kLabel5Rect(336, 48, 49, 25);
constexpr QRect kLabel4Rect(376, 200, 25, 25);
constexpr QRect kLabel3Rect(352, 152, 25, 25);
constexpr QRect kRivalRect(312, 88, 97, 33);
constexpr QRect kOneSelfRect(312, 8, 97, 25);

const QColor kNameColor(128, 128, 255);
const QColor kVersusColor(255, 255, 0);
const QColor kLossColor(0, 0, 255);
const QColor kWinColor(255, 0, 0);

QLabel* MakeLabel(QWidget* parent, const QString& caption, const QRect& rect, const QColor& color) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(rect);
    label->setFont(fonts::Pop(kNamePointSize));
    // The design size overflows these small boxes a little; centring the
    // line keeps the glyphs from being cut at the top.
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    label->setPalette(palette);
    return label;
}

QLineEdit* MakeTally(QWidget* parent, const QRect& rect) {
    auto* box = new QLineEdit(text::kZero, parent);
    box->setGeometry(rect);
    box->setFont(fonts::Pop(kTallyPointSize));
    return box;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& rect) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(rect);
    button->setAutoDefault(false);
    return button;
}

PictureBox* MakeStone(QWidget* parent, QPoint designPos) {
    auto* stone = new PictureBox(parent);
    stone->setGeometry(QRect(designPos, QSize(kStoneSize, kStoneSize)));
    return stone;
}

}  // namespace

// Children are created from the bottom of the stacking order up, so that a
// later one covers an earlier one where they overlap; labels lie lowest.
void Main::BuildControls() {
    setWindowTitle(text::kMainCaption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientSize);

    BuildRightColumn();
    RecieveList = new QListWidget(this);
    RecieveList->setGeometry(kRecieveListRect);
    RecieveList->setSelectionMode(QAbstractItemView::SingleSelection);
    WinNum = MakeTally(this, kWinNumRect);
    LoseNum = MakeTally(this, kLoseNumRect);
    Reset = MakeButton(this, text::kReset, kResetRect);
    TSend = new QLineEdit(this);
    TSend->setGeometry(kTSendRect);
    StartGame = MakeButton(this, text::kStartGame, kStartGameRect);
    Board = new PictureBox(this);
    Board->setGeometry(kBoardDesignRect);
    Board->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Board->setLineWidth(1);
    BuildStones();
    StartP = new PictureBox(this);
    StartP->setGeometry(kStartPRect);
    StartP->hide();
    Winsock = new torvane::Winsock(this);
    SetTabOrder();
}

void Main::BuildRightColumn() {
    OneSelf = MakeLabel(this, text::kOneSelf, kOneSelfRect, kNameColor);
    Rival = MakeLabel(this, text::kRival, kRivalRect, kNameColor);
    Label3 = MakeLabel(this, text::kWins, kLabel3Rect, kWinColor);
    Label4 = MakeLabel(this, text::kLosses, kLabel4Rect, kLossColor);
    Label5 = MakeLabel(this, text::kVersus, kLabel5Rect, kVersusColor);
}

void Main::BuildStones() {
    Mystone[0] = MakeStone(this, kMystoneDesign[0]);
    Yourstone[0] = MakeStone(this, kYourstoneDesign[0]);
    Mystone[1] = MakeStone(this, kMystoneDesign[1]);
    Mystone[2] = MakeStone(this, kMystoneDesign[2]);
    Yourstone[1] = MakeStone(this, kYourstoneDesign[1]);
    Yourstone[2] = MakeStone(this, kYourstoneDesign[2]);
    for (int i = 0; i < kStoneCount; ++i) {
        connect(Mystone[i], &PictureBox::MouseDown, this,
                [this, i](auto button, auto shift, QPointF pos) { Mystone_MouseDown(i, button, shift, pos); });
        connect(Mystone[i], &PictureBox::MouseMove, this,
                [this, i](auto buttons, auto shift, QPointF pos) { Mystone_MouseMove(i, buttons, shift, pos); });
        connect(Mystone[i], &PictureBox::MouseUp, this,
                [this, i](auto button, auto shift, QPointF pos) { Mystone_MouseUp(i, button, shift, pos); });
    }
}

// Labels and picture boxes take no focus; the rest follow in design order.
void Main::SetTabOrder() {
    const std::array<QWidget*, 6> order = {RecieveList, WinNum, LoseNum, Reset, TSend, StartGame};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void Main::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void Main::SizeBoard() { Board->resize(kBoardSize); }

void Main::PlaceStonesAtStart() {
    for (int i = 0; i < kStoneCount; ++i) {
        Mystone[i]->move(PointPos(MyStartPoint(i)).x, PointPos(MyStartPoint(i)).y);
        Yourstone[i]->move(PointPos(YourStartPoint(i)).x, PointPos(YourStartPoint(i)).y);
    }
}

}  // namespace torvane
