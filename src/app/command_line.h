#pragma once
// What every program of the game does with its command line before it opens
// anything: --help, --version, and usage errors that point to --help.

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace torvane::command_line {

// The exit status of a command line that makes no sense.
constexpr int kUsageError = 2;

// argv as text, decoded as the terminal sent it.
QStringList argumentsOf(int argc, char* argv[]);

// Adds --help and --version to the program's own options, then reads
// `arguments`. Returns the exit status if the program stops here: after
// printing the help or the version, or after a usage error.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments);

// Prints `message` and the hint to --help on stderr; returns kUsageError.
int usageError(const QString& message);

}  // namespace torvane::command_line
