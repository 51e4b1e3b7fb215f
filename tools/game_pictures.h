#pragma once
// The bitmaps the game reads from its folder: the board, the two stones and
// the four banners, drawn `scale` times as large as the window lays them out.

#include <QImage>
#include <QList>
#include <QString>
#include <utility>

namespace torvane::assets {

// Each bitmap's file name (at scale 1) with its picture.
QList<std::pair<QString, QImage>> gamePictures(int scale);

}  // namespace torvane::assets
