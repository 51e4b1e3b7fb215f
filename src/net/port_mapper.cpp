#include "net/port_mapper.h"

#include <algorithm>
#include <array>

#include "net/natpmp_mapping.h"
#include "net/upnp_mapping.h"

namespace torvane {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// All protocols together get this long to open a mapping, and removal this
// long at the end.
constexpr milliseconds kOpenBudget{4000};
constexpr milliseconds kRemoveBudget{2000};
// Renewal comes halfway through the lease the router granted, within these.
constexpr qint64 kShortestRenewalMs = 30'000;
constexpr qint64 kLongestRenewalMs = qint64{kLeaseSeconds} * 1000 / 2;

}  // namespace

// Lives on the mapper's thread; every call runs there in turn.
class PortMapWorker : public QObject {
    Q_OBJECT
public:
    void Open(quint16 port) {
        port_ = port;
        MappingResult best;
        const Deadline deadline = steady_clock::now() + kOpenBudget;
        for (RouterMapping* protocol : protocols_) {
            const MappingResult result = protocol->Open(port, deadline);
            if (result.outcome > best.outcome) best = result;
            if (result.outcome == MappingOutcome::Mapped) {
                holder_ = protocol;
                break;
            }
        }
        emit Opened(best);
    }
    void Renew() {
        if (holder_) holder_->Open(port_, steady_clock::now() + kOpenBudget);
    }
    void Remove() {
        if (holder_) holder_->Remove(steady_clock::now() + kRemoveBudget);
        holder_ = nullptr;
    }

signals:
    void Opened(const torvane::MappingResult& result);

private:
    NatPmpMapping natPmp_;
    UpnpMapping upnp_;
    const std::array<RouterMapping*, 2> protocols_ = {&natPmp_, &upnp_};
    RouterMapping* holder_ = nullptr;
    quint16 port_ = 0;
};

PortMapper::PortMapper(QObject* parent) : QObject(parent), worker_(std::make_unique<PortMapWorker>()) {
    qRegisterMetaType<MappingResult>();
    worker_->moveToThread(&thread_);
    connect(worker_.get(), &PortMapWorker::Opened, this, &PortMapper::OnOpened);
    connect(&renew_, &QTimer::timeout, worker_.get(), &PortMapWorker::Renew);
    thread_.start();
}

PortMapper::~PortMapper() {
    Close();
    // Runs after the removal Close queued, then the thread ends.
    QMetaObject::invokeMethod(worker_.get(), [this] { thread_.quit(); });
    thread_.wait();
}

void PortMapper::Open(quint16 port) {
    QMetaObject::invokeMethod(worker_.get(), [worker = worker_.get(), port] { worker->Open(port); });
}

void PortMapper::Close() {
    if (closed_) return;
    closed_ = true;
    renew_.stop();
    QMetaObject::invokeMethod(worker_.get(), &PortMapWorker::Remove);
}

void PortMapper::OnOpened(const MappingResult& result) {
    if (closed_) return;
    if (result.outcome == MappingOutcome::Mapped && result.lifetime > 0) {
        const qint64 halfLeaseMs = qint64{result.lifetime} * 1000 / 2;
        renew_.start(static_cast<int>(std::clamp<qint64>(halfLeaseMs, kShortestRenewalMs, kLongestRenewalMs)));
    }
    emit Opened(result);
}

}  // namespace torvane

#include "port_mapper.moc"
