#include "cpu/cpu_options.h"

#include <QCommandLineOption>
#include <array>

#include "net/port_text.h"

namespace torvane {

namespace {

const QString kSolve = QStringLiteral("solve");
const QString kConnect = QStringLiteral("connect");
const QString kListen = QStringLiteral("listen");
const QString kName = QStringLiteral("name");
const QString kLevel = QStringLiteral("level");
const QString kSeed = QStringLiteral("seed");
const QString kDelay = QStringLiteral("delay-ms");
const QString kStarts = QStringLiteral("starts");

struct Named {
    const char* text;
    int value;
};

constexpr std::array<Named, 2> kLevelNames = {{{"perfect", kPerfectLevel}, {"easy", kEasiestLevel}}};
constexpr std::array<Named, 3> kStartPolicies = {{{"never", int(StartPolicy::Never)},
                                                  {"alternate", int(StartPolicy::Alternate)},
                                                  {"always", int(StartPolicy::Always)}}};

template <std::size_t N>
std::optional<int> lookup(const std::array<Named, N>& names, const QString& text) {
    for (const Named& named : names) {
        if (text == QLatin1String(named.text)) return named.value;
    }
    return std::nullopt;
}

// A number from the easiest to the perfect level, or one of their names.
std::optional<int> readLevel(const QString& text) {
    bool ok = false;
    const int level = text.toInt(&ok);
    if (!ok) return lookup(kLevelNames, text);
    if (level < kEasiestLevel || level > kPerfectLevel) return std::nullopt;
    return level;
}

// "HOST:PORT"; the last colon splits, so a bracketed IPv6 host also works.
std::optional<QString> readEndpoint(const QString& text, CpuOptions& options) {
    const qsizetype colon = text.lastIndexOf(u':');
    const std::optional<quint16> port = colon > 0 ? parsePort(text.mid(colon + 1)) : std::nullopt;
    if (!port || *port == 0) return QStringLiteral("--connect needs HOST:PORT with a port from 1 to 65535");
    options.host = text.left(colon);
    if (options.host.startsWith(u'[') && options.host.endsWith(u']')) options.host = options.host.mid(1).chopped(1);
    options.port = *port;
    return std::nullopt;
}

std::optional<QString> readMode(const QCommandLineParser& parser, CpuOptions& options) {
    const int modes = int(parser.isSet(kSolve)) + int(parser.isSet(kConnect)) + int(parser.isSet(kListen));
    if (modes != 1) return QStringLiteral("give exactly one of --solve, --connect HOST:PORT and --listen PORT");
    if (parser.isSet(kSolve)) return std::nullopt;
    if (parser.isSet(kConnect)) {
        options.mode = CpuOptions::Mode::Connect;
        return readEndpoint(parser.value(kConnect), options);
    }
    options.mode = CpuOptions::Mode::Listen;
    const std::optional<quint16> port = parsePort(parser.value(kListen));
    if (!port) return QStringLiteral("--listen needs a port from 0 to 65535");
    options.port = *port;
    return std::nullopt;
}

std::optional<QString> readPlay(const QCommandLineParser& parser, CpuOptions& options) {
    if (parser.isSet(kName)) options.name = parser.value(kName);
    if (options.name.isEmpty()) return QStringLiteral("--name must not be empty");
    const std::optional<int> level = readLevel(parser.value(kLevel));
    if (!level) return QStringLiteral("--level is a number from 1 (easy) to 5 (perfect), or easy or perfect");
    options.level = *level;
    const std::optional<int> starts = lookup(kStartPolicies, parser.value(kStarts));
    if (!starts) return QStringLiteral("--starts is never, alternate or always");
    options.starts = static_cast<StartPolicy>(*starts);
    bool ok = false;
    options.delayMs = parser.value(kDelay).toInt(&ok);
    if (!ok || options.delayMs < 0) return QStringLiteral("--delay-ms needs a number of milliseconds");
    if (!parser.isSet(kSeed)) return std::nullopt;
    options.seed = parser.value(kSeed).toUInt(&ok);
    if (!ok) return QStringLiteral("--seed needs a number from 0 to 4294967295");
    return std::nullopt;
}

}  // namespace

void addCpuOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("A computer opponent for the Torvane game."));
    parser.addOptions({
        {kSolve, QStringLiteral("Solve the game and print the value of the start and the counts of positions.")},
        {kConnect, QStringLiteral("Connect to the game program's server (retried for a minute)."),
         QStringLiteral("HOST:PORT")},
        {kListen, QStringLiteral("Be the server: wait for the game program on PORT."), QStringLiteral("PORT")},
        {kName, QStringLiteral("The computer's nickname (default %1).").arg(PlayerConfig{}.name),
         QStringLiteral("name"), PlayerConfig{}.name},
        {kLevel, QStringLiteral("1 (easy) to 5 (perfect, the default); easy and perfect name 1 and 5."),
         QStringLiteral("level"), QString::number(kPerfectLevel)},
        {kSeed, QStringLiteral("Seed for choosing among equal moves."), QStringLiteral("N")},
        {kDelay, QStringLiteral("Pause before each move (default %1).").arg(PlayerConfig{}.moveDelayMs),
         QStringLiteral("ms"), QString::number(PlayerConfig{}.moveDelayMs)},
        {kStarts,
         QStringLiteral("Whether the computer starts the next game itself: never, alternate (after each game "
                        "the rival started) or always (the first game too); never by default."),
         QStringLiteral("when"), QStringLiteral("never")},
    });
}

std::variant<CpuOptions, QString> readCpuOptions(const QCommandLineParser& parser) {
    CpuOptions options;
    if (std::optional<QString> error = readMode(parser, options)) return *error;
    if (std::optional<QString> error = readPlay(parser, options)) return *error;
    return options;
}

}  // namespace torvane
