// The machinery under the views: anchored layout, centred message boxes that answer Esc with the
// safe button, the message pump and the HTTP client that keeps it running.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "ui/win32/MessageBoxes.h"
#include "ui/win32/MessagePump.h"
#include "ui/win32/PumpingHttp.h"
#include "ui/win32/Resource.h"
#include "ui/win32/UndeletableWindow.h"

namespace vedozer::win32ui {
namespace {

RECT rectIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(AnchorLayout, ListsGrowWithTheWindowAndButtonsKeepTheirSizeAtTheirCorner) {
    UndeletableWindow window;
    ASSERT_TRUE(window.create(nullptr));
    HWND w = window.hwnd();
    RECT list0 = rectIn(w, window.item(IDC_UNDELETABLE_LIST));
    RECT copy0 = rectIn(w, window.item(IDC_COPY_LIST));
    RECT ok0 = rectIn(w, window.item(IDC_UNDELETABLE_OK));
    RECT outer;
    GetWindowRect(w, &outer);
    SetWindowPos(w, nullptr, 0, 0, outer.right - outer.left + 120, outer.bottom - outer.top + 60,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT list1 = rectIn(w, window.item(IDC_UNDELETABLE_LIST));
    RECT copy1 = rectIn(w, window.item(IDC_COPY_LIST));
    RECT ok1 = rectIn(w, window.item(IDC_UNDELETABLE_OK));
    EXPECT_EQ(list1.right - list1.left, list0.right - list0.left + 120);
    EXPECT_EQ(list1.bottom - list1.top, list0.bottom - list0.top + 60);
    EXPECT_EQ(copy1.left, copy0.left);  // bottom left
    EXPECT_EQ(copy1.top, copy0.top + 60);
    EXPECT_EQ(ok1.left, ok0.left + 120);  // bottom right
    EXPECT_EQ(ok1.top, ok0.top + 60);
    EXPECT_EQ(ok1.right - ok1.left, ok0.right - ok0.left);
}

TEST(MessageBoxes, TheDefaultButtonIsTheSafeAnswer) {
    struct Case {
        Buttons buttons;
        int defaultId;
    };
    // Standard button order per set; MB_DEFBUTTONn names the n-th.
    const Case cases[] = {{Buttons::Ok, IDOK},         {Buttons::OkCancel, IDCANCEL}, {Buttons::AbortRetryIgnore, IDABORT},
                          {Buttons::YesNoCancel, IDCANCEL}, {Buttons::YesNo, IDNO},     {Buttons::RetryCancel, IDCANCEL}};
    for (const Case& c : cases) {
        Question q{QuestionKind::ConfirmRemoval, "t", "x", c.buttons, QuestionIcon::Question};
        UINT flags = questionFlags(q);
        int n = static_cast<int>((flags & MB_DEFMASK) >> 8);  // 0 = first button
        int order[4][3] = {{IDOK, 0, 0}, {IDOK, IDCANCEL, 0}, {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL}};
        int set = c.buttons == Buttons::Ok                                             ? 0
                  : c.buttons == Buttons::OkCancel                                     ? 1
                  : c.buttons == Buttons::AbortRetryIgnore                             ? 2
                  : c.buttons == Buttons::RetryCancel                                  ? -1
                                                                                       : 3;
        int id = set < 0 ? (n == 0 ? IDRETRY : IDCANCEL) : order[set][n];
        EXPECT_EQ(id, c.defaultId) << static_cast<int>(c.buttons);
        EXPECT_EQ(answerFromButtonId(id, c.buttons), safeAnswer(c.buttons));
        EXPECT_EQ(flags & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));
    }
    EXPECT_EQ(answerFromButtonId(0, Buttons::YesNo), Answer::No);  // the box could not be shown
}

// Presses Esc in the first message box this process opens, noting where it stood.
struct EscapePresser {
    RECT box{};
    std::thread worker;
    explicit EscapePresser(DWORD pid) {
        worker = std::thread([this, pid] {
            for (int i = 0; i < 500; ++i) {
                struct Search {
                    DWORD pid;
                    HWND found = nullptr;
                } search{pid};
                EnumWindows(
                    [](HWND w, LPARAM p) -> BOOL {
                        auto* s = reinterpret_cast<Search*>(p);
                        DWORD owner = 0;
                        GetWindowThreadProcessId(w, &owner);
                        if (owner == s->pid && IsWindowVisible(w) && GetDlgItem(w, 0xFFFF)) {
                            s->found = w;
                            return FALSE;
                        }
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(&search));
                HWND found = search.found;
                if (found) {
                    GetWindowRect(found, &box);
                    PostMessageW(found, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);  // what Esc sends
                    return;
                }
                Sleep(10);
            }
        });
    }
    ~EscapePresser() { worker.join(); }
};

TEST(MessageBoxes, EscAnswersTheSafeButtonAndTheBoxSitsOnItsOwner) {
    UndeletableWindow owner;
    ASSERT_TRUE(owner.create(nullptr));
    SetWindowPos(owner.hwnd(), nullptr, 100, 80, 700, 500, SWP_NOZORDER | SWP_SHOWWINDOW);
    for (UINT type : {MB_YESNO, MB_ABORTRETRYIGNORE, MB_OKCANCEL}) {
        EscapePresser esc(GetCurrentProcessId());
        int answer = centredMessageBox(owner.hwnd(), L"Remove the checked items?", L"Test", type | MB_ICONQUESTION);
        esc.worker.join();
        esc.worker = std::thread([] {});
        EXPECT_EQ(answer, type == MB_YESNO ? IDNO : type == MB_ABORTRETRYIGNORE ? IDABORT : IDCANCEL);
        const int boxX = (esc.box.left + esc.box.right) / 2, boxY = (esc.box.top + esc.box.bottom) / 2;
        EXPECT_NEAR(boxX, 100 + 350, 2);
        EXPECT_NEAR(boxY, 80 + 250, 2);
    }
}

TEST(MessagePump, AQuitDuringLongWorkIsKeptForTheOuterLoop) {
    PostQuitMessage(7);
    EXPECT_FALSE(pumpPendingMessages());
    EXPECT_FALSE(pumpPendingMessages());  // nothing more is run beneath the quitting program
    EXPECT_EQ(runMessageLoop(), 7);
}

// An HTTP client that answers only when told, from the thread that calls it.
class HeldHttp : public Http {
public:
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> thread{0};
    ~HeldHttp() override { CloseHandle(release); }
    HttpResult get(const std::string&, const HttpOptions&, const HttpProgress& progress) override {
        thread = GetCurrentThreadId();
        if (progress) progress(10, 30);
        WaitForSingleObject(release, 30000);
        if (progress) progress(30, 30);
        return HttpResult{true, 200, "reply", ""};
    }
};

TEST(PumpingHttp, WindowsKeepWorkingWhileTheServerTakesItsTime) {
    HeldHttp held;
    PumpingHttp http(held);
    // A window that gets a message only the pump can deliver; handling it lets the server answer.
    static HANDLE release;
    release = held.release;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_APP + 7) SetEvent(release);
        return DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = L"VedozerPumpTest";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"VedozerPumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    PostMessageW(window, WM_APP + 7, 0, 0);
    std::vector<std::pair<uint64_t, DWORD>> calls;
    HttpResult r = http.get("http://127.0.0.1/", HttpOptions{}, [&](uint64_t received, uint64_t) {
        calls.emplace_back(received, GetCurrentThreadId());
        return true;
    });
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.body, "reply");
    EXPECT_NE(held.thread.load(), GetCurrentThreadId());  // the request ran elsewhere
    ASSERT_EQ(calls.size(), 2u);                         // and its progress came back here, in order
    EXPECT_EQ(calls[0], std::make_pair(uint64_t{10}, GetCurrentThreadId()));
    EXPECT_EQ(calls[1].first, 30u);
    DestroyWindow(window);
}

TEST(PumpingHttp, AClosingProgramDoesNotWaitForTheServer) {
    static HeldHttp held;  // outlives the request left behind
    PumpingHttp http(held);
    PostQuitMessage(0);
    ULONGLONG started = GetTickCount64();
    HttpResult r = http.get("http://127.0.0.1/", HttpOptions{}, {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("cancelled"), std::string::npos);
    EXPECT_LT(GetTickCount64() - started, 5000u);
    SetEvent(held.release);
    runMessageLoop();  // takes the quit back out of the queue
}

}  // namespace
}  // namespace vedozer::win32ui
