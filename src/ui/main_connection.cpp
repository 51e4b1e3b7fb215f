// Opening and closing the one connection to the rival.

#include <QLabel>
#include <QNetworkInterface>
#include <utility>

#include "cpu/local_computer.h"
#include "net/port_mapper.h"
#include "ui/bitmaps.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

namespace torvane {

namespace {

quint16 PortNumber(const QString& portText) { return static_cast<quint16>(portText.trimmed().toUInt()); }

// This computer's addresses another player can reach, loopback left out.
QStringList ReachableAddresses() {
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.isLinkLocal()) continue;
        QHostAddress plain = address;
        plain.setScopeId(QString());
        addresses << plain.toString();
    }
    return addresses;
}

// The line for the router's answer: the address the other player dials, or
// why there is none.
QString RouterPortLine(const MappingResult& result) {
    switch (result.outcome) {
    case MappingOutcome::Mapped:
        return text::kInternetOpen + result.external.toString() + ':' + QString::number(result.externalPort) +
               text::kAddressesClose;
    case MappingOutcome::NotPublic: return text::kRouterNotPublic.arg(result.external.toString());
    case MappingOutcome::PortTaken: return text::kRouterPortTaken;
    case MappingOutcome::Refused: return text::kRouterRefused;
    case MappingOutcome::NoRouter: break;
    }
    return text::kRouterSilent;
}

}  // namespace

// Runs once, as the hand-over from the accepted dialog.
void Main::Form_Activate() {
    if (!session_.settings.ConnectAccepted || networkStarted_) return;
    networkStarted_ = true;
    if (session_.settings.VsComputer) {
        StartComputer();
    } else if (session_.settings.IsServer) {
        StartListening();
    } else {
        StartConnecting();
    }
}

// The computer serves on the loopback address inside this program; the
// window joins it as a client, over a real connection like any rival.
void Main::StartComputer() {
    computer_ = new LocalComputer(this);
    if (!computer_->Start()) {
        delete std::exchange(computer_, nullptr);
        AddLine(text::kComputerFailed, true);
        return;
    }
    session_.settings.HostText = text::kLoopbackHost;
    session_.settings.PortText = QString::number(computer_->Port());
    StartConnecting();
}

void Main::StartListening() {
    const ConnectionSettings& settings = session_.settings;
    Winsock->SetLocalPort(PortNumber(settings.PortText));
    AddLine(text::kListening, false);
    session_.settings.ConnectAccepted = false;
    Winsock->Listen();
    OneSelf->setText(settings.NickName);
    if (Winsock->GetState() != torvane::Winsock::State::Listening) return;
    AddAddressLine();
    OpenRouterPort();
}

void Main::AddAddressLine() {
    const QStringList addresses = ReachableAddresses();
    if (addresses.isEmpty()) return;
    AddLine(text::kAddressesOpen + addresses.join(text::kAddressSeparator) + text::kAddressesClose, false);
}

void Main::OpenRouterPort() {
    if (!session_.settings.ForwardPort) return;
    portMapper_ = new PortMapper(session_.routerTiming, this);
    connect(portMapper_, &PortMapper::Opened, this, &Main::ShowRouterPort);
    connect(portMapper_, &PortMapper::Lost, this, [this] { AddLine(text::kRouterPortLost, false); });
    portMapper_->Open(Winsock->LocalPort());
}

void Main::ShowRouterPort(const MappingResult& result) { AddLine(RouterPortLine(result), false); }

// The connection ends for good: the router's mapping lasts only while the
// game can be reached, and the computer only while it has a rival.
void Main::EndConnection() {
    Winsock->Close();
    if (portMapper_) portMapper_->Close();
    delete std::exchange(computer_, nullptr);
}

void Main::StartConnecting() {
    const ConnectionSettings& settings = session_.settings;
    Winsock->Close();
    Winsock->SetRemoteHost(settings.HostText);
    Winsock->SetRemotePort(PortNumber(settings.PortText));
    AddLine(text::kConnecting, false);
    // On both screens the server's stones are green and the client's blue.
    for (int i = 0; i < kStoneCount; ++i) {
        Yourstone[i]->SetPicture(bitmap::Load(bitmap::kGreen, devicePixelRatioF()));
        Mystone[i]->SetPicture(bitmap::Load(bitmap::kBlue, devicePixelRatioF()));
    }
    OneSelf->setText(settings.NickName);
    Winsock->Connect();
}

void Main::Winsock_ConnectionRequest(qint32 requestId) {
    Winsock->Close();
    connection_->Accept(requestId);
    acceptedOne_ = true;
    AddLine(text::kAccepted, false);
}

void Main::Winsock_Connect() {
    AddLine(text::kConnected, false);
    session_.settings.ConnectAccepted = false;
    SendToRival({CnnctMessage(session_.settings.NickName)});
}

void Main::Winsock_Close() {
    if (ListenAgain()) return;
    AddLine(text::kDisconnected, true);
    EndConnection();
}

void Main::Winsock_Error(int /*number*/, const QString& description) {
    if (ListenAgain()) return;
    AddLine(description, false);
    EndConnection();
}

// A connection the server accepted that ends before its greeting came (a
// port scan, a health check) was no rival: the server listens again on the
// same port for the real one. After a greeting the end is final.
bool Main::ListenAgain() {
    if (!acceptedOne_ || connection_->Greeted()) return false;
    Winsock->Close();
    acceptedOne_ = false;
    AddLine(text::kListening, false);
    Winsock->Listen();
    return true;
}

}  // namespace torvane
