#include "ui/prompter.h"

#include <QMessageBox>

namespace torvane {

namespace {

// Opened rather than run in a loop of its own: the window keeps handling
// the rival's messages while the box is up.
void openBox(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& text,
             std::function<void()> closed) {
    auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (closed) QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] { closed(); });
    box->open();
}

}  // namespace

void MessageBoxPrompter::critical(QWidget* parent, const QString& title, const QString& text) {
    openBox(QMessageBox::Critical, parent, title, text, {});
}

void MessageBoxPrompter::information(QWidget* parent, const QString& title, const QString& text,
                                     std::function<void()> closed) {
    openBox(QMessageBox::Information, parent, title, text, std::move(closed));
}

}  // namespace torvane
