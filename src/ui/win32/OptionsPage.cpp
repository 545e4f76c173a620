#include "ui/win32/OptionsPage.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <initializer_list>

#include "ui/win32/CaptionControls.h"
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
    LRESULT onNotify(NMHDR* header) override {
        m_page.tabNotify(header);
        return 0;
    }

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
    // The schedule's day list holds the ten days in their stored order; the captions name them.
    fillDayList();
}

void OptionsPage::fillDayList() {
    HWND day = m_tabs[2] ? m_tabs[2]->item(IDC_SCHEDULE_DAY) : nullptr;
    if (!day) return;
    SendMessageW(day, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : m_dayNames)
        SendMessageW(day, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(name).c_str()));
    SendMessageW(day, CB_SETCURSEL, static_cast<WPARAM>(m_day), 0);
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
    if (id == IDC_SCHEDULE_DAY && code == CBN_SELCHANGE) {
        int index = static_cast<int>(SendMessageW(m_tabs[2]->item(id), CB_GETCURSEL, 0, 0));
        if (index >= 0 && onScheduleDay) onScheduleDay(index);
        return;
    }
    if (id == IDC_SCHEDULE_APPLY && code == BN_CLICKED) {
        if (onScheduleApply) onScheduleApply();
        return;
    }
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

namespace {

std::optional<SYSTEMTIME> pickerValue(HWND picker) {
    SYSTEMTIME t{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID) return std::nullopt;
    return t;
}

void setPicker(HWND picker, const std::optional<SYSTEMTIME>& value) {
    if (value)
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&*value));
    else
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0);
}

}  // namespace

void OptionsPage::tabNotify(NMHDR* header) {
    if (header->code != DTN_DATETIMECHANGE) return;
    std::optional<SYSTEMTIME> t = pickerValue(header->hwndFrom);
    if (header->idFrom == IDC_SCHEDULE_DATE && onScheduleDate)
        onScheduleDate(t ? std::optional<CalendarDate>(CalendarDate{t->wYear, t->wMonth, t->wDay}) : std::nullopt);
    else if (header->idFrom == IDC_SCHEDULE_TIME && onScheduleTime)
        onScheduleTime(t ? std::optional<TimeOfDay>(TimeOfDay{t->wHour, t->wMinute, t->wSecond}) : std::nullopt);
}

void OptionsPage::setCaption(ProtectionCaption id, const std::string& text) {
    using C = ProtectionCaption;
    for (int i = 0; i < kScheduleDayCount; ++i)
        if (scheduleDayCaption(i) == id) {
            m_dayNames[static_cast<size_t>(i)] = text;
            fillDayList();
            return;
        }
    Tab* tab = m_tabs[2].get();
    if (!tab) return;
    switch (id) {
    case C::ScheduleDayTitle: return tab->setText(IDC_SCHEDULE_DAY_LABEL, text);
    case C::ScheduleDateTitle: return tab->setText(IDC_SCHEDULE_DATE_LABEL, text);
    case C::ScheduleTimeTitle: return tab->setText(IDC_SCHEDULE_TIME_LABEL, text);
    case C::ScheduleApply: return tab->setText(IDC_SCHEDULE_APPLY, text);
    default: return;
    }
}

void OptionsPage::showControls(const ScheduleControls& c) {
    Tab* tab = m_tabs[2].get();
    if (!tab) return;
    tab->setChecked(IDC_SCHEDULED_SCAN, c.enabled);
    tab->setChecked(IDC_AUTO_DELETE, c.autoDelete);
    m_day = c.day;
    SendMessageW(tab->item(IDC_SCHEDULE_DAY), CB_SETCURSEL, static_cast<WPARAM>(c.day), 0);
    tab->setEnabled(IDC_SCHEDULE_DAY, c.dayListEnabled);
    std::optional<SYSTEMTIME> date, time;
    if (c.date.value) {
        SYSTEMTIME t{};
        t.wYear = static_cast<WORD>(c.date.value->year);
        t.wMonth = static_cast<WORD>(c.date.value->month);
        t.wDay = static_cast<WORD>(c.date.value->day);
        date = t;
    }
    if (c.time.value) {
        SYSTEMTIME t{};
        GetLocalTime(&t);  // a time picker still carries a date
        t.wHour = static_cast<WORD>(c.time.value->hour);
        t.wMinute = static_cast<WORD>(c.time.value->minute);
        t.wSecond = static_cast<WORD>(c.time.value->second);
        t.wMilliseconds = 0;
        time = t;
    }
    setPicker(tab->item(IDC_SCHEDULE_DATE), date);
    setPicker(tab->item(IDC_SCHEDULE_TIME), time);
    tab->setEnabled(IDC_SCHEDULE_DATE, c.date.enabled);
    tab->setEnabled(IDC_SCHEDULE_TIME, c.time.enabled);
    tab->setEnabled(IDC_SCHEDULE_APPLY, c.applyEnabled);
}

}  // namespace vedozer::win32ui
