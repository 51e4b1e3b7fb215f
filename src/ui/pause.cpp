#include "ui/pause.h"

#include <QEventLoop>
#include <QTimer>

namespace torvane {

void EventLoopPause::Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms / divisor_, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace torvane
