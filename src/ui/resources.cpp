#include "ui/resources.h"

#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPixmap>

#include <array>

// Outside any namespace, as the resource initialiser requires.
static void initTorvaneResource() { Q_INIT_RESOURCE(torvane); }

namespace torvane {

namespace {

// The window icon's sizes, as built in from the resource file. The window
// system is sent every size for each window, so the large ones drawn for the
// desktop menu stay out; a dense screen takes the next size up.
constexpr std::array<int, 4> kIconSides{16, 32, 48, 64};

// Read once, as PNG without format detection (which would load every image
// plugin to ask).
QList<QImage> iconImages() {
    initTorvaneResource();
    QList<QImage> images;
    for (int side : kIconSides) {
        QImageReader reader(QStringLiteral(":/icon/%1.png").arg(side), "PNG");
        reader.setAutoDetectImageFormat(false);
        images << reader.read();
    }
    return images;
}

}  // namespace

QIcon appIcon() {
    // Images, not pixmaps, may outlive the application object.
    static const QList<QImage> images = iconImages();
    QIcon icon;
    for (const QImage& image : images) icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

}  // namespace torvane
