#include "ui/prompter.h"

#include <QMessageBox>

namespace torvane {

void MessageBoxPrompter::Critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.exec();
}

// Opened rather than run in a loop of its own: the window keeps handling
// the rival's messages while the box is up.
void MessageBoxPrompter::Information(QWidget* parent, const QString& title, const QString& text,
                                     std::function<void()> closed) {
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] { closed(); });
    box->open();
}

}  // namespace torvane
