#pragma once
// The list of chat and system lines. Adding a line costs the same however
// many the list holds: it keeps only the newest kMaxLines, every line has the
// same height, a line longer than kMaxLineLength is shown cut, and selecting
// the newest line waits until the lines that arrived together are all in
// (selecting lays the whole list out, which per line would cost the square
// of a flood).

#include <QListWidget>
#include <QString>

namespace torvane {

class MessageList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 5000;
    static constexpr qsizetype kMaxLineLength = 2000;

    explicit MessageList(QWidget* parent = nullptr);

    // Appends a line, dropping the oldest when the list is full, and with
    // `select` makes it the selected line, which scrolls it into view, once
    // the window is back in its event loop. With `growing` it is the line
    // growLine adds to.
    void addLine(const QString& line, bool select, bool growing = false);
    // More of the growing line's text, when that line is still there.
    void growLine(const QString& more);

private:
    void selectLater(QListWidgetItem* item);
    void forget(QListWidgetItem* item);

    QListWidgetItem* growing_ = nullptr;
    QListWidgetItem* toSelect_ = nullptr;
    bool selectQueued_ = false;
    QString growingText_;
};

}  // namespace torvane
