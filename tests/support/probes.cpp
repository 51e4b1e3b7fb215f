#include "support/probes.h"

#include <QTcpServer>

#include "ui/bitmaps.h"

namespace torvane::testing {

QImage ImageOf(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_RGB32); }

QImage BitmapImage(const QString& name) { return QImage(bitmap::PathOf(name)).convertToFormat(QImage::Format_RGB32); }

quint16 UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace torvane::testing
