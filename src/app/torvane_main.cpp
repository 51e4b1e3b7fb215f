// torvane: the game window. The command line is read before the window
// system is, so --help and --version work without a display.

#include <QApplication>
#include <array>
#include <cstdio>

#include "app/command_line.h"
#include "project_info.h"
#include "ui/startup.h"

namespace {

const QString kComputer = QStringLiteral("computer");

// Qt's own window-system options, which QApplication reads and removes; they
// pass here so that `torvane -style fusion` keeps working.
constexpr std::array kQtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "display",  "geometry",           "style",         "stylesheet", "session"};
constexpr std::array kQtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void addHidden(QCommandLineParser& parser, const char* name, const QString& valueName) {
    QCommandLineOption option(QLatin1String(name), QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

void addOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Torvane, a board game for two players over the network."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({kComputer, QStringLiteral("Open the connection dialog with the computer chosen as the rival.")});
    for (const char* name : kQtOptionsWithValue) addHidden(parser, name, QStringLiteral("value"));
    for (const char* name : kQtFlags) addHidden(parser, name, QString());
}

// Qt ends the program with an abort when it finds no window system: say
// why in one line and end instead. A platform of another kind (offscreen,
// vnc) needs no display.
bool displayMissing(const QCommandLineParser& parser) {
    const QString platform = parser.isSet(QStringLiteral("platform")) ? parser.value(QStringLiteral("platform"))
                                                                      : qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool needsDisplay = platform.isEmpty() || platform.startsWith(u"xcb") || platform.startsWith(u"wayland");
    return needsDisplay && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("torvane"));
    QCommandLineParser parser;
    addOptions(parser);
    if (const std::optional<int> status =
            torvane::command_line::parse(parser, torvane::command_line::argumentsOf(argc, argv)))
        return *status;
    if (displayMissing(parser)) {
        std::fprintf(stderr, "torvane: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return 1;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(TORVANE_APP_ID));
    return torvane::runTorvane(app, parser.isSet(kComputer));
}
