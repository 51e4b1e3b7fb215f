#pragma once
// A port as the user types it, in the dialog or on a command line.

#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace torvane {

// A whole number from 0 to 65535, spaces around it allowed; no value for
// anything else. Where 0 makes no sense the caller refuses it.
std::optional<quint16> parsePort(QStringView text);

}  // namespace torvane
