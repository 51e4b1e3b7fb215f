#include "ui/bitmaps.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>

namespace torvane::bitmap {

namespace {

// The built-in BMP reader only. With detection on, Qt would first load every
// image format plugin (and libjpeg with them) to ask whether it reads BMP too.
QImage read(const QString& name) {
    QImageReader reader(pathOf(name), "BMP");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

QString pathOf(const QString& name) { return QCoreApplication::applicationDirPath() + QDir::separator() + name; }

QPixmap load(const QString& name, qreal devicePixelRatio) {
    if (devicePixelRatio >= kSharpFrom) {
        QPixmap sharp = QPixmap::fromImage(read(atScale(name, kSharpScale)));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(kSharpScale);
            return sharp;
        }
    }
    return QPixmap::fromImage(read(name));
}

const QPixmap& Pictures::get(const QString& name, qreal devicePixelRatio) {
    const QString key = devicePixelRatio >= kSharpFrom ? atScale(name, kSharpScale) : name;
    auto found = loaded_.find(key);
    if (found == loaded_.end()) found = loaded_.insert(key, load(name, devicePixelRatio));
    return *found;
}

QString firstUnreadable() {
    for (const QString& name : kAll) {
        if (read(name).isNull()) return pathOf(name);
    }
    return {};
}

}  // namespace torvane::bitmap
