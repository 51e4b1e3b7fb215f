// The yardstick for the game's start-up: a plain Qt Widgets program with a
// window and a dialog of the same sizes, kinds of control, texts and fonts,
// built by hand, and nothing else: no forms, icon, pictures, socket or game
// logic.
// scripts/measure-startup.sh times both.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "ui/fonts.h"

namespace {

using torvane::fonts::Gothic;
using torvane::fonts::Pop;

template <typename W>
W* Add(QWidget* parent, W* widget, const QRect& rect, const QFont& font) {
    widget->setParent(parent);
    widget->setGeometry(rect);
    widget->setFont(font);
    return widget;
}

void FillWindow(QWidget& window) {
    const QFont name = Pop(18);
    const QFont tally = Pop(14.25);
    const QFont plain = QApplication::font();
    window.setWindowTitle(QStringLiteral("Torvane　Product by Torvane Developers"));
    window.setFixedSize(416, 424);
    Add(&window, new QLabel(QStringLiteral("自分")), {312, 8, 97, 25}, name);
    Add(&window, new QLabel(QStringLiteral("相手")), {312, 88, 97, 33}, name);
    Add(&window, new QLabel(QStringLiteral("勝")), {352, 152, 25, 25}, name);
    Add(&window, new QLabel(QStringLiteral("敗")), {376, 200, 25, 25}, name);
    Add(&window, new QLabel(QStringLiteral("ＶＳ")), {336, 48, 49, 25}, name);
    Add(&window, new QListWidget, {8, 312, 401, 76}, plain);
    Add(&window, new QLineEdit(QStringLiteral("0")), {312, 152, 33, 25}, tally);
    Add(&window, new QLineEdit(QStringLiteral("0")), {336, 200, 33, 25}, tally);
    Add(&window, new QPushButton(QStringLiteral("勝敗リセット")), {312, 272, 89, 25}, plain);
    Add(&window, new QLineEdit, {8, 392, 401, 25}, plain);
    Add(&window, new QPushButton(QStringLiteral("ゲーム開始")), {312, 240, 89, 25}, plain);
}

void FillDialog(QWidget& dialog) {
    const QFont pop = Pop(12);
    const QFont gothic = Gothic(12);
    dialog.setWindowTitle(QStringLiteral("サーバかクライアントを選択しよう"));
    dialog.setFixedSize(347, 132);
    Add(&dialog, new QLabel(QStringLiteral("名前")), {16, 8, 41, 17}, pop);
    Add(&dialog, new QLabel(QStringLiteral("ホスト名")), {16, 40, 73, 17}, pop);
    Add(&dialog, new QLabel(QStringLiteral("ポート")), {16, 72, 57, 17}, pop);
    Add(&dialog, new QLineEdit, {96, 8, 129, 25}, QApplication::font());
    Add(&dialog, new QLineEdit(QStringLiteral("自分のパソコン")), {96, 40, 129, 25}, gothic)->setEnabled(false);
    Add(&dialog, new QLineEdit(QStringLiteral("9898")), {96, 72, 129, 25}, gothic);
    Add(&dialog, new QPushButton(QStringLiteral("ＯＫ")), {64, 104, 65, 25}, pop);
    Add(&dialog, new QPushButton(QStringLiteral("Cancel")), {224, 104, 65, 25}, pop);
    Add(&dialog, new QRadioButton(QStringLiteral("サーバ")), {240, 8, 73, 17}, Pop(9))->setChecked(true);
    Add(&dialog, new QRadioButton(QStringLiteral("クライアント")), {240, 40, 105, 17}, Pop(9));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    torvane::fonts::InstallSubstitutes();
    QWidget window;
    FillWindow(window);
    window.show();
    QWidget dialog(&window, Qt::Dialog);
    FillDialog(dialog);
    dialog.show();
    return app.exec();
}
