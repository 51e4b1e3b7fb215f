#pragma once
// A message box stand-in that records what would have been shown and closes
// it at once, optionally running an action "while the box is open" first.

#include <QString>
#include <QStringList>
#include <functional>

#include "ui/prompter.h"

namespace torvane::testing {

class RecordingPrompter : public Prompter {
public:
    struct Shown {
        QString kind;  // "critical" or "information"
        QString title;
        QString text;
    };

    void Critical(QWidget* parent, const QString& title, const QString& text) override;
    void Information(QWidget* parent, const QString& title, const QString& text, std::function<void()> closed) override;

    QList<Shown> shown;
    // Runs while the box would be open, before it is closed.
    std::function<void()> whileOpen;

private:
    void Record(const QString& kind, const QString& title, const QString& text);
};

}  // namespace torvane::testing
