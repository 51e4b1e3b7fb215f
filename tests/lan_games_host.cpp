// A game announced on, or looking at, the local network, for
// lan_games_test.sh; a real game window can take its place in the script.
//
//   lan_games_host [--browse] [--publish NAME PORT]
//
// Commands on standard input, one a line: "publish NAME PORT", "withdraw",
// "quit" (as is the end of the input). Lines on standard output: "ready"
// once running, "published NAME" when the network holds the announcement
// (NAME after any renaming), "withdrawn", and on each change of the list of
// games found "games N" followed by N lines "game NAME ADDRESS PORT
// INTERFACE", tab-separated.

#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>

#include "net/game_browser.h"
#include "net/game_publisher.h"

using namespace torvane;

namespace {

void print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void printGames(const QList<FoundGame>& games) {
    print(QString("games %1").arg(games.size()));
    for (const FoundGame& game : games)
        print(QStringList{"game", game.name, game.address.toString(), QString::number(game.port), game.interfaceName}
                  .join('\t'));
}

// "publish NAME PORT", the name possibly with spaces; false if malformed.
bool publishFrom(GamePublisher& publisher, const QString& arguments) {
    const qsizetype lastSpace = arguments.lastIndexOf(' ');
    bool isNumber = false;
    const quint16 port = arguments.mid(lastSpace + 1).toUShort(&isNumber);
    if (lastSpace <= 0 || !isNumber) return false;
    publisher.publish(arguments.left(lastSpace), port);
    return true;
}

// Carries out one command line; false for one it does not know.
bool command(GamePublisher& publisher, const QString& line) {
    if (line == "quit") {
        QCoreApplication::quit();
    } else if (line == "withdraw") {
        publisher.withdraw();
        print("withdrawn");
    } else if (line.startsWith("publish ")) {
        return publishFrom(publisher, line.mid(8));
    } else {
        return false;
    }
    return true;
}

// Reads commands from standard input as they come, without blocking.
class CommandReader {
public:
    explicit CommandReader(GamePublisher& publisher)
        : publisher_(publisher), notifier_(STDIN_FILENO, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { read(); });
    }

private:
    void read() {
        char chunk[4096];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            notifier_.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending_.append(chunk, got);
        for (qsizetype end; (end = pending_.indexOf('\n')) >= 0; pending_.remove(0, end + 1)) {
            const QString line = QString::fromUtf8(pending_.left(end)).trimmed();
            if (!command(publisher_, line)) std::fprintf(stderr, "unknown command: %s\n", qPrintable(line));
        }
    }

    GamePublisher& publisher_;
    QSocketNotifier notifier_;
    QByteArray pending_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool browse = arguments.removeAll("--browse") > 0;
    const bool publish = arguments.size() == 3 && arguments[0] == "--publish";
    GamePublisher publisher;
    if ((!publish && !arguments.isEmpty()) || (publish && !publishFrom(publisher, arguments[1] + ' ' + arguments[2]))) {
        std::fprintf(stderr, "usage: lan_games_host [--browse] [--publish NAME PORT]\n");
        return 2;
    }
    QObject::connect(&publisher, &GamePublisher::published, [](const QString& name) { print("published " + name); });
    std::unique_ptr<GameBrowser> browser;
    if (browse) {
        browser = std::make_unique<GameBrowser>();
        QObject::connect(browser.get(), &GameBrowser::gamesChanged, [&browser] { printGames(browser->games()); });
    }
    CommandReader commands(publisher);
    print("ready");
    return QCoreApplication::exec();
}
