#pragma once
// How the game window shows itself to screen readers: the board as a table
// of nine named cells, the announcer as a notification, and the window
// without the stone and banner pictures, which only draw what the board's
// table and the announcer tell.

namespace torvane {

// Once per program, before the first window is shown; later calls do nothing.
void installAccessibility();

}  // namespace torvane
