#include "ui/resources.h"

#include <QtGlobal>

// Outside any namespace, as the resource initialiser requires.
static void InitTorvaneResource() { Q_INIT_RESOURCE(torvane); }

namespace torvane {

QIcon AppIcon() {
    static const bool initialised = (InitTorvaneResource(), true);
    Q_UNUSED(initialised);
    return QIcon(QStringLiteral(":/torvane.png"));
}

}  // namespace torvane
