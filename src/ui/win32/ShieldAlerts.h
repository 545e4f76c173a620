#pragma once
#include <functional>
#include <map>
#include <string>

#include "app/presenters/ProtectionViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The shields' alerts: small modal windows on top of everything, centred on the screen (the main
// window may be hidden in the notification area). Neither has a default button: Enter alone
// decides nothing, Esc and the close box close without a choice.
class ThreatAlertWindow : public DialogBase, public ThreatAlertView {
public:
    ~ThreatAlertWindow() override;
    void setOwner(HWND owner) { m_owner = owner; }
    void setCaption(ProtectionCaption id, const std::string& text) override { m_captions[id] = text; }
    void setThreat(const std::string& fileName, const std::string& companyName) override;
    void setStopEnabled(bool enabled) override;
    void showModal() override;
    void close() override { endModal(IDCANCEL); }

    std::function<void()> onStop, onAllow, onClosed;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;

private:
    HWND m_owner = nullptr;
    HICON m_icon = nullptr;
    std::map<ProtectionCaption, std::string> m_captions;
    std::string m_fileName, m_companyName;
    bool m_stopEnabled = true;
};

class HomePageAlertWindow : public DialogBase, public HomePageAlertView {
public:
    ~HomePageAlertWindow() override;
    void setOwner(HWND owner) { m_owner = owner; }
    void setCaption(ProtectionCaption id, const std::string& text) override { m_captions[id] = text; }
    void setInfo(const std::string& text) override;
    void showModal() override;
    void close() override { endModal(IDCANCEL); }

    std::function<void()> onYes, onNo, onClosed;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;

private:
    HWND m_owner = nullptr;
    HICON m_icon = nullptr;
    std::map<ProtectionCaption, std::string> m_captions;
    std::string m_info;
};

}  // namespace vedozer::win32ui
