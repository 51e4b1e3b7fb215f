#pragma once
// The command line of torvane-cpu.

#include <QCommandLineParser>
#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

#include "cpu/cpu_player.h"
#include "cpu/policy.h"

namespace torvane {

struct CpuOptions {
    enum class Mode { Solve, Connect, Listen };
    Mode mode = Mode::Solve;
    QString host;
    quint16 port = 0;
    QString name = PlayerConfig{}.name;
    int level = kPerfectLevel;
    std::optional<std::uint32_t> seed;  // none: a fresh one each run
    int delayMs = PlayerConfig{}.moveDelayMs;
    StartPolicy starts = StartPolicy::Never;
};

void addCpuOptions(QCommandLineParser& parser);

// The options from a parser that has read the command line, or why they
// make no sense.
std::variant<CpuOptions, QString> readCpuOptions(const QCommandLineParser& parser);

}  // namespace torvane
