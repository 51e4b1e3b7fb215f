#include "ui/prompter.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/texts.h"

namespace torvane {

namespace {

// Opened rather than run in a loop of its own: the window keeps handling
// the rival's messages while the box is up.
QMessageBox* openBox(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& text,
                     QMessageBox::StandardButtons buttons) {
    auto* box = new QMessageBox(icon, title, text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

}  // namespace

void MessageBoxPrompter::critical(QWidget* parent, const QString& title, const QString& text) {
    openBox(QMessageBox::Critical, parent, title, text, QMessageBox::Ok);
}

void MessageBoxPrompter::information(QWidget* parent, const QString& title, const QString& text,
                                     std::function<void()> closed) {
    QMessageBox* box = openBox(QMessageBox::Information, parent, title, text, QMessageBox::Ok);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] { closed(); });
}

// No is the default: Enter alone gives up nothing.
void MessageBoxPrompter::question(QWidget* parent, const QString& title, const QString& text,
                                  std::function<void(bool yes)> answered) {
    QMessageBox* box = openBox(QMessageBox::Question, parent, title, text, QMessageBox::Yes | QMessageBox::No);
    box->button(QMessageBox::Yes)->setText(text::kYes);
    box->button(QMessageBox::No)->setText(text::kNo);
    box->setDefaultButton(QMessageBox::No);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered)] {
        answered(box->clickedButton() == box->button(QMessageBox::Yes));
    });
}

}  // namespace torvane
