#pragma once
// Port forwarding by NAT-PMP: one UDP request to the default gateway, which
// picks the outside port itself (usually the one asked for).

#include "net/port_mapping.h"

namespace torvane {

class NatPmpMapping : public RouterMapping {
public:
    MappingResult Open(quint16 port, Deadline deadline) override;
    void Remove(Deadline deadline) override;

private:
    quint16 port_ = 0;
    // The outside port the gateway gave, asked for again on renewal.
    quint16 externalPort_ = 0;
};

}  // namespace torvane
