#pragma once
#include <vector>

#include "app/presenters/DialogView.h"
#include "core/Host.h"

namespace vedozer {

// A presenter that wants the engine's events while long work runs.
class HostListener {
public:
    virtual ~HostListener() = default;
    virtual void onScanStageStarted(const ScanStageStarted&) {}
    virtual void onScanProgress(const ScanProgress&) {}
    virtual void onItemFound(const ItemFound&) {}
    virtual void onRemovalProgress(const RemovalProgress&) {}
    virtual void onItemRemoved(const ItemRemoved&) {}
    virtual void onUpdateProgress(const UpdateProgress&) {}
    // True when the listener showed the notice itself (no message box then).
    virtual bool onNotice(const Notice&) { return false; }
};

// The desktop program's Host: the engine's events go to the presenters that listen, questions
// to the toolkit's modal message boxes, and every yield runs the toolkit's pending events
// (that is where Pause and Stop are clicked during a scan).
class DesktopHost : public Host {
public:
    explicit DesktopHost(DialogView& dialogs) : m_dialogs(dialogs) {}

    void addListener(HostListener* listener) { m_listeners.push_back(listener); }

    void yield() override;
    Answer ask(const Question& question) override;
    void onScanStageStarted(const ScanStageStarted& e) override;
    void onScanProgress(const ScanProgress& e) override;
    void onItemFound(const ItemFound& e) override;
    void onRemovalProgress(const RemovalProgress& e) override;
    void onItemRemoved(const ItemRemoved& e) override;
    void onUpdateProgress(const UpdateProgress& e) override;
    void onNotice(const Notice& n) override;

    // How many yields ran so far (front ends may throttle repaints by it).
    uint64_t yields() const { return m_yields; }

private:
    DialogView& m_dialogs;
    std::vector<HostListener*> m_listeners;
    uint64_t m_yields = 0;
};

}  // namespace vedozer
