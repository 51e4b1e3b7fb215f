#include "support/recording_prompter.h"

namespace torvane::testing {

void RecordingPrompter::Critical(QWidget*, const QString& title, const QString& text) {
    Record(QStringLiteral("critical"), title, text);
}

void RecordingPrompter::Information(QWidget*, const QString& title, const QString& text, std::function<void()> closed) {
    Record(QStringLiteral("information"), title, text);
    closed();
}

void RecordingPrompter::Record(const QString& kind, const QString& title, const QString& text) {
    shown.append({kind, title, text});
    if (whileOpen) whileOpen();
}

}  // namespace torvane::testing
