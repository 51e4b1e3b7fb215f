#include "ui/main_form.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/board_geometry.h"
#include "ui/fonts.h"
#include "ui/message_list.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

namespace torvane {

namespace {

constexpr QSize kClientSize(416, 424);
constexpr double kTallyPointSize = 14.25;
constexpr double kNamePointSize = 18;

// Design geometry in pixels of the client area.
constexpr QRect kStartPRect(QPoint(24, 200), geometry::kBannerRect.size());
constexpr QRect kBoardDesignRect(8, 8, 33, 33);
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

template <class Label>
Label* MakeLabel(QWidget* parent, const QString& caption, const QRect& rect, const QColor& color) {
    auto* label = new Label(caption, parent);
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
    stone->setGeometry(QRect(designPos, QSize(geometry::kStoneSize, geometry::kStoneSize)));
    return stone;
}

}  // namespace

// Children are created from the bottom of the stacking order up, so that a
// later one covers an earlier one where they overlap; labels lie lowest.
void MainForm::setupUi(QWidget* Main) {
    Main->setWindowTitle(text::kMainCaption);
    Main->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
    Main->setFixedSize(kClientSize);

    OneSelf = MakeLabel<NameLabel>(Main, text::kOneSelf, kOneSelfRect, kNameColor);
    Rival = MakeLabel<NameLabel>(Main, text::kRival, kRivalRect, kNameColor);
    Label3 = MakeLabel<QLabel>(Main, text::kWins, kLabel3Rect, kWinColor);
    Label4 = MakeLabel<QLabel>(Main, text::kLosses, kLabel4Rect, kLossColor);
    Label5 = MakeLabel<QLabel>(Main, text::kVersus, kLabel5Rect, kVersusColor);
    RecieveList = new MessageList(Main);
    RecieveList->setGeometry(kRecieveListRect);
    WinNum = MakeTally(Main, kWinNumRect);
    LoseNum = MakeTally(Main, kLoseNumRect);
    Reset = MakeButton(Main, text::kReset, kResetRect);
    TSend = new QLineEdit(Main);
    TSend->setGeometry(kTSendRect);
    StartGame = MakeButton(Main, text::kStartGame, kStartGameRect);
    Board = new PictureBox(Main);
    Board->setGeometry(kBoardDesignRect);
    Board->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Board->setLineWidth(geometry::kBoardFrameWidth);
    Mystone[0] = MakeStone(Main, kMystoneDesign[0]);
    Yourstone[0] = MakeStone(Main, kYourstoneDesign[0]);
    Mystone[1] = MakeStone(Main, kMystoneDesign[1]);
    Mystone[2] = MakeStone(Main, kMystoneDesign[2]);
    Yourstone[1] = MakeStone(Main, kYourstoneDesign[1]);
    Yourstone[2] = MakeStone(Main, kYourstoneDesign[2]);
    StartP = new PictureBox(Main);
    StartP->setGeometry(kStartPRect);
    StartP->hide();
    // Labels and picture boxes take no focus; the rest follow in design order.
    const std::array<QWidget*, 6> order = {RecieveList, WinNum, LoseNum, Reset, TSend, StartGame};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

}  // namespace torvane
