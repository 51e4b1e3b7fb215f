// The yardstick for the game's start-up: a plain Qt Widgets program with a
// window and a dialog of the same sizes, kinds of control, texts and fonts,
// and nothing else: no icon, pictures, socket or game logic.
// scripts/measure-startup.sh times both.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "ui/fonts.h"
#include "ui/texts.h"

namespace {

using torvane::fonts::Gothic;
using torvane::fonts::Pop;
namespace text = torvane::text;

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
    window.setWindowTitle(text::kMainCaption);
    window.setFixedSize(416, 424);
    Add(&window, new QLabel(text::kOneSelf), {312, 8, 97, 25}, name);
    Add(&window, new QLabel(text::kRival), {312, 88, 97, 33}, name);
    Add(&window, new QLabel(text::kWins), {352, 152, 25, 25}, name);
    Add(&window, new QLabel(text::kLosses), {376, 200, 25, 25}, name);
    Add(&window, new QLabel(text::kVersus), {336, 48, 49, 25}, name);
    Add(&window, new QListWidget, {8, 312, 401, 76}, plain);
    Add(&window, new QLineEdit(text::kZero), {312, 152, 33, 25}, tally);
    Add(&window, new QLineEdit(text::kZero), {336, 200, 33, 25}, tally);
    Add(&window, new QPushButton(text::kReset), {312, 272, 89, 25}, plain);
    Add(&window, new QLineEdit, {8, 392, 401, 25}, plain);
    Add(&window, new QPushButton(text::kStartGame), {312, 240, 89, 25}, plain);
}

void FillDialog(QWidget& dialog) {
    const QFont pop = Pop(12);
    const QFont gothic = Gothic(12);
    dialog.setWindowTitle(text::kDialogCaption);
    dialog.setFixedSize(347, 132);
    Add(&dialog, new QLabel(text::kNameLabel), {16, 8, 41, 17}, pop);
    Add(&dialog, new QLabel(text::kHostLabel), {16, 40, 73, 17}, pop);
    Add(&dialog, new QLabel(text::kPortLabel), {16, 72, 57, 17}, pop);
    Add(&dialog, new QLineEdit, {96, 8, 129, 25}, QApplication::font());
    Add(&dialog, new QLineEdit(text::kOwnComputer), {96, 40, 129, 25}, gothic)->setEnabled(false);
    Add(&dialog, new QLineEdit(text::kDefaultPort), {96, 72, 129, 25}, gothic);
    Add(&dialog, new QPushButton(text::kOk), {64, 104, 65, 25}, pop);
    Add(&dialog, new QPushButton(text::kCancel), {224, 104, 65, 25}, pop);
    Add(&dialog, new QRadioButton(text::kServer), {240, 8, 73, 17}, Pop(9))->setChecked(true);
    Add(&dialog, new QRadioButton(text::kClient), {240, 40, 105, 17}, Pop(9));
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
