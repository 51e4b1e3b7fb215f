#include "ui/prompter.h"

#include <QMessageBox>

namespace torvane {

namespace {

void ShowModal(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void MessageBoxPrompter::Critical(QWidget* parent, const QString& title, const QString& text) {
    ShowModal(parent, QMessageBox::Critical, title, text);
}

void MessageBoxPrompter::Information(QWidget* parent, const QString& title, const QString& text) {
    ShowModal(parent, QMessageBox::Information, title, text);
}

}  // namespace torvane
