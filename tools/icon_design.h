#pragma once
// The application icon's design, shared by the pictures in each size and the
// scalable one: a board slab with its nine points and three stones, in units
// of the 256-pixel icon.

#include <QColor>
#include <QLineF>
#include <QRectF>
#include <array>

#include "board_parts.h"

namespace torvane::assets::icon {

// The sizes desktops ask for; up to kSimpleUpTo pixels the icon is drawn
// plain (flat wood, thick lines, big stones), so that it reads when small.
inline constexpr std::array<int, 9> kSizes{16, 22, 24, 32, 48, 64, 128, 256, 512};
inline constexpr int kSimpleUpTo = 32;

inline constexpr double kSide = 256.0;
inline constexpr QRectF kSlab(8.0, 6.0, 240.0, 238.0);
inline constexpr double kSlabRadius = 34.0;
inline constexpr double kShadowDrop = 6.0;
// The frame's rim is a band this wide just inside the slab's edge.
inline constexpr double kRimWidth = 12.0;
inline constexpr double kEdgeWidth = 2.0;
// The points' rows and columns.
inline constexpr std::array<double, 3> kAt{56.0, 127.0, 198.0};
inline constexpr double kLineWidth = 6.0;
inline constexpr double kSeatScale = 0.6;
inline constexpr double kStoneRadius = 27.0;
inline const QColor kShadow(30, 14, 0, 110);
// Without grain the wood is a gradient down to this.
inline const QColor kFlatWoodLow = mix(kSurfaceWood.light, kSurfaceWood.dark, 0.45);

struct Stone {
    int column;
    int row;
    const StoneTone& tone;
};

// Three stones in the diagonal that would finish the game for green.
inline const std::array<Stone, 3> kStones{{{0, 2, kGreenStone}, {1, 1, kGreenStone}, {2, 0, kBlueStone}}};

// The grooves through points `at`, end to end: each row with its column,
// then the two diagonals.
inline std::array<QLineF, 8> gridLines(const std::array<double, 3>& at) {
    return {{{at[0], at[0], at[2], at[0]},
             {at[0], at[0], at[0], at[2]},
             {at[0], at[1], at[2], at[1]},
             {at[1], at[0], at[1], at[2]},
             {at[0], at[2], at[2], at[2]},
             {at[2], at[0], at[2], at[2]},
             {at[0], at[0], at[2], at[2]},
             {at[2], at[0], at[0], at[2]}}};
}

}  // namespace torvane::assets::icon
