// Drives vedozer-gui.exe from outside, as a person would through its controls: finds its
// windows, clicks controls by their resource names, checks and reads list-view rows, selects
// tabs and answers message boxes. Run under Wine in the same (virtual) desktop as the program.
//
//   vedozer_gui_driver.exe "attach" "click IDC_NAV_SCAN" ...   (one command per argument)
//   vedozer_gui_driver.exe < commands.txt                        (one command per line)
//
// Every wait polls the program's state until it holds or the time-out (seconds, default 30)
// passes. The first failing command prints "FAILED: ..." and ends the driver with exit code 1.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <iomanip>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "RemoteControls.h"

using namespace vedozer::guidriver;

namespace {

const std::map<std::string, int>& controlNames() {
    static const std::map<std::string, int> names = {
#include "ControlNames.inc"
        {"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}, {"IDYES", IDYES}, {"IDNO", IDNO},
        {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY}, {"IDIGNORE", IDIGNORE},
    };
    return names;
}

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int controlId(const std::string& name) {
    auto it = controlNames().find(name);
    if (it != controlNames().end()) return it->second;
    char* end = nullptr;
    long n = std::strtol(name.c_str(), &end, 10);
    if (end && *end == '\0' && !name.empty()) return static_cast<int>(n);
    throw Failure("unknown control name " + name);
}

// Polls a condition every 10 ms until it holds; false after the time-out.
bool waitFor(double seconds, const std::function<bool()>& condition) {
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(10);
    }
}

class Driver {
public:
    void run(const std::string& line);

private:
    HWND current() {
        if (!m_current || !IsWindow(m_current)) throw Failure("no current window (attach first)");
        return m_current;
    }
    HWND control(const std::string& name, double timeout, bool mustBeEnabled);
    HWND messageBox(const std::wstring& containing);
    std::wstring boxText(HWND box);

    DWORD m_pid = 0;
    HWND m_main = nullptr;
    HWND m_current = nullptr;
};

double timeoutArg(const std::vector<std::string>& args, size_t index, double fallback = 30) {
    return args.size() > index ? std::atof(args[index].c_str()) : fallback;
}

bool contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

HWND Driver::control(const std::string& name, double timeout, bool mustBeEnabled) {
    int id = controlId(name);
    HWND found = nullptr;
    bool ok = waitFor(timeout, [&] {
        found = findControl(current(), id);
        return found && IsWindowVisible(found) && (!mustBeEnabled || IsWindowEnabled(found));
    });
    if (!ok)
        throw Failure(name + (found ? (IsWindowVisible(found) ? " stays disabled" : " stays hidden") : " not found"));
    return found;
}

std::wstring Driver::boxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);  // the message of a standard message box
    return text ? windowText(text) : L"";
}

HWND Driver::messageBox(const std::wstring& containing) {
    for (HWND w : topLevelWindows(m_pid)) {
        if (className(w) != L"#32770") continue;
        if (!GetDlgItem(w, 0xFFFF)) continue;  // a dialog of the program, not a message box
        if (containing.empty() || contains(boxText(w), containing) || contains(windowText(w), containing)) return w;
    }
    return nullptr;
}

int rowIndex(HWND list, const std::string& row) {
    if (row.rfind("text:", 0) != 0) return std::atoi(row.c_str());
    std::wstring part = fromUtf8(row.substr(5));
    std::vector<ListRow> rows = readListView(list);
    for (size_t i = 0; i < rows.size(); ++i)
        for (const auto& cell : rows[i].cells)
            if (contains(cell, part)) return static_cast<int>(i);
    throw Failure("no row with \"" + row.substr(5) + "\"");
}

int buttonId(const std::string& name) {
    static const std::map<std::string, int> ids = {{"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},
                                                   {"no", IDNO},       {"abort", IDABORT},   {"retry", IDRETRY},
                                                   {"ignore", IDIGNORE}};
    auto it = ids.find(name);
    if (it == ids.end()) throw Failure("unknown button " + name);
    return it->second;
}

void Driver::run(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> args;
    std::string word;
    while (in >> std::quoted(word)) args.push_back(word);
    if (args.empty() || args[0][0] == '#') return;
    const std::string& cmd = args[0];
    auto need = [&](size_t n) {
        if (args.size() < n + 1) throw Failure("missing arguments");
    };

    if (cmd == "attach") {
        bool ok = waitFor(timeoutArg(args, 1, 60), [&] {
            m_main = FindWindowW(L"VedozerMainWindow", nullptr);
            return m_main && IsWindowVisible(m_main);
        });
        if (!ok) throw Failure("no visible main window of vedozer-gui.exe");
        GetWindowThreadProcessId(m_main, &m_pid);
        m_current = m_main;
    } else if (cmd == "attach-hidden") {
        // The program before its main window shows (the language window of a first start).
        if (!waitFor(timeoutArg(args, 1, 60), [&] { return (m_main = FindWindowW(L"VedozerMainWindow", nullptr)) != nullptr; }))
            throw Failure("no main window of vedozer-gui.exe");
        GetWindowThreadProcessId(m_main, &m_pid);
        m_current = m_main;
    } else if (cmd == "window") {
        need(1);
        if (args[1] == "main") {
            m_current = m_main;
            return;
        }
        std::wstring title = fromUtf8(args[1]);
        HWND found = nullptr;
        bool ok = waitFor(timeoutArg(args, 2), [&] {
            for (HWND w : topLevelWindows(m_pid))
                if (w != m_main && !GetDlgItem(w, 0xFFFF) && contains(windowText(w), title)) {
                    found = w;
                    return true;
                }
            return false;
        });
        if (!ok) throw Failure("no window titled like \"" + args[1] + "\"");
        m_current = found;
    } else if (cmd == "window-gone") {
        need(1);
        std::wstring title = fromUtf8(args[1]);
        bool ok = waitFor(timeoutArg(args, 2), [&] {
            for (HWND w : topLevelWindows(m_pid))
                if (w != m_main && contains(windowText(w), title)) return false;
            return true;
        });
        if (!ok) throw Failure("window \"" + args[1] + "\" stays open");
        m_current = m_main;
    } else if (cmd == "click") {
        need(1);
        HWND c = control(args[1], timeoutArg(args, 2), true);
        LONG style = GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        if (className(c) == L"Button" && style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON)
            PostMessageW(c, BM_CLICK, 0, 0);  // check boxes and option buttons change their state
        else
            PostMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), reinterpret_cast<LPARAM>(c));
    } else if (cmd == "command") {
        need(1);
        PostMessageW(current(), WM_COMMAND, MAKEWPARAM(controlId(args[1]), 0), 0);
    } else if (cmd == "expect-checked") {
        need(2);
        HWND c = control(args[1], timeoutArg(args, 3), false);
        bool want = args[2] == "1";
        if (!waitFor(timeoutArg(args, 3, 5), [&] { return (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) == want; }))
            throw Failure(args[1] + (want ? " is not checked" : " is checked"));
    } else if (cmd == "wait-enabled" || cmd == "wait-disabled") {
        need(1);
        HWND c = control(args[1], timeoutArg(args, 2), false);
        bool want = cmd == "wait-enabled";
        if (!waitFor(timeoutArg(args, 2), [&] { return (IsWindowEnabled(c) != FALSE) == want; }))
            throw Failure(args[1] + (want ? " stays disabled" : " stays enabled"));
    } else if (cmd == "wait-visible" || cmd == "wait-hidden") {
        need(1);
        int id = controlId(args[1]);
        bool want = cmd == "wait-visible";
        if (!waitFor(timeoutArg(args, 2), [&] {
                HWND c = findControl(current(), id);
                return c && (IsWindowVisible(c) != FALSE) == want;
            }))
            throw Failure(args[1] + (want ? " stays hidden" : " stays visible"));
    } else if (cmd == "text") {
        need(1);
        std::cout << toUtf8(windowText(control(args[1], timeoutArg(args, 2), false))) << "\n";
    } else if (cmd == "wait-text") {
        need(2);
        HWND c = control(args[1], timeoutArg(args, 3), false);
        std::wstring part = fromUtf8(args[2]);
        if (!waitFor(timeoutArg(args, 3), [&] { return contains(windowText(c), part); }))
            throw Failure(args[1] + " reads \"" + toUtf8(windowText(c)) + "\", not \"" + args[2] + "\"");
    } else if (cmd == "rows") {
        need(1);
        for (const ListRow& row : readListView(control(args[1], timeoutArg(args, 2), false))) {
            std::cout << (row.checked ? "[x]" : "[ ]");
            for (const auto& cell : row.cells) std::cout << " | " << toUtf8(cell);
            std::cout << "\n";
        }
    } else if (cmd == "wait-rows") {
        // wait-rows LIST N: exactly N rows; wait-rows LIST +N: at least N.
        need(2);
        HWND c = control(args[1], timeoutArg(args, 3), false);
        bool atLeast = args[2][0] == '+';
        int n = std::atoi(args[2].c_str() + (atLeast ? 1 : 0));
        int count = 0;
        if (!waitFor(timeoutArg(args, 3), [&] {
                count = static_cast<int>(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
                return atLeast ? count >= n : count == n;
            }))
            throw Failure(args[1] + " has " + std::to_string(count) + " rows, not " + args[2]);
    } else if (cmd == "wait-row") {
        // wait-row LIST N TEXT: row N has a cell holding TEXT.
        need(3);
        HWND list = control(args[1], timeoutArg(args, 4), false);
        size_t n = static_cast<size_t>(std::atoi(args[2].c_str()));
        std::wstring part = fromUtf8(args[3]);
        if (!waitFor(timeoutArg(args, 4), [&] {
                std::vector<ListRow> rows = readListView(list);
                if (rows.size() <= n) return false;
                for (const auto& cell : rows[n].cells)
                    if (contains(cell, part)) return true;
                return false;
            }))
            throw Failure("row " + args[2] + " of " + args[1] + " does not hold \"" + args[3] + "\"");
    } else if (cmd == "check-row" || cmd == "select-row") {
        // ROW is a number, or text:PART for the first row with a cell holding PART.
        need(3);
        HWND list = control(args[1], 5, true);
        int row = rowIndex(list, args[2]);
        bool on = args[3] == "1";
        bool done = cmd == "check-row" ? setListCheck(list, row, on) : setListSelected(list, row, on);
        if (!done) throw Failure("row " + args[2] + " of " + args[1] + " could not be changed");
    } else if (cmd == "sort") {
        need(2);
        if (!clickListColumn(control(args[1], 5, true), std::atoi(args[2].c_str())))
            throw Failure("column " + args[2] + " of " + args[1] + " could not be clicked");
    } else if (cmd == "tab") {
        need(2);
        if (!selectTab(control(args[1], 5, true), std::atoi(args[2].c_str())))
            throw Failure("tab " + args[2] + " of " + args[1] + " was not selected");
    } else if (cmd == "answer") {
        // answer "TEXT" BUTTON [timeout]: a message box whose text or title holds TEXT.
        need(2);
        std::wstring part = fromUtf8(args[1]);
        HWND box = nullptr;
        if (!waitFor(timeoutArg(args, 3), [&] { return (box = messageBox(part)) != nullptr; }))
            throw Failure("no message box with \"" + args[1] + "\"");
        std::cout << "box: " << toUtf8(windowText(box)) << ": " << toUtf8(boxText(box)) << "\n";
        int id = buttonId(args[2]);
        HWND button = GetDlgItem(box, id);
        if (!button || !IsWindowVisible(button)) throw Failure("the box has no " + args[2] + " button");
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        if (!waitFor(10, [&] { return !IsWindow(box) || !IsWindowVisible(box); }))
            throw Failure("the message box did not close");
    } else if (cmd == "wait-clipboard") {
        need(1);
        std::wstring part = fromUtf8(args[1]);
        std::wstring text;
        bool ok = waitFor(timeoutArg(args, 2), [&] {
            text.clear();
            if (OpenClipboard(nullptr)) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    text = static_cast<const wchar_t*>(GlobalLock(data));
                    GlobalUnlock(data);
                }
                CloseClipboard();
            }
            return contains(text, part);
        });
        if (!ok) throw Failure("the clipboard holds \"" + toUtf8(text) + "\", not \"" + args[1] + "\"");
        std::cout << toUtf8(text) << (text.empty() || text.back() == L'\n' ? "" : "\n");
    } else if (cmd == "clipboard") {
        std::string text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                text = toUtf8(static_cast<const wchar_t*>(GlobalLock(data)));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        std::cout << text << (text.empty() || text.back() == '\n' ? "" : "\n");
    } else if (cmd == "no-box") {
        HWND box = messageBox(L"");
        if (box) throw Failure("a message box is open: " + toUtf8(boxText(box)));
    } else if (cmd == "key") {
        // key ENTER|ESCAPE|TAB: a key press where the program's keyboard focus is.
        need(1);
        static const std::map<std::string, WPARAM> keys = {{"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB}};
        auto k = keys.find(args[1]);
        if (k == keys.end()) throw Failure("unknown key " + args[1]);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        DWORD thread = GetWindowThreadProcessId(current(), nullptr);
        HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : current();
        PostMessageW(target, WM_KEYDOWN, k->second, 1);
        if (k->second != VK_TAB) PostMessageW(target, WM_CHAR, k->second == VK_RETURN ? L'\r' : 0x1B, 1);
        PostMessageW(target, WM_KEYUP, k->second, 0xC0000001);
    } else if (cmd == "focus") {
        // Prints the control id that has the program's keyboard focus.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        DWORD thread = GetWindowThreadProcessId(current(), nullptr);
        if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus) throw Failure("no keyboard focus");
        std::cout << GetDlgCtrlID(info.hwndFocus) << "\n";
    } else if (cmd == "close") {
        PostMessageW(current(), WM_CLOSE, 0, 0);
    } else if (cmd == "rect") {
        RECT r;
        GetWindowRect(current(), &r);
        std::cout << r.left << " " << r.top << " " << (r.right - r.left) << " " << (r.bottom - r.top) << "\n";
    } else if (cmd == "box-rect") {
        HWND box = nullptr;
        if (!waitFor(timeoutArg(args, 1), [&] { return (box = messageBox(L"")) != nullptr; }))
            throw Failure("no message box");
        RECT r;
        GetWindowRect(box, &r);
        std::cout << r.left << " " << r.top << " " << (r.right - r.left) << " " << (r.bottom - r.top) << "\n";
    } else if (cmd == "box-move") {
        // Moves the open message box (for pictures of the window beneath it).
        need(2);
        HWND box = nullptr;
        if (!waitFor(timeoutArg(args, 3), [&] { return (box = messageBox(L"")) != nullptr; }))
            throw Failure("no message box");
        SetWindowPos(box, nullptr, std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (cmd == "move") {
        need(2);
        SetWindowPos(current(), nullptr, std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    } else if (cmd == "wait-exit") {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, m_pid);
        if (!process) return;  // already gone
        DWORD r = WaitForSingleObject(process, static_cast<DWORD>(timeoutArg(args, 1) * 1000));
        CloseHandle(process);
        if (r != WAIT_OBJECT_0) throw Failure("vedozer-gui.exe is still running");
    } else if (cmd == "pause") {
        // Only for pictures: gives the desktop a moment to paint.
        Sleep(static_cast<DWORD>(std::atoi(args.size() > 1 ? args[1].c_str() : "300")));
    } else {
        throw Failure("unknown command " + cmd);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Driver driver;
    std::vector<std::string> lines;
    for (int i = 1; i < argc; ++i) lines.emplace_back(argv[i]);
    if (argc == 1)
        for (std::string line; std::getline(std::cin, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
    for (const std::string& line : lines) {
        try {
            driver.run(line);
        } catch (const std::exception& e) {
            std::cout.flush();
            std::cerr << "FAILED: " << line << ": " << e.what() << "\n";
            return 1;
        }
        std::cout.flush();
    }
    return 0;
}
