#include "ui/bitmaps.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>

namespace torvane::bitmap {

QString PathOf(const QString& name) {
    return QCoreApplication::applicationDirPath() + QDir::separator() + name;
}

QPixmap Load(const QString& name) { return QPixmap(PathOf(name), "BMP"); }

QString FirstUnreadable() {
    for (const QString& name : kAll) {
        QImageReader reader(PathOf(name), "BMP");
        if (!reader.canRead() || reader.read().isNull()) return PathOf(name);
    }
    return {};
}

}  // namespace torvane::bitmap
