#pragma once
// Port forwarding by UPnP IGD: find the router by SSDP, then ask its
// WAN connection service over HTTP. The service's address is kept as the
// hold, so that checking and removing skip the search.

#include <QByteArray>

#include "net/port_mapping.h"

namespace torvane {

class UpnpMapping : public RouterMapping {
public:
    MappingResult open(quint16 port, quint32 lease, Deadline deadline) override;
    MappingResult check(quint16 port, quint32 lease, Deadline deadline) override;
    void remove(quint16 port, Deadline deadline) override;
    QByteArrayList hold() const override { return {controlUrl_, service_, lanAddress_}; }
    bool restore(const QByteArrayList& hold) override;

private:
    bool findRouter(Deadline deadline);
    // The router's outside address with Mapped when it is public, so that a
    // port may be asked for; else the failure that ends the asking.
    MappingResult external();
    MappingResult add(quint16 port, quint32 lease, const QHostAddress& external);

    QByteArray controlUrl_;
    QByteArray service_;
    // This machine's address as the router sees it.
    QByteArray lanAddress_;
};

}  // namespace torvane
