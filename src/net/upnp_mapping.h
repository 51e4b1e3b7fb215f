#pragma once
// Port forwarding by UPnP IGD: find the router by SSDP, then ask its
// WAN connection service over HTTP. The router found is kept for renewal
// and removal.

#include <miniupnpc/miniupnpc.h>

#include <QByteArray>

#include "net/port_mapping.h"

namespace torvane {

class UpnpMapping : public RouterMapping {
public:
    UpnpMapping() = default;
    ~UpnpMapping() override;
    UpnpMapping(const UpnpMapping&) = delete;
    UpnpMapping& operator=(const UpnpMapping&) = delete;

    MappingResult Open(quint16 port, Deadline deadline) override;
    void Remove(Deadline deadline) override;

private:
    bool FindRouter(Deadline deadline);
    MappingResult Add(quint16 port, const QHostAddress& external);
    const char* ControlUrl() const { return urls_.controlURL; }
    const char* Service() const { return igd_.first.servicetype; }

    bool found_ = false;
    UPNPUrls urls_{};
    IGDdatas igd_{};
    // This machine's address as the router sees it.
    QByteArray lanAddress_;
    quint16 port_ = 0;
};

}  // namespace torvane
