#pragma once
// The application icon: pictures in the sizes of icon_design.h, and the
// scalable picture as SVG text.

#include <QByteArray>
#include <QImage>

namespace torvane::assets {

QImage iconPicture(int side);
QByteArray iconSvg();

}  // namespace torvane::assets
