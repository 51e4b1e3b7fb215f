#include "ui/failure_text.h"

#include "ui/texts.h"

namespace torvane::text {

QString FailureText(const SocketFailure& failure) {
    switch (failure.kind) {
    case SocketFailure::Kind::Refused: return kRefused;
    case SocketFailure::Kind::HostNotFound: return kHostNotFound;
    case SocketFailure::Kind::TimedOut: return kTimedOut;
    case SocketFailure::Kind::PortInUse: return kPortInUse.arg(failure.port);
    case SocketFailure::Kind::PortDenied: return kPortDenied.arg(failure.port);
    case SocketFailure::Kind::Other: break;
    }
    return kOtherError + failure.detail;
}

}  // namespace torvane::text
