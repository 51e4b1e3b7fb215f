#include "ui/bitmaps.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>

namespace torvane::bitmap {

namespace {

// The built-in BMP reader only. With detection on, Qt would first load every
// image format plugin (and libjpeg with them) to ask whether it reads BMP too.
QImage Read(const QString& name) {
    QImageReader reader(PathOf(name), "BMP");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

QString PathOf(const QString& name) { return QCoreApplication::applicationDirPath() + QDir::separator() + name; }

QPixmap Load(const QString& name, qreal devicePixelRatio) {
    if (devicePixelRatio >= kSharpFrom) {
        QPixmap sharp = QPixmap::fromImage(Read(AtScale(name, kSharpScale)));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(kSharpScale);
            return sharp;
        }
    }
    return QPixmap::fromImage(Read(name));
}

const QPixmap& Pictures::Get(const QString& name, qreal devicePixelRatio) {
    const QString key = devicePixelRatio >= kSharpFrom ? AtScale(name, kSharpScale) : name;
    auto found = loaded_.find(key);
    if (found == loaded_.end()) found = loaded_.insert(key, Load(name, devicePixelRatio));
    return *found;
}

QString FirstUnreadable() {
    for (const QString& name : kAll) {
        if (Read(name).isNull()) return PathOf(name);
    }
    return {};
}

}  // namespace torvane::bitmap
