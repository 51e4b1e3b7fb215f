#include "ui/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "ui/bitmaps.h"
#include "ui/fonts.h"
#include "ui/game_window.h"
#include "ui/prompter.h"
#include "ui/quit_signals.h"

namespace torvane {

namespace {

const QString kCannotRead = QStringLiteral("画像ファイルを読み込めません：%1");
const QString kStartupErrorTitle = QStringLiteral("起動エラー");

// Platforms with no screen a person could see a message box on.
bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

void reportMissingBitmap(const QString& path) {
    const QString message = kCannotRead.arg(path);
    std::fprintf(stderr, "torvane: %s\n", message.toLocal8Bit().constData());
    if (hasDisplay()) QMessageBox::critical(nullptr, kStartupErrorTitle, message);
}

}  // namespace

int runTorvane(QApplication& app, bool vsComputer) {
    fonts::installSubstitutes();
    const QString unreadable = bitmap::firstUnreadable();
    if (!unreadable.isEmpty()) {
        reportMissingBitmap(unreadable);
        return 1;
    }
    QuitSignals quitSignals;
    MessageBoxPrompter prompter;
    GameOptions options;
    options.forwardPort = true;
    options.remember = true;
    GameWindow window(prompter, options);
    // The menu's "play against the computer" entry opens the dialog with that role chosen.
    window.open(vsComputer ? std::optional(ConnectionSettings::Role::Computer) : std::nullopt);
    return app.exec();
}

}  // namespace torvane
