#include "ui/win32/ScanPage.h"

#include <commctrl.h>

#include <initializer_list>

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/ListView.h"
#include "ui/win32/CaptionControls.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

constexpr CaptionControl kCaptions[] = {
    {CaptionId::ScanFrame, IDC_SCAN_HEADING},
    {CaptionId::ScanStart, IDC_SCAN_NOW},
    {CaptionId::ScanPause, IDC_SCAN_PAUSE},
    {CaptionId::ScanStop, IDC_SCAN_STOP},
    {CaptionId::ScanContinue, IDC_SCAN_CONTINUE},
    {CaptionId::MemoryInspectedTitle, IDC_MEMORY_INSPECTED_TITLE},
    {CaptionId::RegistryInspectedTitle, IDC_REGISTRY_INSPECTED_TITLE},
    {CaptionId::FilesInspectedTitle, IDC_FILES_INSPECTED_TITLE},
    {CaptionId::SoftwareFoundTitle, IDC_SOFTWARE_FOUND_TITLE},
    {CaptionId::TracesFoundTitle, IDC_TRACES_FOUND_TITLE},
    {CaptionId::RunningProgramsTitle, IDC_RUNNING_PROGRAMS_TITLE},
    {CaptionId::CompleteScanMode, IDC_COMPLETE_SCAN},
    {CaptionId::QuickScanMode, IDC_QUICK_SCAN},
};

}  // namespace

int kindImageIndex(KindIcon icon) {
    switch (icon) {
    case KindIcon::None: return -1;
    case KindIcon::Cookie: return static_cast<int>(KindImage::Cookie);
    case KindIcon::Registry: return static_cast<int>(KindImage::Registry);
    case KindIcon::File: return static_cast<int>(KindImage::File);
    case KindIcon::Folder: return static_cast<int>(KindImage::Folder);
    case KindIcon::Excluded: return static_cast<int>(KindImage::Excluded);
    }
    return -1;
}

ScanPage::~ScanPage() {
    if (m_images) ImageList_Destroy(m_images);
}

bool ScanPage::create(HWND mainWindow) { return DialogBase::create(IDD_SCAN_PAGE, mainWindow); }

void ScanPage::onInit() {
    makeHeading(IDC_SCAN_HEADING);
    makeBold(IDC_SCAN_STAGE);
    HWND found = item(IDC_FOUND_LIST);
    HWND drives = item(IDC_DRIVE_LIST);
    listview::prepare(found, false);
    listview::prepare(drives, true);
    m_images = createKindImageList(dpiOf(hwnd()));
    ListView_SetImageList(found, m_images, LVSIL_SMALL);
    listview::setColumns(found, {L"Found"});
    listview::setColumns(drives, {L"Drive"});
    for (int id : {IDC_SCAN_STATUS_LINE}) m_layout.anchor(id, AnchorLeft | AnchorTop | AnchorRight);
    for (int id : {IDC_COMPLETE_SCAN, IDC_QUICK_SCAN, IDC_DRIVE_LIST}) m_layout.anchor(id, AnchorRight | AnchorTop);
    m_layout.anchor(IDC_SCAN_STAGE, AnchorLeft | AnchorTop | AnchorRight);
    m_layout.anchor(IDC_STAGE_PROGRESS, AnchorLeft | AnchorTop | AnchorRight);
    m_layout.anchor(IDC_SCAN_PROGRESS, AnchorLeft | AnchorTop | AnchorRight);
    m_layout.anchor(IDC_FOUND_LIST, AnchorAll);
    m_layout.anchor(IDC_SCAN_CONTINUE, AnchorLeft | AnchorBottom);
    for (int id : {IDC_STAGE_PROGRESS, IDC_SCAN_PROGRESS}) SendDlgItemMessageW(hwnd(), id, PBM_SETRANGE32, 0, 100);
}

void ScanPage::onSize() {
    DialogBase::onSize();
    listview::fillLastColumn(item(IDC_FOUND_LIST));
    listview::fillLastColumn(item(IDC_DRIVE_LIST));
}

void ScanPage::setCaption(CaptionId id, const std::string& text) {
    if (id == CaptionId::DriveColumn) return listview::setColumnTitle(item(IDC_DRIVE_LIST), 0, widen(text));
    if (id == CaptionId::FoundColumn) return listview::setColumnTitle(item(IDC_FOUND_LIST), 0, widen(text));
    if (id == CaptionId::ScanStartTooltip) return;  // no tooltips on this page yet
    for (const CaptionControl& c : kCaptions)
        if (c.caption == id) setText(c.control, text);
}

void ScanPage::showProgress(const ScanPageState& s) {
    setText(IDC_SCAN_STAGE, s.stageCaption);
    setText(IDC_SCAN_STATUS_LINE, s.statusLine);
    if (s.stagePercent != m_stagePercent) {
        m_stagePercent = s.stagePercent;
        SendDlgItemMessageW(hwnd(), IDC_STAGE_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(s.stagePercent), 0);
    }
    if (s.overallPercent != m_overallPercent) {
        m_overallPercent = s.overallPercent;
        SendDlgItemMessageW(hwnd(), IDC_SCAN_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(s.overallPercent), 0);
    }
    setText(IDC_MEMORY_INSPECTED, s.memoryInspected);
    setText(IDC_REGISTRY_INSPECTED, s.registryInspected);
    setText(IDC_FILES_INSPECTED, s.filesInspected);
    setText(IDC_SOFTWARE_FOUND, s.softwareFound);
    setText(IDC_TRACES_FOUND, s.traces);
    setText(IDC_RUNNING_PROGRAMS, s.runningPrograms);
}

void ScanPage::setControls(const ScanControls& c) {
    setEnabled(IDC_SCAN_NOW, c.startEnabled);
    setEnabled(IDC_SCAN_PAUSE, c.pauseEnabled);
    setEnabled(IDC_SCAN_STOP, c.stopEnabled);
    setVisible(IDC_SCAN_CONTINUE, c.continueVisible);
    // The default button follows what can be done now: Start when idle, Continue after a scan.
    int defaultId = c.continueVisible ? IDC_SCAN_CONTINUE : IDC_SCAN_NOW;
    SendMessageW(hwnd(), DM_SETDEFID, static_cast<WPARAM>(defaultId), 0);
}

void ScanPage::clearFound() { ListView_DeleteAllItems(item(IDC_FOUND_LIST)); }

void ScanPage::addFound(const std::string& text, KindIcon icon) {
    HWND list = item(IDC_FOUND_LIST);
    listview::addRow(list, {{widen(text)}, kindImageIndex(icon), false});
    ListView_EnsureVisible(list, ListView_GetItemCount(list) - 1, FALSE);
}

void ScanPage::showScanMode(ScanModeChoice mode, bool driveListVisible) {
    setChecked(IDC_COMPLETE_SCAN, mode == ScanModeChoice::Complete);
    setChecked(IDC_QUICK_SCAN, mode == ScanModeChoice::Quick);
    setVisible(IDC_DRIVE_LIST, driveListVisible);
}

void ScanPage::showDrives(const std::vector<DriveRow>& drives) {
    std::vector<listview::Row> rows;
    for (const DriveRow& d : drives) rows.push_back({{widen(d.letter)}, -1, d.checked});
    m_updating = true;
    listview::setRows(item(IDC_DRIVE_LIST), rows);
    m_updating = false;
    listview::fillLastColumn(item(IDC_DRIVE_LIST));
}

void ScanPage::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (onAction) {
        if (id == IDC_SCAN_NOW) onAction(Action::Start);
        if (id == IDC_SCAN_PAUSE) onAction(Action::Pause);
        if (id == IDC_SCAN_STOP) onAction(Action::Stop);
        if (id == IDC_SCAN_CONTINUE) onAction(Action::Continue);
    }
    if (onScanMode && (id == IDC_COMPLETE_SCAN || id == IDC_QUICK_SCAN) && isChecked(id))
        onScanMode(id == IDC_COMPLETE_SCAN ? ScanModeChoice::Complete : ScanModeChoice::Quick);
}

LRESULT ScanPage::onNotify(NMHDR* header) {
    if (header->idFrom == IDC_DRIVE_LIST && header->code == LVN_ITEMCHANGED && !m_updating && onDriveChecked) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        bool stateImageChanged = (change->uChanged & LVIF_STATE) &&
                                 ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) &&
                                 (change->uOldState & LVIS_STATEIMAGEMASK);  // 0: the row was just made
        if (stateImageChanged && change->iItem >= 0)
            onDriveChecked(static_cast<size_t>(change->iItem), ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2);
    }
    return 0;
}

}  // namespace vedozer::win32ui
