#pragma once
// What the main window and the connection dialog share for one run: the board
// state and the connection settings the dialog collects. One object per
// program (or per window pair in tests), never a global.

#include <QString>

#include "rules/board.h"

namespace torvane {

struct ConnectionSettings {
    bool IsServer = false;
    QString NickName;
    QString PortText;
    QString HostText;
    // Set by OK in the dialog; cleared once networking has started.
    bool ConnectAccepted = false;
};

struct Session {
    BoardState board;
    ConnectionSettings settings;
};

}  // namespace torvane
