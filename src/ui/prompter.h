#pragma once
// Modal message boxes, behind an interface so tests can answer them.

#include <QString>

class QWidget;

namespace torvane {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A stop-sign box with one OK button, for input the user must correct.
    virtual void Critical(QWidget* parent, const QString& title, const QString& text) = 0;
    // An information box with one OK button.
    virtual void Information(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The real thing: QMessageBox, waiting until the user closes it.
class MessageBoxPrompter : public Prompter {
public:
    void Critical(QWidget* parent, const QString& title, const QString& text) override;
    void Information(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace torvane
