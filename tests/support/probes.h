#pragma once
// Small things several tests look at: pictures as comparable images, and a
// port nobody listens on.

#include <QImage>
#include <QPixmap>
#include <QString>

namespace torvane::testing {

// A shown picture in one pixel format, so two can be compared.
QImage ImageOf(const QPixmap& pixmap);
// The bitmap file the program reads, in the same format.
QImage BitmapImage(const QString& name);
// A loopback port that was free a moment ago and has nothing listening.
quint16 UnusedPort();

}  // namespace torvane::testing
