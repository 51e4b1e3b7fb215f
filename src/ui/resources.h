#pragma once
// Pictures built into the program itself.

#include <QIcon>

namespace torvane {

// The window icon of both windows.
QIcon appIcon();

}  // namespace torvane
