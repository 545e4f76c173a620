#include "ui/qt/QtTimers.h"

namespace vedozer::qtui {

QtTimers::~QtTimers() { detachAll(); }

void QtTimers::attach(LogicalTimer& timer) {
    auto qtimer = std::make_unique<QTimer>();
    QTimer* q = qtimer.get();
    QObject::connect(q, &QTimer::timeout, q, [this, &timer] {
        if (m_wrapper)
            m_wrapper([&timer] { timer.tick(); });
        else
            timer.tick();
    });
    timer.setObserver([q](const LogicalTimer& t) {
        q->setInterval(static_cast<int>(t.interval()));
        if (t.enabled() && !q->isActive()) q->start();
        if (!t.enabled()) q->stop();
    });
    q->setInterval(static_cast<int>(timer.interval()));
    if (timer.enabled()) q->start();
    m_driven.push_back({&timer, std::move(qtimer)});
}

void QtTimers::detachAll() {
    for (Driven& d : m_driven) {
        d.qtimer->stop();
        d.timer->setObserver({});
    }
    m_driven.clear();
}

}  // namespace vedozer::qtui
