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

using torvane::fonts::gothic;
using torvane::fonts::pop;

template <typename W>
W* add(QWidget* parent, W* widget, const QRect& rect, const QFont& font) {
    widget->setParent(parent);
    widget->setGeometry(rect);
    widget->setFont(font);
    return widget;
}

void fillWindow(QWidget& window) {
    const QFont name = pop(18);
    const QFont tally = pop(14.25);
    const QFont plain = QApplication::font();
    window.setWindowTitle(QStringLiteral("Torvane　Product by Torvane Developers"));
    window.setFixedSize(416, 424);
    add(&window, new QLabel(QStringLiteral("自分")), {312, 8, 97, 25}, name);
    add(&window, new QLabel(QStringLiteral("相手")), {312, 88, 97, 33}, name);
    add(&window, new QLabel(QStringLiteral("勝")), {352, 152, 25, 25}, name);
    add(&window, new QLabel(QStringLiteral("敗")), {376, 200, 25, 25}, name);
    add(&window, new QLabel(QStringLiteral("ＶＳ")), {336, 48, 49, 25}, name);
    add(&window, new QListWidget, {8, 312, 401, 76}, plain);
    add(&window, new QLineEdit(QStringLiteral("0")), {312, 152, 33, 25}, tally);
    add(&window, new QLineEdit(QStringLiteral("0")), {336, 200, 33, 25}, tally);
    add(&window, new QPushButton(QStringLiteral("勝敗リセット")), {312, 272, 89, 25}, plain);
    add(&window, new QLineEdit, {8, 392, 401, 25}, plain);
    add(&window, new QPushButton(QStringLiteral("ゲーム開始")), {312, 240, 89, 25}, plain);
}

void fillDialog(QWidget& dialog) {
    const QFont popFont = pop(12);
    const QFont gothicFont = gothic(12);
    dialog.setWindowTitle(QStringLiteral("サーバかクライアントを選択しよう"));
    dialog.setFixedSize(347, 132);
    add(&dialog, new QLabel(QStringLiteral("名前")), {16, 8, 41, 17}, popFont);
    add(&dialog, new QLabel(QStringLiteral("ホスト名")), {16, 40, 73, 17}, popFont);
    add(&dialog, new QLabel(QStringLiteral("ポート")), {16, 72, 57, 17}, popFont);
    add(&dialog, new QLineEdit, {96, 8, 129, 25}, QApplication::font());
    add(&dialog, new QLineEdit(QStringLiteral("自分のパソコン")), {96, 40, 129, 25}, gothicFont)->setEnabled(false);
    add(&dialog, new QLineEdit(QStringLiteral("9898")), {96, 72, 129, 25}, gothicFont);
    add(&dialog, new QPushButton(QStringLiteral("ＯＫ")), {64, 104, 65, 25}, popFont);
    add(&dialog, new QPushButton(QStringLiteral("Cancel")), {224, 104, 65, 25}, popFont);
    add(&dialog, new QRadioButton(QStringLiteral("サーバ")), {240, 8, 73, 17}, pop(9))->setChecked(true);
    add(&dialog, new QRadioButton(QStringLiteral("クライアント")), {240, 40, 105, 17}, pop(9));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    torvane::fonts::installSubstitutes();
    QWidget window;
    fillWindow(window);
    window.show();
    QWidget dialog(&window, Qt::Dialog);
    fillDialog(dialog);
    dialog.show();
    return app.exec();
}
