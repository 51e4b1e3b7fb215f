#include "app/command_line.h"

#include <QCoreApplication>
#include <QTextStream>

#include "project_info.h"

namespace torvane::command_line {

namespace {

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

// Before QCoreApplication exists the parser does not know the program's name.
QString helpText(const QCommandLineParser& parser) {
    return parser.helpText().replace(QStringLiteral("<executable_name>"), QCoreApplication::applicationName());
}

}  // namespace

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments) {
    parser.addOptions({
        {{QStringLiteral("h"), kHelp}, QStringLiteral("Show this help and exit.")},
        {{QStringLiteral("v"), kVersion}, QStringLiteral("Show the version and exit.")},
    });
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    QTextStream out(stdout);
    if (parser.isSet(kHelp)) {
        out << helpText(parser);
        return 0;
    }
    if (parser.isSet(kVersion)) {
        out << QCoreApplication::applicationName() << ' ' << TORVANE_VERSION << Qt::endl;
        return 0;
    }
    return std::nullopt;
}

int usageError(const QString& message) {
    const QString name = QCoreApplication::applicationName();
    QTextStream(stderr) << name << ": " << message << Qt::endl
                        << "Try '" << name << " --help' for more information." << Qt::endl;
    return kUsageError;
}

}  // namespace torvane::command_line
