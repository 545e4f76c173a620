#include "protection/Scheduler.h"

#include <gtest/gtest.h>

#include "i18n/ProductIdentity.h"
#include "protection/ScheduleEditor.h"
#include "settings/SettingsKeys.h"
#include "support/FakePlatform.h"
#include "support/MemorySettingsStore.h"

namespace vedozer {
namespace {

struct SchedulerFixture : ::testing::Test {
    test::MemorySettingsStore store;
    Settings settings{store, ProductIdentity{"Vedozer Test", "Vedozer Labs", "http://x.example"}};
    test::FixedClock clock;
    std::vector<bool> scans;  // one entry per scan started: whether it removes without asking
    bool unattendedDuringScan = false;
    Scheduler scheduler{settings, &clock, [this](bool removeWithoutAsking) {
                            scans.push_back(removeWithoutAsking);
                            unattendedDuringScan = scheduler.unattendedRemoval();
                        }};

    void schedule(const std::string& day, const std::string& time, const std::string& date = "Null") {
        settings.save(skey::OptionAndSettings, skey::scheduledScanOn, "1");
        settings.save(skey::OptionAndSettings, skey::Day, day);
        settings.save(skey::OptionAndSettings, skey::Time, time);
        settings.save(skey::OptionAndSettings, skey::Date, date);
    }
    // Ticks at a wall-clock time of 2006-03-<day> (the 13th was a Monday).
    bool tickAt(int day, int h, int m, int s) {
        clock.time = LocalTime{2006, 3, day, h, m, s, 0};
        return scheduler.check();
    }
};

TEST_F(SchedulerFixture, ADailyScanStartsOnceAtItsSecondWhateverTheTimerResolution) {
    schedule("7", "14:30:00");
    EXPECT_FALSE(tickAt(16, 14, 29, 59));
    EXPECT_TRUE(tickAt(16, 14, 30, 0));
    // A 10 ms timer ticks a hundred times in that second, and again in the same minute.
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(tickAt(16, 14, 30, 0));
    EXPECT_FALSE(tickAt(16, 14, 30, 1));
    EXPECT_FALSE(tickAt(16, 14, 30, 59));
    EXPECT_EQ(scans.size(), 1u);
    // The next day it runs again.
    EXPECT_TRUE(tickAt(17, 14, 30, 0));
    EXPECT_EQ(scans.size(), 2u);
}

TEST_F(SchedulerFixture, ACoarseOrBusyTimerStartsTheScanLateButNeverMoreThanAMinuteLate) {
    schedule("7", "14:30:00");
    EXPECT_FALSE(tickAt(16, 14, 29, 58));
    EXPECT_TRUE(tickAt(16, 14, 30, 2));  // the tick that would have met 14:30:00 never came
    EXPECT_FALSE(tickAt(16, 14, 30, 4));
    // A window left in front all afternoon does not start the morning's scan when minimised.
    schedule("7", "09:00:00");
    EXPECT_FALSE(tickAt(17, 9, 1, 0));
    // Just after midnight, yesterday's 23:59:50 still starts.
    schedule("7", "23:59:50");
    EXPECT_TRUE(tickAt(18, 0, 0, 10));
    EXPECT_EQ(scans.size(), 2u);
}

TEST_F(SchedulerFixture, DaysWeekdaysDatesAndTimesThatNeverMatch) {
    schedule("0", "08:00:00");  // Monday, matched by number on any system language
    EXPECT_FALSE(tickAt(14, 8, 0, 0));
    EXPECT_TRUE(tickAt(13, 8, 0, 0));
    schedule("8", "2:30:00 PM", "25/12/2006");  // Date & Time
    EXPECT_FALSE(tickAt(25, 14, 30, 0));
    clock.time = LocalTime{2006, 12, 25, 14, 30, 0, 1};
    EXPECT_TRUE(scheduler.check());
    for (auto [day, time] : {std::pair{"9", "08:00:00"}, {"7", "Null"}, {"12", "08:00:00"}, {"None", "08:00:00"}}) {
        schedule(day, time);
        EXPECT_FALSE(tickAt(20, 8, 0, 0)) << day << " " << time;
    }
    EXPECT_EQ(scans.size(), 2u);
}

TEST_F(SchedulerFixture, AutomaticDeletionHoldsOnlyForTheScheduledScan) {
    schedule("7", "10:00:00");
    settings.save(skey::Settings, skey::autoDelete, "1");
    EXPECT_TRUE(tickAt(16, 10, 0, 0));
    EXPECT_EQ(scans, std::vector<bool>{true});
    EXPECT_TRUE(unattendedDuringScan);
    EXPECT_FALSE(scheduler.unattendedRemoval());
    settings.save(skey::Settings, skey::autoDelete, "0");
    EXPECT_TRUE(tickAt(17, 10, 0, 0));
    EXPECT_EQ(scans, (std::vector<bool>{true, false}));
    EXPECT_FALSE(unattendedDuringScan);
}

TEST(ScheduleFormats, StoredTimesAndDatesSurviveTheirTripAndOddFormsAreRead) {
    EXPECT_EQ(formatScheduleTime({14, 5, 9}), "14:05:09");
    EXPECT_EQ(formatScheduleDate({2006, 3, 7}), "07/03/2006");
    EXPECT_EQ(parseScheduleTime("14:05:09"), (TimeOfDay{14, 5, 9}));
    EXPECT_EQ(parseScheduleTime("12:15:00 AM"), (TimeOfDay{0, 15, 0}));
    EXPECT_EQ(parseScheduleTime("12:15 pm"), (TimeOfDay{12, 15, 0}));
    EXPECT_EQ(parseScheduleDate("07/03/2006"), (CalendarDate{2006, 3, 7}));
    EXPECT_EQ(parseScheduleDate("12/25/2006"), (CalendarDate{2006, 12, 25}));
    EXPECT_EQ(parseScheduleDate("2006-12-25"), (CalendarDate{2006, 12, 25}));
    EXPECT_EQ(parseScheduleDate("29/02/2008 00:00:00"), (CalendarDate{2008, 2, 29}));
    for (const char* bad : {"Null", "", "25:00:00", "13:00 PM", "12:60", "x"}) EXPECT_FALSE(parseScheduleTime(bad)) << bad;
    for (const char* bad : {"Null", "29/02/2006", "31/04/2006", "1/2", "a/b/c"}) EXPECT_FALSE(parseScheduleDate(bad)) << bad;
    for (int64_t d : {-1000, 0, 13220, 2932896}) EXPECT_EQ(daysFromDate(dateFromDays(d)), d);
    EXPECT_EQ(weekdayOf(daysFromDate({2006, 3, 16})), 4);  // a Thursday
}

TEST_F(SchedulerFixture, TheScheduleControlsStartAsDailyAndApplyStoresWhatTheyShow) {
    BackgroundTimers timers{settings};
    timers.setWindowState(WindowState::Tray);
    ScheduleEditor editor{settings, timers};
    editor.load();
    EXPECT_EQ(editor.controls().day, 7);
    EXPECT_FALSE(editor.controls().enabled);
    EXPECT_FALSE(editor.controls().dayListEnabled);

    editor.enabledClicked(true);
    editor.daySelected(8);
    EXPECT_TRUE(editor.controls().date.enabled && editor.controls().time.enabled);
    editor.timeChanged(TimeOfDay{9, 15, 0});
    EXPECT_EQ(editor.applyClicked(), ScheduleApplied::DateMissing);
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::Day, "<none>"), "<none>");

    editor.dateChanged(CalendarDate{2006, 12, 25});
    EXPECT_EQ(editor.applyClicked(), ScheduleApplied::Saved);
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::Day), "8");
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::Time), "09:15:00");
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::Date), "25/12/2006");
    EXPECT_TRUE(timers.scheduler.enabled());
    EXPECT_FALSE(editor.controls().applyEnabled);
    EXPECT_EQ(editor.controls().date.value, (CalendarDate{2006, 12, 25}));

    // A weekday clears the date; switching off keeps the box unticked after Apply.
    editor.daySelected(2);
    EXPECT_FALSE(editor.controls().date.value || editor.controls().date.enabled);
    editor.enabledClicked(false);
    EXPECT_EQ(editor.applyClicked(), ScheduleApplied::Disabled);
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::scheduledScanOn), "0");
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::Day), "8") << "only the switch was stored";
    EXPECT_FALSE(editor.controls().enabled);
    EXPECT_FALSE(timers.scheduler.enabled());

    editor.autoDeleteClicked(true);
    EXPECT_EQ(settings.get(skey::Settings, skey::autoDelete), "1");
}

}  // namespace
}  // namespace vedozer
