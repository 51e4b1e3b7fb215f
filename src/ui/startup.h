#pragma once
// From the program's start to the open connection dialog.

class QApplication;

namespace torvane {

// Checks the bitmaps, opens the main window and the dialog (with the
// computer chosen as the rival if `vsComputer`), and runs the program until
// it ends. Returns the exit status.
int runTorvane(QApplication& app, bool vsComputer);

}  // namespace torvane
