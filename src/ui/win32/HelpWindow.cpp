#include "ui/win32/HelpWindow.h"

#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

bool HelpWindow::create(HWND owner) { return DialogBase::create(IDD_HELP, owner); }

void HelpWindow::onInit() {
    m_layout.anchor(IDC_HELP_TEXT, AnchorAll);
    m_layout.anchor(IDC_HELP_OK, AnchorRight | AnchorBottom);
}

void HelpWindow::setCaption(CaptionId id, const std::string& text) {
    switch (id) {
    case CaptionId::HelpTitle: return setWindowTitle(text);
    case CaptionId::HelpText: return setText(IDC_HELP_TEXT, text);
    case CaptionId::HelpOk: return setText(IDC_HELP_OK, text);
    default: return;
    }
}

void HelpWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_HELP_OK)), TRUE);
}

void HelpWindow::close() { ShowWindow(hwnd(), SW_HIDE); }

void HelpWindow::onCommand(int id, int code) {
    if (code == BN_CLICKED && (id == IDC_HELP_OK || id == IDCANCEL)) {
        if (onOk)
            onOk();
        else
            close();
    }
}

}  // namespace vedozer::win32ui
