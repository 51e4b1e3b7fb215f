#include <QApplication>

#include "ui/startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("torvane"));
    return torvane::RunTorvane(app);
}
