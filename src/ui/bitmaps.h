#pragma once
// The bitmaps the game reads from its own folder.

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace torvane::bitmap {

inline const QString kBoard = QStringLiteral("3by3box.bmp");
inline const QString kGreen = QStringLiteral("green.bmp");
inline const QString kBlue = QStringLiteral("blue.bmp");
inline const QString kStart = QStringLiteral("start.bmp");
inline const QString kWin = QStringLiteral("win.bmp");
inline const QString kLose = QStringLiteral("lose.bmp");
inline const QString kDraw = QStringLiteral("draw.bmp");

inline const QStringList kAll = {kBoard, kGreen, kBlue, kStart, kWin, kLose, kDraw};

// Screens with at least kSharpFrom device pixels per layout pixel are shown
// the pictures drawn kSharpScale times as large, named like "3by3box@2x.bmp";
// where such a file is missing they get the plain one, enlarged.
inline constexpr int kSharpScale = 2;
inline constexpr qreal kSharpFrom = 1.5;

// The name of the bitmap `name` drawn `scale` times as large.
inline QString atScale(const QString& name, int scale) {
    if (scale == 1) return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    return name.left(dot) + QStringLiteral("@%1x").arg(scale) + name.mid(dot);
}

// The file's full path: the program's folder, a separator, the name.
QString pathOf(const QString& name);

// The picture for a screen of `devicePixelRatio`, read from disk now and
// laid out at the plain picture's size; a null pixmap when it cannot be read.
QPixmap load(const QString& name, qreal devicePixelRatio);

// The path of the first bitmap that is missing or unreadable, or an empty
// string when all of them load.
QString firstUnreadable();

// The pictures one window shows, each read from disk the first time: a run
// of starts or game ends from the rival costs no file reads.
class Pictures {
public:
    // For a screen of `devicePixelRatio`.
    const QPixmap& get(const QString& name, qreal devicePixelRatio);

private:
    QHash<QString, QPixmap> loaded_;
};

}  // namespace torvane::bitmap
