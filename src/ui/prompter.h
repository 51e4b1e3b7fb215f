#pragma once
// Message boxes, behind an interface so tests can answer them.

#include <QString>
#include <functional>

class QWidget;

namespace torvane {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A stop-sign box with one OK button, for input the user must correct;
    // returns when the box is closed.
    virtual void Critical(QWidget* parent, const QString& title, const QString& text) = 0;
    // An information box with one OK button, modal to `parent`. It returns at
    // once; `closed` runs when the user closes the box.
    virtual void Information(QWidget* parent, const QString& title, const QString& text,
                             std::function<void()> closed) = 0;
};

// The real thing: QMessageBox.
class MessageBoxPrompter : public Prompter {
public:
    void Critical(QWidget* parent, const QString& title, const QString& text) override;
    void Information(QWidget* parent, const QString& title, const QString& text, std::function<void()> closed) override;
};

}  // namespace torvane
