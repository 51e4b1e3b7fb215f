#pragma once
// Message boxes, behind an interface so tests can answer them.

#include <QString>
#include <functional>

class QWidget;

namespace torvane {

class Prompter {
public:
    virtual ~Prompter() = default;
    // Both boxes have one OK button, are modal to `parent` and return at once.
    // A stop-sign box, for input the user must correct.
    virtual void critical(QWidget* parent, const QString& title, const QString& text) = 0;
    // An information box; `closed` runs when the user closes it.
    virtual void information(QWidget* parent, const QString& title, const QString& text,
                             std::function<void()> closed) = 0;
    // A question with Yes and No; `answered` runs with the answer.
    virtual void question(QWidget* parent, const QString& title, const QString& text,
                          std::function<void(bool yes)> answered) = 0;
};

// The real thing: QMessageBox.
class MessageBoxPrompter : public Prompter {
public:
    void critical(QWidget* parent, const QString& title, const QString& text) override;
    void information(QWidget* parent, const QString& title, const QString& text, std::function<void()> closed) override;
    void question(QWidget* parent, const QString& title, const QString& text,
                  std::function<void(bool yes)> answered) override;
};

}  // namespace torvane
