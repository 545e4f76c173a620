#include "ui/win32/MessageBoxes.h"

#include "ui/win32/MessagePump.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

// The box being opened on this thread: where to put it and whether Esc means No.
struct PendingBox {
    HWND owner = nullptr;
    int escapeButton = 0;  // the button Esc presses when the box has no Cancel button
    HHOOK hook = nullptr;
};
thread_local PendingBox* g_pending = nullptr;

WNDPROC g_boxProc = nullptr;
const wchar_t* const kEscapeButton = L"VedozerEscapeButton";

// Esc sends IDCANCEL, which a box without a Cancel button ignores: press the safe button instead.
LRESULT CALLBACK escapePressesSafeButton(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == 0 && !GetDlgItem(box, IDCANCEL)) {
        int id = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(box, kEscapeButton)));
        if (HWND button = GetDlgItem(box, id)) {
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            return 0;
        }
    }
    if (msg == WM_NCDESTROY) RemovePropW(box, kEscapeButton);
    return CallWindowProcW(g_boxProc, box, msg, wParam, lParam);
}

LRESULT CALLBACK placeBox(int code, WPARAM wParam, LPARAM lParam) {
    PendingBox* pending = g_pending;
    if (code == HCBT_ACTIVATE && pending) {
        HWND box = reinterpret_cast<HWND>(wParam);
        RECT self, around;
        GetWindowRect(box, &self);
        if (pending->owner && IsWindowVisible(pending->owner) && !IsIconic(pending->owner)) {
            GetWindowRect(pending->owner, &around);
            int w = self.right - self.left, h = self.bottom - self.top;
            SetWindowPos(box, nullptr, around.left + ((around.right - around.left) - w) / 2,
                         around.top + ((around.bottom - around.top) - h) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (pending->escapeButton) {
            SetPropW(box, kEscapeButton, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pending->escapeButton)));
            g_boxProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&escapePressesSafeButton)));
        }
        HHOOK hook = pending->hook;
        pending->hook = nullptr;
        g_pending = nullptr;
        UnhookWindowsHookEx(hook);
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int centredMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
    PendingBox pending;
    pending.owner = owner;
    UINT type = flags & MB_TYPEMASK;
    pending.escapeButton = type == MB_YESNO ? IDNO : type == MB_ABORTRETRYIGNORE ? IDABORT : 0;
    pending.hook = SetWindowsHookExW(WH_CBT, &placeBox, nullptr, GetCurrentThreadId());
    PendingBox* outer = g_pending;
    g_pending = &pending;
    int result = MessageBoxW(owner, text.c_str(), title.c_str(), flags);
    if (pending.hook) UnhookWindowsHookEx(pending.hook);
    g_pending = outer;
    return result;
}

UINT questionFlags(const Question& q) {
    UINT flags = 0;
    switch (q.buttons) {
    case Buttons::Ok: flags = MB_OK; break;
    case Buttons::OkCancel: flags = MB_OKCANCEL | MB_DEFBUTTON2; break;
    case Buttons::AbortRetryIgnore: flags = MB_ABORTRETRYIGNORE | MB_DEFBUTTON1; break;
    case Buttons::YesNoCancel: flags = MB_YESNOCANCEL | MB_DEFBUTTON3; break;
    case Buttons::YesNo: flags = MB_YESNO | MB_DEFBUTTON2; break;
    case Buttons::RetryCancel: flags = MB_RETRYCANCEL | MB_DEFBUTTON2; break;
    }
    switch (q.icon) {
    case QuestionIcon::None: break;
    case QuestionIcon::Critical: flags |= MB_ICONERROR; break;
    case QuestionIcon::Question: flags |= MB_ICONQUESTION; break;
    case QuestionIcon::Exclamation: flags |= MB_ICONWARNING; break;
    case QuestionIcon::Information: flags |= MB_ICONINFORMATION; break;
    }
    return flags;
}

Answer answerFromButtonId(int id, Buttons buttons) {
    switch (id) {
    case IDOK: return Answer::Ok;
    case IDCANCEL: return Answer::Cancel;
    case IDABORT: return Answer::Abort;
    case IDRETRY: return Answer::Retry;
    case IDIGNORE: return Answer::Ignore;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    }
    return safeAnswer(buttons);
}

Answer Win32Dialogs::ask(const Question& question) {
    std::wstring title = widen(question.title.empty() ? m_programName : question.title);
    int id = centredMessageBox(m_owner && IsWindowVisible(m_owner) ? m_owner : nullptr, widen(question.text), title,
                               questionFlags(question) | (m_owner ? 0u : MB_TASKMODAL | MB_SETFOREGROUND));
    return answerFromButtonId(id, question.buttons);
}

void Win32Dialogs::showNotice(const Notice& notice) {
    UINT icon = notice.kind == NoticeKind::Error     ? MB_ICONERROR
                : notice.kind == NoticeKind::Warning ? MB_ICONWARNING
                                                     : MB_ICONINFORMATION;
    centredMessageBox(m_owner && IsWindowVisible(m_owner) ? m_owner : nullptr, widen(notice.text), widen(m_programName),
                      MB_OK | icon);
}

void Win32Dialogs::pumpEvents() { pumpPendingMessages(); }

}  // namespace vedozer::win32ui
