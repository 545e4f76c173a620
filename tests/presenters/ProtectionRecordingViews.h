#pragma once
// Recording views of real-time protection's windows: each keeps what its presenter set last, and
// the alerts' modal loops click as a test tells them.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/presenters/ProtectionWindows.h"

namespace vedozer::test {

struct ProtectionCaptions {
    std::map<ProtectionCaption, std::string> text;
    void set(ProtectionCaption id, const std::string& t) { text[id] = t; }
    std::string operator[](ProtectionCaption id) const {
        auto it = text.find(id);
        return it == text.end() ? "" : it->second;
    }
};

class RecordingThreatAlert : public ThreatAlertView {
public:
    ProtectionCaptions captions;
    std::string fileName, companyName;
    bool stopEnabled = true;
    bool open = false;
    int shown = 0;
    std::function<void()> whileOpen;  // the person's click inside the modal loop

    void setCaption(ProtectionCaption id, const std::string& t) override { captions.set(id, t); }
    void setThreat(const std::string& f, const std::string& c) override {
        fileName = f;
        companyName = c;
    }
    void setStopEnabled(bool e) override { stopEnabled = e; }
    void showModal() override {
        open = true;
        ++shown;
        if (whileOpen) whileOpen();
        open = false;
    }
    void close() override { open = false; }
};

class RecordingHomePageAlert : public HomePageAlertView {
public:
    ProtectionCaptions captions;
    std::string info;
    int shown = 0;
    std::function<void()> whileOpen;

    void setCaption(ProtectionCaption id, const std::string& t) override { captions.set(id, t); }
    void setInfo(const std::string& t) override { info = t; }
    void showModal() override {
        ++shown;
        if (whileOpen) whileOpen();
    }
    void close() override {}
};

class RecordingUpdateNotice : public UpdateNoticeView {
public:
    ProtectionCaptions captions;
    ScreenMeasures measures{800, 600, 30};
    int32_t height = 100, innerWidth = 200;  // pixels
    std::string text;
    bool visible = false;
    int32_t left = 0, top = 0;
    int moves = 0;

    void setCaption(ProtectionCaption id, const std::string& t) override { captions.set(id, t); }
    ScreenMeasures screen() const override { return measures; }
    int32_t heightPixels() const override { return height; }
    int32_t innerWidthPixels() const override { return innerWidth; }
    void setText(const std::string& t) override { text = t; }
    void show() override { visible = true; }
    void moveTo(int32_t l, int32_t t) override {
        left = l;
        top = t;
        ++moves;
    }
    void close() override { visible = false; }
};

class RecordingTray : public TrayView {
public:
    ProtectionCaptions captions;
    std::vector<std::string> iconCalls;  // "add <tip>", "tip <tip>", "delete"
    std::map<TrayMenuEntry, bool> entryEnabled;
    bool closeBold = false;
    bool menuVisible = false;
    int32_t menuLeft = 0, menuTop = 0;

    void showIcon(const std::string& tip) override { iconCalls.push_back("add " + tip); }
    void setTooltip(const std::string& tip) override { iconCalls.push_back("tip " + tip); }
    void removeIcon() override { iconCalls.push_back("delete"); }
    void setMenuCaption(ProtectionCaption id, const std::string& t) override { captions.set(id, t); }
    void setEntryEnabled(TrayMenuEntry e, bool on) override { entryEnabled[e] = on; }
    void setCloseEntryBold(bool b) override { closeBold = b; }
    ScreenMeasures screen() const override { return {1024, 768, 40}; }
    int32_t menuHeightPixels() const override { return 120; }
    int32_t menuInnerWidthPixels() const override { return 160; }
    void showMenu() override { menuVisible = true; }
    void moveMenu(int32_t l, int32_t t) override {
        menuLeft = l;
        menuTop = t;
    }
    void closeMenu() override { menuVisible = false; }
};

class RecordingSchedule : public ScheduleView {
public:
    ProtectionCaptions captions;
    ScheduleControls shown;
    void setCaption(ProtectionCaption id, const std::string& t) override { captions.set(id, t); }
    void showControls(const ScheduleControls& c) override { shown = c; }
};

}  // namespace vedozer::test
