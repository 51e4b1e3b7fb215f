#include "ui/system_lines.h"

#include "ui/texts.h"

namespace torvane::text {

QString noticeLine(Notice notice) {
    switch (notice) {
    case Notice::OwnFirst: return kYouMoveFirst;
    case Notice::RivalFirst: return kYouMoveSecond;
    case Notice::Won: return kYouWin;
    case Notice::Lost: return kYouLose;
    case Notice::Draw: return kDraw;
    case Notice::NoName: return kErrorNoName;
    case Notice::NoChat: return kErrorNoChat;
    case Notice::NoMove: return kErrorNoMove;
    case Notice::NotConnected: break;
    }
    return kNotConnected;
}

QString failureLine(const SocketFailure& failure) {
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

QString routerLine(const MappingResult& result) {
    switch (result.outcome) {
    case MappingOutcome::Mapped:
        return kInternetOpen + result.external.toString() + ':' + QString::number(result.externalPort) +
               kAddressesClose;
    case MappingOutcome::NotPublic: return kRouterNotPublic.arg(result.external.toString());
    case MappingOutcome::PortTaken: return kRouterPortTaken;
    case MappingOutcome::Refused: return kRouterRefused;
    case MappingOutcome::NoRouter: break;
    }
    return kRouterSilent;
}

}  // namespace torvane::text
