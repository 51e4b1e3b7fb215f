#include "ui/resources.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

// Outside any namespace, as the resource initialiser requires.
static void InitTorvaneResource() { Q_INIT_RESOURCE(torvane); }

namespace torvane {

namespace {

// The window icon is shown at this size; a larger picture would be sent to
// the window system whole for each window.
constexpr QSize kIconSize(32, 32);

// Decoded once, at the size shown: the resource is a large picture made for
// the desktop menu, and decoding it is the dearest step of start-up.
QImage IconImage() {
    InitTorvaneResource();
    QImageReader reader(QStringLiteral(":/torvane.png"), "PNG");
    reader.setAutoDetectImageFormat(false);
    // Cheaper than letting the reader scale row by row.
    return reader.read().scaled(kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QIcon AppIcon() {
    // An image, not a pixmap, may outlive the application object.
    static const QImage image = IconImage();
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace torvane
