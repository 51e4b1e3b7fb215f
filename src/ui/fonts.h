#pragma once
// The two Japanese faces the windows are designed with, and the free faces
// that stand in for them where they are not installed.

#include <QFont>
#include <QString>

namespace torvane::fonts {

inline const QString kPopFace = QStringLiteral("HG創英角ﾎﾟｯﾌﾟ体");
inline const QString kGothicFace = QStringLiteral("ＭＳ Ｐゴシック");

// Registers the stand-ins, so a machine with the original faces still uses them,
// and makes the gothic the default face of controls without a font of their
// own, as it is on Japanese Windows: a Latin default face would draw the
// symbols of a Japanese line, such as "☆", in another face than its kana.
// Keeps the platform's default size.
void installSubstitutes();

QFont pop(double pointSize);
QFont gothic(double pointSize);

}  // namespace torvane::fonts
