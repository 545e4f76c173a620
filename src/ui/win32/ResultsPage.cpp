#include "ui/win32/ResultsPage.h"

#include <commctrl.h>

#include <initializer_list>

#include "ui/win32/Dpi.h"
#include "ui/win32/Icons.h"
#include "ui/win32/ListView.h"
#include "ui/win32/Resource.h"
#include "ui/win32/ScanPage.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

int actionControl(ResultsAction action) {
    switch (action) {
    case ResultsAction::SelectAll: return IDC_SELECT_ALL;
    case ResultsAction::Delete: return IDC_DELETE;
    case ResultsAction::Exclude: return IDC_EXCLUDE;
    }
    return 0;
}

RECT childRect(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void place(HWND dialog, int id, int left, int top, int right, int bottom) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, left, top, right - left, bottom > top ? bottom - top : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

ResultsPage::~ResultsPage() {
    if (m_images) ImageList_Destroy(m_images);
}

bool ResultsPage::create(HWND mainWindow) { return DialogBase::create(IDD_RESULTS_PAGE, mainWindow); }

void ResultsPage::onInit() {
    makeHeading(IDC_RESULTS_HEADING);
    HWND list = item(IDC_RESULTS_LIST);
    listview::prepare(list, true);
    listview::prepare(item(IDC_OUTCOME_LIST), false);
    m_images = createKindImageList(dpiOf(hwnd()));
    ListView_SetImageList(list, m_images, LVSIL_SMALL);
    listview::setColumns(list, {L"Name", L"Location", L"Type"});
    listview::setColumns(item(IDC_OUTCOME_LIST), {L"Item", L"Outcome", L"Reason"});
    for (int id : {IDC_RESULTS_HEADING, IDC_RESULTS_SUMMARY}) m_layout.anchor(id, AnchorLeft | AnchorTop | AnchorRight);
    for (int id : {IDC_SELECT_ALL, IDC_EXCLUDE}) m_layout.anchor(id, AnchorLeft | AnchorBottom);
    m_layout.anchor(IDC_DELETE, AnchorRight | AnchorBottom);
    m_layout.anchor(IDC_REMOVAL_CAPTION, AnchorLeft | AnchorBottom);
    m_layout.anchor(IDC_REMOVAL_ITEM, AnchorLeft | AnchorRight | AnchorBottom);
    m_layout.anchor(IDC_REMOVAL_PROGRESS, AnchorLeft | AnchorRight | AnchorBottom);
    SendDlgItemMessageW(hwnd(), IDC_REMOVAL_PROGRESS, PBM_SETRANGE32, 0, 100);
    for (int id : {IDC_REMOVAL_CAPTION, IDC_REMOVAL_ITEM, IDC_REMOVAL_PROGRESS, IDC_OUTCOME_LIST, IDC_RESULTS_EMPTY})
        setVisible(id, false);
    // The outcome list is a third of the results list as designed; it keeps that height.
}

int ResultsPage::dialogUnitsY(int units) const {
    RECT r{0, 0, 0, units};
    MapDialogRect(hwnd(), &r);
    return r.bottom;
}

void ResultsPage::onSize() {
    DialogBase::onSize();
    // The list fills what the summary line, the removal bar, the outcome list and the buttons
    // leave free.
    RECT summary = childRect(hwnd(), IDC_RESULTS_SUMMARY);
    RECT buttons = childRect(hwnd(), IDC_SELECT_ALL);
    RECT caption = childRect(hwnd(), IDC_REMOVAL_CAPTION);
    const int gap = dialogUnitsY(4), margin = dialogUnitsY(7);
    const int left = summary.left, right = summary.right;
    int bottom = (m_progressVisible ? caption.top : buttons.top) - margin;
    if (m_outcomesVisible) {
        int height = dialogUnitsY(44);
        place(hwnd(), IDC_OUTCOME_LIST, left, bottom - height, right, bottom);
        // Item, outcome and reason: two fifths, one fifth, the rest.
        RECT inside;
        GetClientRect(item(IDC_OUTCOME_LIST), &inside);
        int width = inside.right - GetSystemMetrics(SM_CXVSCROLL);
        listview::setColumnWidth(item(IDC_OUTCOME_LIST), 0, width * 2 / 5);
        listview::setColumnWidth(item(IDC_OUTCOME_LIST), 1, width / 5);
        listview::setColumnWidth(item(IDC_OUTCOME_LIST), 2, width - width * 2 / 5 - width / 5);
        bottom -= height + gap;
    }
    const int top = summary.bottom + gap;
    place(hwnd(), IDC_RESULTS_LIST, left, top, right, bottom);
    place(hwnd(), IDC_RESULTS_EMPTY, left + margin, top + (bottom - top) / 2 - dialogUnitsY(10), right - margin,
          top + (bottom - top) / 2 + dialogUnitsY(10));
    fillWithLocation();
}

void ResultsPage::fillWithLocation() {
    // The location column is the elastic one: it never goes below the width it was given, a name
    // or type that is cut off gets what the list has beyond that, and the location the rest.
    HWND list = item(IDC_RESULTS_LIST);
    std::vector<int> widths = listview::columnWidths(list);
    if (widths.size() < 3) return;
    if (m_locationBase < 0) m_locationBase = widths[1];
    RECT client;
    GetClientRect(list, &client);
    const int total = client.right - GetSystemMetrics(SM_CXVSCROLL);
    int spare = total - widths[0] - widths[2] - m_locationBase;
    if (spare <= 0) return;
    for (int column : {0, 2}) {
        int grow = listview::contentWidth(list, column) - widths[static_cast<size_t>(column)];
        if (grow <= 0) continue;
        if (grow > spare) grow = spare;
        widths[static_cast<size_t>(column)] += grow;
        listview::setColumnWidth(list, column, widths[static_cast<size_t>(column)]);
        spare -= grow;
    }
    listview::setColumnWidth(list, 1, total - widths[0] - widths[2]);
}

void ResultsPage::setCaption(CaptionId id, const std::string& text) {
    switch (id) {
    case CaptionId::ResultsFrame: return setText(IDC_RESULTS_HEADING, text);
    case CaptionId::ResultsNameColumn: return listview::setColumnTitle(item(IDC_RESULTS_LIST), 0, widen(text));
    case CaptionId::ResultsLocationColumn: return listview::setColumnTitle(item(IDC_RESULTS_LIST), 1, widen(text));
    case CaptionId::ResultsTypeColumn: return listview::setColumnTitle(item(IDC_RESULTS_LIST), 2, widen(text));
    case CaptionId::OutcomeItemColumn: return listview::setColumnTitle(item(IDC_OUTCOME_LIST), 0, widen(text));
    case CaptionId::OutcomeColumn: return listview::setColumnTitle(item(IDC_OUTCOME_LIST), 1, widen(text));
    case CaptionId::OutcomeReasonColumn: return listview::setColumnTitle(item(IDC_OUTCOME_LIST), 2, widen(text));
    case CaptionId::SelectAll: return setText(IDC_SELECT_ALL, text);
    case CaptionId::DeleteChecked: return setText(IDC_DELETE, text);
    case CaptionId::ExcludeChecked: return setText(IDC_EXCLUDE, text);
    case CaptionId::DeleteTooltip: return m_tips.set(hwnd(), IDC_DELETE, widen(text));
    default: return;  // texts the presenter puts together itself
    }
}

void ResultsPage::showRows(const std::vector<ResultRow>& rows) {
    std::vector<listview::Row> out;
    out.reserve(rows.size());
    for (const ResultRow& r : rows)
        out.push_back({{widen(r.name), widen(r.location), widen(r.type)}, kindImageIndex(r.icon), r.checked});
    m_updating = true;
    listview::setRows(item(IDC_RESULTS_LIST), out);
    m_updating = false;
    fillWithLocation();
}

void ResultsPage::showSummary(const std::string& summary) { setText(IDC_RESULTS_SUMMARY, summary); }

void ResultsPage::showEmptyText(const std::string& text) {
    m_emptyVisible = !text.empty();
    setText(IDC_RESULTS_EMPTY, text);
    setVisible(IDC_RESULTS_EMPTY, m_emptyVisible);
    setVisible(IDC_RESULTS_LIST, !m_emptyVisible);
}

void ResultsPage::setActionEnabled(ResultsAction action, bool enabled) { setEnabled(actionControl(action), enabled); }

void ResultsPage::showSortIndicator(ResultsColumn column, bool ascending) {
    listview::setSortArrow(item(IDC_RESULTS_LIST), static_cast<int>(column), ascending);
}

void ResultsPage::showRemovalProgress(const RemovalProgressView& p) {
    if (p.visible != m_progressVisible) {
        m_progressVisible = p.visible;
        for (int id : {IDC_REMOVAL_CAPTION, IDC_REMOVAL_ITEM, IDC_REMOVAL_PROGRESS}) setVisible(id, p.visible);
        onSize();
    }
    setText(IDC_REMOVAL_CAPTION, p.caption);
    setText(IDC_REMOVAL_ITEM, p.item);
    if (p.percent != m_progressPercent) {
        m_progressPercent = p.percent;
        SendDlgItemMessageW(hwnd(), IDC_REMOVAL_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(p.percent), 0);
    }
}

void ResultsPage::showOutcomes(const std::vector<OutcomeRow>& outcomes) {
    std::vector<listview::Row> rows;
    for (const OutcomeRow& o : outcomes) rows.push_back({{widen(o.item), widen(o.outcome), widen(o.reason)}, -1, false});
    listview::setRows(item(IDC_OUTCOME_LIST), rows);
    bool visible = !outcomes.empty();
    if (visible != m_outcomesVisible) {
        m_outcomesVisible = visible;
        setVisible(IDC_OUTCOME_LIST, visible);
        onSize();
    }
}

void ResultsPage::setColumnWidths(const std::vector<int>& twips) {
    int dpi = static_cast<int>(dpiOf(hwnd()));
    for (size_t i = 0; i < twips.size() && i < 3; ++i)
        listview::setColumnWidth(item(IDC_RESULTS_LIST), static_cast<int>(i), twipsToPixels(twips[i], dpi));
    m_locationBase = -1;  // the width just given is the location's least
    fillWithLocation();
}

std::vector<int> ResultsPage::columnWidths() const {
    int dpi = static_cast<int>(dpiOf(hwnd()));
    std::vector<int> out;
    for (int pixels : listview::columnWidths(item(IDC_RESULTS_LIST))) out.push_back(pixelsToTwips(pixels, dpi));
    return out;
}

void ResultsPage::onCommand(int id, int code) {
    if (code != BN_CLICKED || !onAction) return;
    if (id == IDC_SELECT_ALL) onAction(ResultsAction::SelectAll);
    if (id == IDC_DELETE) onAction(ResultsAction::Delete);
    if (id == IDC_EXCLUDE) onAction(ResultsAction::Exclude);
}

LRESULT ResultsPage::onNotify(NMHDR* header) {
    if (header->idFrom != IDC_RESULTS_LIST) return 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if (header->code == LVN_ITEMCHANGED && !m_updating && onRowChecked && change->iItem >= 0 &&
        (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) &&
        (change->uOldState & LVIS_STATEIMAGEMASK)) {
        onRowChecked(static_cast<size_t>(change->iItem), ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2);
    }
    if (header->code == LVN_COLUMNCLICK && onSort && change->iSubItem >= 0 && change->iSubItem < 3)
        onSort(static_cast<ResultsColumn>(change->iSubItem));
    return 0;
}

}  // namespace vedozer::win32ui
