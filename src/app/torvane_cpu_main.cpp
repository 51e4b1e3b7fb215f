// torvane-cpu: the computer opponent. It solves the game, then either prints
// what it found (--solve) or plays over one connection until it closes.

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTextStream>
#include <cstdio>
#include <iostream>

#include "app/command_line.h"
#include "cpu/cpu_options.h"
#include "cpu/cpu_peer.h"
#include "cpu/solve_report.h"

namespace {

constexpr int kFailure = 1;

int play(const torvane::CpuOptions& options, const torvane::Solution& solution) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::uint32_t seed = options.seed.value_or(QRandomGenerator::system()->generate());
    out << "level " << options.level << ", seed " << seed << Qt::endl;
    const std::unique_ptr<torvane::Policy> policy = torvane::makePolicy(options.level, solution, seed);
    torvane::PlayerConfig config;
    config.name = options.name;
    config.isServer = options.mode == torvane::CpuOptions::Mode::Listen;
    config.starts = options.starts;
    config.moveDelayMs = options.delayMs;
    torvane::CpuPlayer player(config, *policy);
    torvane::CpuPeer peer(player, out, err);
    QObject::connect(&peer, &torvane::CpuPeer::finished, QCoreApplication::instance(), &QCoreApplication::exit);
    if (config.isServer) {
        if (!peer.listen(options.port)) return kFailure;
    } else {
        peer.connectTo(options.host, options.port);
    }
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("torvane-cpu"));
    QCommandLineParser parser;
    torvane::addCpuOptions(parser);
    if (const std::optional<int> status =
            torvane::command_line::parse(parser, torvane::command_line::argumentsOf(argc, argv)))
        return *status;
    const auto read = torvane::readCpuOptions(parser);
    if (const QString* error = std::get_if<QString>(&read)) return torvane::command_line::usageError(*error);
    QCoreApplication app(argc, argv);
    const auto& options = std::get<torvane::CpuOptions>(read);
    const torvane::Solution solution;
    if (options.mode == torvane::CpuOptions::Mode::Solve) {
        std::cout << torvane::solveReport(solution);
        return 0;
    }
    return play(options, solution);
}
