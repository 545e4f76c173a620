#include "app/presenters/DesktopHost.h"

namespace vedozer {

void DesktopHost::yield() {
    ++m_yields;
    m_dialogs.pumpEvents();
}

Answer DesktopHost::ask(const Question& question) { return m_dialogs.ask(question); }

void DesktopHost::onScanStageStarted(const ScanStageStarted& e) {
    for (HostListener* l : m_listeners) l->onScanStageStarted(e);
}

void DesktopHost::onScanProgress(const ScanProgress& e) {
    for (HostListener* l : m_listeners) l->onScanProgress(e);
}

void DesktopHost::onItemFound(const ItemFound& e) {
    for (HostListener* l : m_listeners) l->onItemFound(e);
}

void DesktopHost::onRemovalProgress(const RemovalProgress& e) {
    for (HostListener* l : m_listeners) l->onRemovalProgress(e);
}

void DesktopHost::onItemRemoved(const ItemRemoved& e) {
    for (HostListener* l : m_listeners) l->onItemRemoved(e);
}

void DesktopHost::onUpdateProgress(const UpdateProgress& e) {
    for (HostListener* l : m_listeners) l->onUpdateProgress(e);
}

void DesktopHost::onNotice(const Notice& n) {
    for (HostListener* l : m_listeners)
        if (l->onNotice(n)) return;
    m_dialogs.showNotice(n);
}

}  // namespace vedozer
