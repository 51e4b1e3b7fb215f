#pragma once
// Port forwarding by NAT-PMP: one UDP request to the default gateway, which
// picks the outside port itself (usually the one asked for). Checking is
// renewing: the answer re-creates a mapping a restarted router forgot, and
// its epoch tells whether it had.

#include "net/port_mapping.h"

namespace torvane {

class NatPmpMapping : public RouterMapping {
public:
    MappingResult open(quint16 port, quint32 lease, Deadline deadline) override;
    MappingResult check(quint16 port, quint32 lease, Deadline deadline) override { return open(port, lease, deadline); }
    void remove(quint16 port, Deadline deadline) override;
    QByteArrayList hold() const override { return {QByteArray::number(externalPort_)}; }
    bool restore(const QByteArrayList& hold) override;

private:
    // The outside port the gateway gave, asked for again on renewal.
    quint16 externalPort_ = 0;
};

}  // namespace torvane
