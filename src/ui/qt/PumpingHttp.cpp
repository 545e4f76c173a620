#include "ui/qt/PumpingHttp.h"

#include <QEventLoop>

#include <utility>

namespace vedozer::qtui {

// One request's wait: a nested event loop, ended by the worker through this thread's queue.
class PumpingHttp::LoopWait : public EventWait {
public:
    explicit LoopWait(PumpingHttp& owner) : m_owner(owner) {}
    bool wait() override {
        if (m_owner.m_abandoned) return false;
        QEventLoop* outer = std::exchange(m_owner.m_waiting, &m_loop);
        m_loop.exec();  // until the worker has news, or the program closes
        m_owner.m_waiting = outer;
        return !m_owner.m_abandoned;
    }
    // A quit queued before exec() starts is taken by it, not lost.
    void wake() override { QMetaObject::invokeMethod(&m_loop, "quit", Qt::QueuedConnection); }

private:
    PumpingHttp& m_owner;
    QEventLoop m_loop;
};

PumpingHttp::PumpingHttp(Http& inner)
    : BackgroundHttp(inner, [this]() -> std::unique_ptr<EventWait> {
          if (m_abandoned) return nullptr;
          return std::make_unique<LoopWait>(*this);
      }) {}

void PumpingHttp::abandon() {
    m_abandoned = true;
    if (m_waiting) m_waiting->quit();
}

}  // namespace vedozer::qtui
