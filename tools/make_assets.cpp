// Draws every picture the game shows (board, stones, banners, each also at
// the sharper scale, and the application icon) and writes them into the
// folder named on the command line.
// Everything is procedural and seeded by constants, so a rerun on the same
// system gives the same bytes and the committed files can be reproduced.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "game_pictures.h"
#include "icon_design.h"
#include "icons.h"
#include "ui/bitmaps.h"

namespace {

namespace assets = torvane::assets;
namespace bitmap = torvane::bitmap;

// Where the icon goes in the folder, laid out as in the hicolor theme.
const QString kIconTheme = QStringLiteral("icons/hicolor");
const QString kIconName = QStringLiteral("org.torvane.torvane");

bool written(bool ok, const QString& path) {
    if (!ok) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
}

bool save(const QImage& image, const QDir& folder, const QString& name) {
    const bool bitmap = name.endsWith(QLatin1String(".bmp"));
    const QImage out = bitmap ? image.convertToFormat(QImage::Format_RGB888) : image;
    const QString path = folder.filePath(name);
    return written(folder.mkpath(QFileInfo(path).path()) && out.save(path, bitmap ? "BMP" : "PNG"), path);
}

bool saveText(const QByteArray& text, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    QFile file(path);
    return written(
        folder.mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(text) == text.size(),
        path);
}

bool saveIcons(const QDir& folder) {
    bool ok = true;
    for (int side : assets::icon::kSizes) {
        const QString name = QStringLiteral("%1/%2x%2/apps/%3.png").arg(kIconTheme).arg(side).arg(kIconName);
        ok = save(assets::iconPicture(side), folder, name) && ok;
    }
    const QString scalable = QStringLiteral("%1/scalable/apps/%2.svg").arg(kIconTheme, kIconName);
    return saveText(assets::iconSvg(), folder, scalable) && ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (int scale : {1, bitmap::kSharpScale}) {
        for (const auto& [name, image] : assets::gamePictures(scale))
            ok = save(image, folder, bitmap::atScale(name, scale)) && ok;
    }
    ok = saveIcons(folder) && ok;
    return ok ? 0 : 1;
}
