#include "ui/win32/OptionsPage.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <initializer_list>

#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

// One tab page: a child dialog over the tab strip's display area.
class OptionsPage::Tab : public DialogBase {
public:
    explicit Tab(OptionsPage& page) : m_page(page) {}
    bool create(UINT templateId, HWND parent) { return DialogBase::create(templateId, parent); }

protected:
    void onInit() override {
        EnableThemeDialogTexture(hwnd(), ETDT_ENABLETAB);
        // Group boxes and notes take the page's width; the controls inside keep their places.
        for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[16] = {};
            GetClassNameW(child, kind, 16);
            LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
            bool group = lstrcmpiW(kind, L"Button") == 0 && type == BS_GROUPBOX;
            bool note = GetDlgCtrlID(child) == IDC_PROTECTION_NOTE;
            if (group || note) m_layout.anchor(GetDlgCtrlID(child), AnchorLeft | AnchorTop | AnchorRight);
        }
    }
    void onCommand(int id, int code) override { m_page.tabCommand(id, code); }

private:
    OptionsPage& m_page;
};

namespace {

constexpr UINT kTabTemplates[kOptionsTabCount] = {IDD_OPTIONS_SCANNING, IDD_OPTIONS_PROTECTION, IDD_OPTIONS_SCHEDULE,
                                                  IDD_OPTIONS_GENERAL};

constexpr int kOptionControls[kOptionControlCount] = {
    IDC_WRITE_REPORT,       IDC_SCAN_MEMORY,         IDC_SCAN_REGISTRY,           IDC_SCAN_COOKIES,
    IDC_SEND_DATA,          IDC_RUN_AT_STARTUP,      IDC_AUTOMATIC_UPDATE,        IDC_SCHEDULED_SCAN,
    IDC_AUTO_DELETE,        IDC_MEMORY_SHIELD_ON,    IDC_MEMORY_SHIELD_OFF,       IDC_MEMORY_SHIELD_CHECK,
    IDC_HOME_PAGE_SHIELD_ON, IDC_HOME_PAGE_SHIELD_OFF, IDC_HOME_PAGE_SHIELD_CHECK, IDC_HOME_PAGE_ASK,
    IDC_HOME_PAGE_SILENT,
};
static_assert(static_cast<int>(OptionControl::HomePageSilent) == 16, "one control id per option");

int controlOf(OptionControl option) { return kOptionControls[static_cast<int>(option)]; }

struct CaptionControl {
    CaptionId caption;
    int control;
};

constexpr CaptionControl kCaptions[] = {
    {CaptionId::OptionsFrame, IDC_OPTIONS_HEADING},
    {CaptionId::ScanOptionsFrame, IDC_SCAN_OPTIONS_GROUP},
    {CaptionId::MemoryShieldFrame, IDC_MEMORY_SHIELD_GROUP},
    {CaptionId::HomePageShieldFrame, IDC_HOME_PAGE_SHIELD_GROUP},
    {CaptionId::ScheduleFrame, IDC_SCHEDULE_GROUP},
    {CaptionId::WriteReportOption, IDC_WRITE_REPORT},
    {CaptionId::ScanMemoryOption, IDC_SCAN_MEMORY},
    {CaptionId::ScanRegistryOption, IDC_SCAN_REGISTRY},
    {CaptionId::ScanCookiesOption, IDC_SCAN_COOKIES},
    {CaptionId::SendDataOption, IDC_SEND_DATA},
    {CaptionId::RunAtStartupOption, IDC_RUN_AT_STARTUP},
    {CaptionId::AutomaticUpdateOption, IDC_AUTOMATIC_UPDATE},
    {CaptionId::ScheduledScanOption, IDC_SCHEDULED_SCAN},
    {CaptionId::AutoDeleteOption, IDC_AUTO_DELETE},
    {CaptionId::MemoryShieldOnOption, IDC_MEMORY_SHIELD_ON},
    {CaptionId::MemoryShieldOffOption, IDC_MEMORY_SHIELD_OFF},
    {CaptionId::MemoryShieldCheck, IDC_MEMORY_SHIELD_CHECK},
    {CaptionId::HomePageShieldOnOption, IDC_HOME_PAGE_SHIELD_ON},
    {CaptionId::HomePageShieldOffOption, IDC_HOME_PAGE_SHIELD_OFF},
    {CaptionId::HomePageShieldCheck, IDC_HOME_PAGE_SHIELD_CHECK},
    {CaptionId::HomePageAskOption, IDC_HOME_PAGE_ASK},
    {CaptionId::HomePageSilentOption, IDC_HOME_PAGE_SILENT},
    {CaptionId::ProtectionNotHere, IDC_PROTECTION_NOTE},
};

constexpr CaptionId kTabCaptions[kOptionsTabCount] = {CaptionId::OptionsTabScanning, CaptionId::OptionsTabProtection,
                                                      CaptionId::OptionsTabSchedule, CaptionId::OptionsTabGeneral};

}  // namespace

OptionsPage::OptionsPage() = default;
OptionsPage::~OptionsPage() = default;

bool OptionsPage::create(HWND mainWindow) { return DialogBase::create(IDD_OPTIONS_PAGE, mainWindow); }

void OptionsPage::onInit() {
    makeHeading(IDC_OPTIONS_HEADING);
    m_layout.anchor(IDC_OPTIONS_HEADING, AnchorLeft | AnchorTop | AnchorRight);
    m_layout.anchor(IDC_OPTIONS_TABS, AnchorAll);
    HWND tabs = item(IDC_OPTIONS_TABS);
    // The tab pages are children of the strip: it paints its frame first and they draw over it,
    // and Tab walks from the strip into the page that shows.
    SetWindowLongW(tabs, GWL_EXSTYLE, GetWindowLongW(tabs, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    SetWindowLongW(tabs, GWL_STYLE, GetWindowLongW(tabs, GWL_STYLE) | WS_CLIPCHILDREN);
    for (int i = 0; i < kOptionsTabCount; ++i) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(L"");
        TabCtrl_InsertItem(tabs, i, &tab);
        m_tabs[static_cast<size_t>(i)] = std::make_unique<Tab>(*this);
        m_tabs[static_cast<size_t>(i)]->create(kTabTemplates[i], tabs);
    }
    placeTabs();
    showTab(0);
    // The schedule's day list: the days of the week in the person's language, Sunday first.
    HWND day = m_tabs[2]->item(IDC_SCHEDULE_DAY);
    for (LCTYPE name : {LOCALE_SDAYNAME7, LOCALE_SDAYNAME1, LOCALE_SDAYNAME2, LOCALE_SDAYNAME3, LOCALE_SDAYNAME4,
                        LOCALE_SDAYNAME5, LOCALE_SDAYNAME6}) {
        wchar_t text[80] = {};
        GetLocaleInfoW(LOCALE_USER_DEFAULT, name, text, 80);
        SendMessageW(day, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageW(day, CB_SETCURSEL, 0, 0);
}

void OptionsPage::placeTabs() {
    HWND tabs = item(IDC_OPTIONS_TABS);
    if (!tabs) return;
    RECT r;
    GetClientRect(tabs, &r);
    TabCtrl_AdjustRect(tabs, FALSE, &r);
    for (auto& tab : m_tabs)
        if (tab)
            SetWindowPos(tab->hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

void OptionsPage::onSize() {
    DialogBase::onSize();
    placeTabs();
}

OptionsPage::Tab* OptionsPage::tabOf(int controlId) {
    for (auto& tab : m_tabs)
        if (tab && tab->item(controlId)) return tab.get();
    return nullptr;
}

void OptionsPage::setCaption(CaptionId id, const std::string& text) {
    for (int i = 0; i < kOptionsTabCount; ++i)
        if (kTabCaptions[i] == id) {
            std::wstring wide = widen(text);
            TCITEMW tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = wide.data();
            TabCtrl_SetItem(item(IDC_OPTIONS_TABS), i, &tab);
            return;
        }
    for (const CaptionControl& c : kCaptions)
        if (c.caption == id) {
            if (c.control == IDC_OPTIONS_HEADING)
                setText(c.control, text);
            else if (Tab* tab = tabOf(c.control))
                tab->setText(c.control, text);
        }
}

void OptionsPage::setOption(OptionControl control, bool checked) {
    if (Tab* tab = tabOf(controlOf(control))) tab->setChecked(controlOf(control), checked);
}

void OptionsPage::setOptionEnabled(OptionControl control, bool enabled) {
    if (Tab* tab = tabOf(controlOf(control))) tab->setEnabled(controlOf(control), enabled);
}

void OptionsPage::setOptionVisible(OptionControl control, bool visible) {
    if (Tab* tab = tabOf(controlOf(control))) tab->setVisible(controlOf(control), visible);
}

void OptionsPage::showProtectionNote(bool visible) {
    if (Tab* tab = tabOf(IDC_PROTECTION_NOTE)) tab->setVisible(IDC_PROTECTION_NOTE, visible);
}

void OptionsPage::setScheduleControlsEnabled(bool enabled) {
    for (int id : {IDC_SCHEDULE_DAY, IDC_SCHEDULE_DATE, IDC_SCHEDULE_TIME})
        if (Tab* tab = tabOf(id)) tab->setEnabled(id, enabled);
}

void OptionsPage::showTab(int index) {
    if (index < 0 || index >= kOptionsTabCount) return;
    m_current = index;
    TabCtrl_SetCurSel(item(IDC_OPTIONS_TABS), index);
    for (int i = 0; i < kOptionsTabCount; ++i)
        ShowWindow(m_tabs[static_cast<size_t>(i)]->hwnd(), i == index ? SW_SHOW : SW_HIDE);
}

LRESULT OptionsPage::onNotify(NMHDR* header) {
    if (header->idFrom == IDC_OPTIONS_TABS && header->code == TCN_SELCHANGE) {
        int index = TabCtrl_GetCurSel(item(IDC_OPTIONS_TABS));
        if (onTab)
            onTab(index);
        else
            showTab(index);
    }
    return 0;
}

void OptionsPage::tabCommand(int id, int code) {
    if (code != BN_CLICKED || !onOption) return;
    for (int i = 0; i < kOptionControlCount; ++i) {
        if (kOptionControls[i] != id) continue;
        Tab* tab = tabOf(id);
        bool checked = tab && tab->isChecked(id);
        LONG type = GetWindowLongW(tab->item(id), GWL_STYLE) & BS_TYPEMASK;
        // An option button reports only being chosen; the other of its pair follows.
        if ((type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) && !checked) return;
        onOption(static_cast<OptionControl>(i), checked);
        return;
    }
}

}  // namespace vedozer::win32ui
