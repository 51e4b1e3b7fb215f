#include "ui/name_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>

namespace torvane {

namespace {

// The list's own size: smaller names would be harder to read than cut ones.
constexpr double kMinPointSize = 9;
constexpr double kPointStep = 0.5;

// Left-aligned and with its ink centred from top to bottom: the faces'
// ascents differ so much that centring the line could push the ink out.
FittedName place(const QFont& font, const QString& text, const QRectF& box, const QPaintDevice* device) {
    const QRectF ink = QFontMetricsF(font, device).tightBoundingRect(text);
    const QPointF origin(box.left() - std::min(ink.left(), 0.0), box.center().y() - ink.center().y());
    return {font, text, origin, ink.translated(origin)};
}

}  // namespace

NameLabel::NameLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

// The rival chooses the name: it is never read as markup, here or in the
// tooltip, which Qt would otherwise render as rich text when it looks like it.
void NameLabel::setText(const QString& name) {
    QLabel::setText(name);
    setToolTip(Qt::convertFromPlainText(name, Qt::WhiteSpaceNormal));
    setAccessibleName(name);
}

FittedName NameLabel::fitted() const {
    const QRectF box = contentsRect();
    QFont font = this->font();
    for (double size = font.pointSizeF(); size >= kMinPointSize; size -= kPointStep) {
        font.setPointSizeF(size);
        FittedName fitted = place(font, text(), box, this);
        if (box.contains(fitted.bounds)) return fitted;
    }
    font.setPointSizeF(kMinPointSize);
    const QFontMetricsF metrics(font, this);
    for (double width = box.width(); width > 0; --width) {
        FittedName cut = place(font, metrics.elidedText(text(), Qt::ElideRight, width), box, this);
        if (box.contains(cut.bounds)) return cut;
    }
    return place(font, QString(), box, this);
}

void NameLabel::paintEvent(QPaintEvent*) {
    const FittedName name = fitted();
    QPainter painter(this);
    painter.setFont(name.font);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(name.origin, name.text);
}

}  // namespace torvane
