#include "ui/win32/ReportWindow.h"

#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

ReportWindow::~ReportWindow() {
    if (m_fixed) DeleteObject(m_fixed);
}

void ReportWindow::setCaption(CaptionId id, const std::string& text) {
    if (id == CaptionId::ReportTitle && m_title.empty()) m_title = text;
    if (id == CaptionId::ReportOk) m_ok = text;
    if (hwnd()) {
        setWindowTitle(m_title);
        DialogBase::setText(IDC_REPORT_OK, m_ok);
    }
}

void ReportWindow::setTitle(const std::string& title) {
    m_title = title;
    if (hwnd()) setWindowTitle(title);
}

void ReportWindow::setText(const std::string& text) {
    m_text = text;
    if (hwnd()) DialogBase::setText(IDC_REPORT_TEXT, text);
}

void ReportWindow::showModal() { runModal(IDD_REPORT, m_owner); }

void ReportWindow::close() { endModal(IDOK); }

void ReportWindow::onInit() {
    // The report lines up its columns with spaces: a fixed-pitch face of the dialog's size.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, L"Consolas", LF_FACESIZE);
    m_fixed = CreateFontIndirectW(&font);
    SendDlgItemMessageW(hwnd(), IDC_REPORT_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(m_fixed), FALSE);
    SendDlgItemMessageW(hwnd(), IDC_REPORT_TEXT, EM_SETLIMITTEXT, 0, 0);
    m_layout.anchor(IDC_REPORT_TEXT, AnchorAll);
    m_layout.anchor(IDC_REPORT_OK, AnchorRight | AnchorBottom);
    if (!m_title.empty()) setWindowTitle(m_title);
    if (!m_ok.empty()) DialogBase::setText(IDC_REPORT_OK, m_ok);
    DialogBase::setText(IDC_REPORT_TEXT, m_text);
    // The report from its first line, nothing selected.
    SendDlgItemMessageW(hwnd(), IDC_REPORT_TEXT, EM_SETSEL, 0, 0);
    SendDlgItemMessageW(hwnd(), IDC_REPORT_TEXT, EM_SCROLLCARET, 0, 0);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_REPORT_OK)), TRUE);
}

void ReportWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == IDC_REPORT_OK || id == IDCANCEL) {
        if (onOk)
            onOk();
        else
            close();
    }
}

}  // namespace vedozer::win32ui
