#include "ui/fonts.h"

#include <QApplication>
#include <QStringList>

namespace torvane::fonts {

void installSubstitutes() {
    QFont::insertSubstitutions(kPopFace, {QStringLiteral("RocknRoll One"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(kGothicFace, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont standard = QApplication::font();
    standard.setFamily(kGothicFace);
    QApplication::setFont(standard);
}

namespace {

QFont make(const QString& family, double pointSize) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace

QFont pop(double pointSize) { return make(kPopFace, pointSize); }
QFont gothic(double pointSize) { return make(kGothicFace, pointSize); }

}  // namespace torvane::fonts
