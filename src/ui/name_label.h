#pragma once
// A label that shows a nickname, always as plain text. The whole name is its
// text, tooltip and accessible name; it is drawn at the label's own size when that fits the
// box, else at the largest smaller size that does, and only below a readable
// minimum is it cut with "…".

#include <QFont>
#include <QLabel>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace torvane {

// The name as drawn: its font, its text, the start of its baseline and the
// bounds of its ink there, in the label's coordinates.
struct FittedName {
    QFont font;
    QString text;
    QPointF origin;
    QRectF bounds;
};

class NameLabel : public QLabel {
    Q_OBJECT
public:
    explicit NameLabel(QWidget* parent = nullptr);

    // Hides QLabel::setText, so that the tooltip follows the name.
    void setText(const QString& name);

    // Worked out at each paint, from the current text, font and size.
    FittedName fitted() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace torvane
