#pragma once
// Recording views: test doubles of the desktop views. Each keeps what its presenter set last and
// a log of calls, so a test can check the screen's state and click as a person would.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ProtectionRecordingViews.h"
#include "app/presenters/Desktop.h"

namespace vedozer::test {

struct Captions {
    std::map<CaptionId, std::string> text;
    void set(CaptionId id, const std::string& t) { text[id] = t; }
    std::string operator[](CaptionId id) const {
        auto it = text.find(id);
        return it == text.end() ? "" : it->second;
    }
};

// A view that keeps the captions its presenter pushed.
template <class View>
struct WithCaptions : View {
    Captions captions;
    void setCaption(CaptionId id, const std::string& t) override { captions.set(id, t); }
};

class RecordingDialogs : public DialogView {
public:
    struct Asked {
        Question question;
        Answer answer;
    };
    std::deque<Answer> answers;
    std::vector<Asked> asked;
    std::vector<Notice> notices;
    // Runs inside a question before it is answered (the screen as it is while the box is open).
    std::function<void(const Question&)> whileAsking;
    // Runs on every pump with the count so far: where a test clicks during long work.
    std::function<void(int)> onPump;
    int pumps = 0;

    Answer ask(const Question& q) override {
        if (whileAsking) whileAsking(q);
        Answer a = safeAnswer(q.buttons);
        if (!answers.empty()) {
            a = answers.front();
            answers.pop_front();
        } else {
            ADD_FAILURE() << "unexpected question: " << q.text;
        }
        asked.push_back({q, a});
        return a;
    }
    void showNotice(const Notice& n) override { notices.push_back(n); }
    void pumpEvents() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    std::vector<QuestionKind> kinds() const {
        std::vector<QuestionKind> out;
        for (const auto& a : asked) out.push_back(a.question.kind);
        return out;
    }
};

class RecordingMainWindow : public WithCaptions<MainWindowView> {
public:
    std::string title;
    Page page = Page::Status;
    std::map<MainCommand, bool> enabled, visible;
    HeaderBand header;
    bool shown = false, maximized = false, hidden = false, quitCalled = false;
    int languageWindows = 0;
    std::vector<std::string> updateNotices;
    std::function<void()> onChooseLanguage;

    void setTitle(const std::string& t) override { title = t; }
    void showPage(Page p) override { page = p; }
    void setCommandEnabled(MainCommand c, bool on) override { enabled[c] = on; }
    void setCommandVisible(MainCommand c, bool on) override { visible[c] = on; }
    void showHeader(const HeaderBand& h) override { header = h; }
    void showWindow(bool max) override {
        shown = true;
        maximized = max;
    }
    bool isMaximized() const override { return maximized; }
    void hideWindow() override {
        hidden = true;
        shown = false;
    }
    void restoreWindow() override {
        hidden = false;
        shown = true;
    }
    void chooseLanguage() override {
        ++languageWindows;
        if (onChooseLanguage) onChooseLanguage();
    }
    void quit() override { quitCalled = true; }
    void showUpdateNotice(const std::string& text) override { updateNotices.push_back(text); }
};

class RecordingStatusPage : public WithCaptions<StatusPageView> {
public:
    StatusPageState state;
    std::map<StatusAction, bool> enabled;
    void showStatus(const StatusPageState& s) override { state = s; }
    void setActionEnabled(StatusAction a, bool on) override { enabled[a] = on; }
};

class RecordingScanPage : public WithCaptions<ScanPageView> {
public:
    ScanPageState state;
    std::vector<ScanPageState> shown;  // every state the page showed, in order
    ScanControls controls;
    std::vector<std::pair<std::string, KindIcon>> found;
    ScanModeChoice mode = ScanModeChoice::Complete;
    bool driveListVisible = false;
    std::vector<DriveRow> drives;
    void showProgress(const ScanPageState& s) override {
        state = s;
        shown.push_back(s);
    }
    void setControls(const ScanControls& c) override { controls = c; }
    void clearFound() override { found.clear(); }
    void addFound(const std::string& t, KindIcon i) override { found.emplace_back(t, i); }
    void showScanMode(ScanModeChoice m, bool visible) override {
        mode = m;
        driveListVisible = visible;
    }
    void showDrives(const std::vector<DriveRow>& d) override { drives = d; }
};

class RecordingResultsPage : public WithCaptions<ResultsPageView> {
public:
    std::vector<ResultRow> rows;
    std::string summary, emptyText, removalNote;
    std::map<ResultsAction, bool> enabled;
    std::vector<RemovalProgressView> progress;  // every change, in order
    std::vector<OutcomeRow> outcomes;
    std::vector<int> widths{1400, 1400, 1400};
    std::pair<ResultsColumn, bool> sort{ResultsColumn::Name, true};
    void showRows(const std::vector<ResultRow>& r) override { rows = r; }
    void showSummary(const std::string& s) override { summary = s; }
    void showEmptyText(const std::string& t) override { emptyText = t; }
    void setActionEnabled(ResultsAction a, bool on) override { enabled[a] = on; }
    void showSortIndicator(ResultsColumn c, bool ascending) override { sort = {c, ascending}; }
    void showRemovalProgress(const RemovalProgressView& p) override { progress.push_back(p); }
    void showOutcomes(const std::vector<OutcomeRow>& o) override { outcomes = o; }
    void showRemovalNote(const std::string& t) override { removalNote = t; }
    void setColumnWidths(const std::vector<int>& w) override { widths = w; }
    std::vector<int> columnWidths() const override { return widths; }
};

class RecordingOptionsPage : public WithCaptions<OptionsPageView> {
public:
    std::map<OptionControl, bool> checked, enabled, visible;
    bool protectionNote = false, scheduleControls = false;
    int tab = -1;
    void setOption(OptionControl c, bool on) override { checked[c] = on; }
    void setOptionEnabled(OptionControl c, bool on) override { enabled[c] = on; }
    void setOptionVisible(OptionControl c, bool on) override { visible[c] = on; }
    void showProtectionNote(bool on) override { protectionNote = on; }
    void setScheduleControlsEnabled(bool on) override { scheduleControls = on; }
    void showTab(int i) override { tab = i; }
};

class RecordingUndeletable : public WithCaptions<UndeletableView> {
public:
    std::vector<std::string> items;
    bool visible = false;
    std::vector<std::string> clipboard;  // every text put there
    void showItems(const std::vector<std::string>& i) override { items = i; }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    void setClipboardText(const std::string& t) override { clipboard.push_back(t); }
};

class RecordingLiveUpdate : public WithCaptions<LiveUpdateView> {
public:
    bool open = false, up = true;
    std::string status, blink, trayTip;
    std::vector<std::string> statusTexts;
    int trayIcons = 0;
    void show() override { open = true; }
    void close() override { open = false; }
    void setStatusText(const std::string& t) override {
        status = t;
        statusTexts.push_back(t);
    }
    void setBlinkText(const std::string& t) override { blink = t; }
    void showArrow(bool u) override { up = u; }
    void showTrayIcon(const std::string& tip) override {
        ++trayIcons;
        trayTip = tip;
    }
    void removeTrayIcon() override { trayIcons = std::max(0, trayIcons - 1); }
};

class RecordingReport : public WithCaptions<ReportView> {
public:
    std::string title, text;
    int modals = 0;
    std::function<void()> whileOpen;
    void setTitle(const std::string& t) override { title = t; }
    void setText(const std::string& t) override { text = t; }
    void showModal() override {
        ++modals;
        if (whileOpen) whileOpen();
    }
    void close() override {}
};

class RecordingQuarantine : public WithCaptions<QuarantineView> {
public:
    bool open = false, keptHere = false;
    std::vector<QuarantineRow> items;
    std::vector<RestorePointRow> points;
    std::vector<std::string> results;
    std::map<QuarantineAction, bool> enabled;
    void show() override { open = true; }
    void close() override { open = false; }
    void showItems(const std::vector<QuarantineRow>& r) override { items = r; }
    void showRestorePoints(const std::vector<RestorePointRow>& r, bool here) override {
        points = r;
        keptHere = here;
    }
    void showResults(const std::vector<std::string>& l) override { results = l; }
    void setActionEnabled(QuarantineAction a, bool on) override { enabled[a] = on; }
};

class RecordingSubmit : public WithCaptions<SubmitView> {
public:
    bool open = false, submitEnabled = false;
    std::string fileName, result;
    void show() override { open = true; }
    void close() override { open = false; }
    void setFileName(const std::string& t) override { fileName = t; }
    void setResult(const std::string& t) override { result = t; }
    void setSubmitEnabled(bool on) override { submitEnabled = on; }
};

class RecordingAbout : public WithCaptions<AboutView> {
public:
    std::vector<AboutInfo> shown;
    void showModal(const AboutInfo& i) override { shown.push_back(i); }
    void close() override {}
};

class RecordingHelp : public WithCaptions<HelpView> {
public:
    int shown = 0;
    void show() override { ++shown; }
    void close() override {}
};

// Every recording view, ready to hand to a Desktop.
struct RecordingViews {
    RecordingMainWindow main;
    RecordingStatusPage status;
    RecordingScanPage scan;
    RecordingResultsPage results;
    RecordingOptionsPage options;
    RecordingUndeletable undeletable;
    RecordingLiveUpdate liveUpdate;
    RecordingReport report;
    RecordingQuarantine quarantine;
    RecordingSubmit submit;
    RecordingAbout about;
    RecordingHelp help;
    RecordingDialogs dialogs;
    RecordingThreatAlert threatAlert;
    RecordingHomePageAlert homePageAlert;
    RecordingUpdateNotice updateNotice;
    RecordingTray tray;
    RecordingSchedule schedule;
    ProtectionViewSet protection{threatAlert, homePageAlert, updateNotice, tray, schedule};

    DesktopViews views() {
        return DesktopViews{main,   status,     scan,   results, options, undeletable, liveUpdate, report,
                            quarantine, submit, about,  help,    dialogs, &protection};
    }
};

}  // namespace vedozer::test
