#include "protection/HomePageShield.h"

#include <gtest/gtest.h>

#include "scan/ScanImage.h"
#include "settings/SettingsKeys.h"
#include "support/FakePlatform.h"

namespace vedozer {
namespace {

using test::hiveSz;

// The user's hive of an offline system with a start page, and the shield over it.
struct HomePageImage {
    test::ScanImage img;
    BackgroundTimers timers{*img.settings};
    int memoryChecks = 0;
    HomePageShield shield{timers, *img.settings, img.languages, img.host, img.platform().registry,
                          [this] { ++memoryChecks; }};

    explicit HomePageImage(const std::string& startPage = "http://home.example/")
        : img({}, {hiveSz(kStartPageKey, kStartPageValue, startPage)}) {
        timers.set(true);
    }
    std::string startPage() { return readStartPage(*img.platform().registry).value_or("<unreadable>"); }
    void hijack(const std::string& page) {
        ASSERT_TRUE(writeStartPage(*img.platform().registry, page).isDone());
    }
    std::string remembered() { return img.settings->get(skey::OptionAndSettings, skey::Homepage, "<none>"); }
};

TEST(HomePageShield, TheFirstCheckRemembersThePageSilentlyAndEqualPagesDifferOnlyInCaseOrSlash) {
    HomePageImage h;
    HomePageCheck first = h.shield.check();
    EXPECT_EQ(first.verdict, HomePageVerdict::Remembered);
    EXPECT_EQ(h.remembered(), "http://home.example/");
    h.hijack("HTTP://HOME.EXAMPLE");
    EXPECT_EQ(h.shield.check().verdict, HomePageVerdict::Unchanged);
    EXPECT_TRUE(h.img.host.asked().empty());
    EXPECT_TRUE(sameStartPage("http://a.example//", "HTTP://A.EXAMPLE"));
    EXPECT_FALSE(sameStartPage("http://a.example/x", "http://a.example/y"));
}

TEST(HomePageShield, AChangedPageIsPutBackOnlyWhenThePersonSaysYes) {
    HomePageImage h;
    h.shield.check();
    h.hijack("http://search.bad.example/");
    bool heldWhileAsking = false;
    h.img.host.setHandler([&](const test::ScriptedHost::Asked&) {
        heldWhileAsking = h.timers.held() && !h.timers.homePageCheck.enabled();
        EXPECT_EQ(h.startPage(), "http://search.bad.example/") << "nothing written before the answer";
        return Answer::Yes;
    });

    HomePageCheck c = h.shield.check();
    EXPECT_EQ(c.verdict, HomePageVerdict::Asked);
    EXPECT_EQ(c.choice, HomePageChoice::Restore);
    EXPECT_TRUE(c.outcome.isDone());
    EXPECT_TRUE(heldWhileAsking);
    EXPECT_TRUE(h.timers.homePageCheck.enabled());
    EXPECT_EQ(h.startPage(), "http://home.example/");
    const auto& asked = h.img.host.asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, QuestionKind::HomePageChanged);
    EXPECT_EQ(asked[0].title, "Vedozer Test");
    EXPECT_EQ(asked[0].text,
              "Vedozer Test has detected that your Homepage has been changed.\r\n\r\nClick YES to keep your homepage "
              "as:\r\nhttp://home.example/\r\n\r\nClick No to change your homepage to:\r\nhttp://search.bad.example/");
    // The value went back as a string with its terminating zero, in the hive file itself.
    auto stored = h.img.platform().registry->queryValue(RootKey::CurrentUser, kStartPageKey, kStartPageValue);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, kRegSz);
    EXPECT_EQ(stored->data, std::string("http://home.example/") + '\0');
}

TEST(HomePageShield, NoAdoptsTheNewPageAndAClosedAlertAsksAgainLater) {
    HomePageImage h;
    h.shield.check();
    h.hijack("http://new.example/");
    h.img.host.answers({Answer::Cancel, Answer::No});
    EXPECT_EQ(h.shield.check().choice, HomePageChoice::Later);
    EXPECT_EQ(h.remembered(), "http://home.example/");
    EXPECT_EQ(h.shield.check().choice, HomePageChoice::Keep);
    EXPECT_EQ(h.remembered(), "http://new.example/");
    EXPECT_EQ(h.startPage(), "http://new.example/");
    EXPECT_EQ(h.shield.check().verdict, HomePageVerdict::Unchanged);
}

TEST(HomePageShield, TheOptionsChooseSilentRestoreOrNothing) {
    HomePageImage h;
    h.shield.check();
    h.img.option(skey::homePageAskBeforeRestoring, "False");
    h.img.option(skey::homePageRestoreSilently, "False");
    h.hijack("http://new.example/");
    EXPECT_EQ(h.shield.check().verdict, HomePageVerdict::LeftAlone);
    EXPECT_EQ(h.startPage(), "http://new.example/");

    h.img.option(skey::homePageRestoreSilently, "True");
    EXPECT_EQ(h.shield.check().verdict, HomePageVerdict::Restored);
    EXPECT_EQ(h.startPage(), "http://home.example/");
    EXPECT_TRUE(h.img.host.asked().empty());

    h.img.option(skey::homePageShieldOn, "False");
    h.hijack("http://new.example/");
    EXPECT_EQ(h.shield.check().verdict, HomePageVerdict::ShieldOff);
    EXPECT_FALSE(h.timers.homePageCheck.enabled());
    EXPECT_EQ(h.startPage(), "http://new.example/");
}

TEST(HomePageShield, EveryThirdTickRunsTheMemoryShieldWhateverThisShieldsOptions) {
    HomePageImage h;
    h.img.option(skey::homePageShieldOn, "False");
    for (int i = 0; i < 7; ++i) h.shield.check();
    EXPECT_EQ(h.memoryChecks, 2);
}

TEST(HomePageShield, APageIsWrittenOnlyFromTheSettingAndNeverIntoAMissingKey) {
    test::MemoryRegistry registry;
    test::ScanImage img;
    BackgroundTimers timers{*img.settings};
    HomePageShield shield{timers, *img.settings, img.languages, img.host, &registry, {}};
    img.option(skey::homePageRestoreSilently, "True");
    img.option(skey::homePageAskBeforeRestoring, "False");

    // Nothing read and nothing remembered: nothing to write or remember.
    EXPECT_EQ(shield.check().verdict, HomePageVerdict::Remembered);
    EXPECT_EQ(img.settings->get(skey::OptionAndSettings, skey::Homepage, "<none>"), "<none>");
    EXPECT_FALSE(registry.keyExists(RootKey::CurrentUser, kStartPageKey));

    // A remembered page whose key has gone: reported once, and the key is not created.
    img.option(skey::Homepage, "http://home.example/");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(shield.check().outcome.failed());
    EXPECT_FALSE(registry.keyExists(RootKey::CurrentUser, kStartPageKey));
    ASSERT_EQ(img.host.notices.size(), 1u);
    EXPECT_NE(img.host.notices[0].text.find("could not be restored"), std::string::npos);

    // A value that is not a string reads as no page.
    registry.setValue(RootKey::CurrentUser, kStartPageKey, kStartPageValue, RegistryValue{kRegDword, std::string("\1\0\0\0", 4)});
    EXPECT_FALSE(readStartPage(registry));
}

}  // namespace
}  // namespace vedozer
