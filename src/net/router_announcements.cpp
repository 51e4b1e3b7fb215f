#include "net/router_announcements.h"

#include <QUdpSocket>
#include <algorithm>
#include <array>

namespace torvane {

namespace {

constexpr char kAllHosts[] = "224.0.0.1";
constexpr quint16 kAnnouncementPort = 5350;

// NAT-PMP's (version 0: result, epoch, outside address) and PCP's (version
// 2: lifetime, epoch, reserved bytes), both with the opcode for an answer
// nobody asked for and a result of 0 in byte 3.
struct Form {
    char version;
    qint64 size;
};
constexpr std::array<Form, 2> kForms = {{{0, 12}, {2, 24}}};
constexpr unsigned char kOpcode = 128;
constexpr qint64 kLongest = 24;

bool isAnnouncement(const std::array<char, kLongest + 1>& bytes, qint64 size) {
    const bool known = std::any_of(kForms.begin(), kForms.end(),
                                   [&](const Form& form) { return bytes[0] == form.version && size == form.size; });
    return known && static_cast<unsigned char>(bytes[1]) == kOpcode && bytes[3] == 0;
}

}  // namespace

void RouterAnnouncements::listen() {
    if (socket_) return;
    socket_ = new QUdpSocket(this);
    connect(socket_, &QUdpSocket::readyRead, this, &RouterAnnouncements::read);
    if (socket_->bind(QHostAddress::AnyIPv4, kAnnouncementPort,
                      QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        socket_->joinMulticastGroup(QHostAddress(QString::fromLatin1(kAllHosts)));
    }
}

// A byte more than an announcement shows a longer datagram, whose rest the
// read drops.
void RouterAnnouncements::read() {
    bool announced = false;
    while (socket_->hasPendingDatagrams()) {
        std::array<char, kLongest + 1> bytes{};
        announced = isAnnouncement(bytes, socket_->readDatagram(bytes.data(), bytes.size())) || announced;
    }
    if (announced) emit heard();
}

}  // namespace torvane
