#pragma once
// Port forwarding by NAT-PMP: one UDP request to the default gateway, which
// picks the outside port itself (usually the one asked for). Checking is
// renewing: the answer re-creates a mapping a restarted router forgot, and
// its epoch tells whether it had.

#include "net/port_mapping.h"

namespace torvane {

class NatPmpMapping : public RouterMapping {
public:
    MappingResult Open(quint16 port, quint32 lease, Deadline deadline) override;
    MappingResult Check(quint16 port, quint32 lease, Deadline deadline) override { return Open(port, lease, deadline); }
    void Remove(quint16 port, Deadline deadline) override;
    QByteArrayList Hold() const override { return {QByteArray::number(externalPort_)}; }
    bool Restore(const QByteArrayList& hold) override;

private:
    // The outside port the gateway gave, asked for again on renewal.
    quint16 externalPort_ = 0;
};

}  // namespace torvane
