#pragma once
// Asks the home router to forward the listening port to this machine, keeps
// the mapping alive and gives it back. The router is asked on a worker
// thread, NAT-PMP first and then UPnP IGD, so a slow, silent or confused
// router never holds up the window; the outcome comes back as a signal.

#include <QObject>
#include <QThread>
#include <QTimer>
#include <memory>

#include "net/port_mapping.h"

namespace torvane {

class PortMapWorker;

class PortMapper : public QObject {
    Q_OBJECT
public:
    explicit PortMapper(QObject* parent = nullptr);
    // Gives the mapping back, waiting a few seconds at most for the router.
    ~PortMapper() override;

    // Asks for `port`; Opened follows once. Renewed until Close.
    void Open(quint16 port);
    // Gives the mapping back in the background; nothing is reported after.
    void Close();

signals:
    void Opened(const torvane::MappingResult& result);

private:
    void OnOpened(const MappingResult& result);

    QThread thread_;
    std::unique_ptr<PortMapWorker> worker_;
    QTimer renew_;
    bool closed_ = false;
};

}  // namespace torvane
