#include "ui/win32/SubmitWindow.h"

#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

bool SubmitWindow::create(HWND owner) { return DialogBase::create(IDD_SUBMIT, owner); }

void SubmitWindow::setCaption(CaptionId id, const std::string& text) {
    switch (id) {
    case CaptionId::SubmitTitle: return setWindowTitle(text);
    case CaptionId::SubmitFileLabel: return setText(IDC_SUBMIT_LABEL, text);
    case CaptionId::SubmitButton: return setText(IDC_SUBMIT, text);
    case CaptionId::SubmitClose: return setText(IDC_SUBMIT_CLOSE, text);
    default: return;
    }
}

void SubmitWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_SUBMIT_FILE_NAME)), TRUE);
}

void SubmitWindow::close() { ShowWindow(hwnd(), SW_HIDE); }

void SubmitWindow::setFileName(const std::string& text) { setText(IDC_SUBMIT_FILE_NAME, text); }

void SubmitWindow::setResult(const std::string& text) { setText(IDC_SUBMIT_RESULT, text); }

void SubmitWindow::setSubmitEnabled(bool enabled) { setEnabled(IDC_SUBMIT, enabled); }

void SubmitWindow::onCommand(int id, int code) {
    if (id == IDC_SUBMIT_FILE_NAME && code == EN_CHANGE && onFileNameChanged) onFileNameChanged(text(id));
    if (code != BN_CLICKED) return;
    if (id == IDC_SUBMIT && onSubmit) onSubmit();
    if ((id == IDC_SUBMIT_CLOSE || id == IDCANCEL) && onClose) onClose();
}

}  // namespace vedozer::win32ui
