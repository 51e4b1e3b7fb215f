#pragma once
// The main window's controls, built like a Designer form: one pointer per
// control under its design name, made by setupUi at the design geometry,
// stacking and tab order. The window's behaviour lives in Main.

#include <QColor>
#include <array>

#include "rules/board.h"
#include "ui/name_label.h"

class QLineEdit;
class QPushButton;
class QWidget;

namespace torvane {

class MessageList;
class PictureBox;

struct MainForm {
    PictureBox* StartP = nullptr;
    std::array<PictureBox*, kStoneCount> Mystone{};
    std::array<PictureBox*, kStoneCount> Yourstone{};
    PictureBox* Board = nullptr;
    QPushButton* StartGame = nullptr;
    QLineEdit* TSend = nullptr;
    QPushButton* Reset = nullptr;
    QLineEdit* LoseNum = nullptr;
    QLineEdit* WinNum = nullptr;
    MessageList* RecieveList = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    // Nicknames, drawn at a size that fits their box.
    NameLabel* Rival = nullptr;
    NameLabel* OneSelf = nullptr;

    void setupUi(QWidget* Main);

    // The name label of the player to move.
    static QColor TurnColor() { return QColor(0, 255, 0); }
};

}  // namespace torvane
