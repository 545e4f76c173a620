#include "ui/win32/TimerHost.h"

#include "core/LogicalTimer.h"

namespace vedozer::win32ui {

namespace {
constexpr const wchar_t* kClass = L"VedozerTimers";
}

TimerHost::TimerHost() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TimerHost::windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    m_window = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
}

TimerHost::~TimerHost() {
    for (LogicalTimer* t : m_timers) t->setObserver(nullptr);
    if (m_window) DestroyWindow(m_window);
}

void TimerHost::attach(LogicalTimer& timer) {
    m_timers.push_back(&timer);
    size_t index = m_timers.size() - 1;
    timer.setObserver([this, index](const LogicalTimer&) { sync(index); });
    sync(index);
}

void TimerHost::sync(size_t index) {
    LogicalTimer* t = m_timers[index];
    const UINT_PTR id = index + 1;
    if (t->enabled())
        SetTimer(m_window, id, t->interval() ? t->interval() : 1, nullptr);  // resets the period too
    else
        KillTimer(m_window, id);
}

LRESULT CALLBACK TimerHost::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TimerHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && self && wParam >= 1 && wParam <= self->m_timers.size()) {
        LogicalTimer* t = self->m_timers[wParam - 1];
        if (self->m_around)
            self->m_around([t] { t->tick(); });
        else
            t->tick();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace vedozer::win32ui
