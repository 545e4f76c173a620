#pragma once
#include <functional>
#include <optional>
#include <string>

#include "core/Host.h"
#include "core/Outcome.h"
#include "i18n/Languages.h"
#include "platform/Registry.h"
#include "protection/BackgroundTimers.h"
#include "settings/Settings.h"

namespace vedozer {

// The browser's start page: HKEY_CURRENT_USER\<this key>, value "Start Page", a string.
inline constexpr char kStartPageKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr char kStartPageValue[] = "Start Page";

// The start page as stored (a final zero byte dropped); nullopt when the key or the value is
// missing, cannot be read, or is not a string.
std::optional<std::string> readStartPage(Registry& registry);
// Writes the page as a string value (the text and one zero byte). The key is never created: a
// missing key is not done.
Outcome writeStartPage(Registry& registry, const std::string& page);

// Two start pages are the same page when they differ at most in letter case and in a
// trailing "/".
bool sameStartPage(const std::string& a, const std::string& b);

enum class HomePageVerdict {
    ShieldOff,    // optIEHomePageSheildOn reads false: nothing looked at
    Remembered,   // no page was remembered yet: the current one is now, silently
    Unchanged,    // the start page is the remembered one
    Asked,        // the alert asked the person (see choice)
    Restored,     // put back silently, as the options say
    LeftAlone,    // changed, but neither option asks or restores
};

enum class HomePageChoice { None, Restore, Keep, Later };

// What one check saw and did.
struct HomePageCheck {
    HomePageVerdict verdict = HomePageVerdict::ShieldOff;
    std::string current;     // the start page read ("" when it could not be read)
    std::string remembered;  // the Homepage setting
    HomePageChoice choice = HomePageChoice::None;
    Outcome outcome = Outcome::skipped("nothing to do");  // of the restore or the adoption
};

// The home-page shield: every five seconds it compares the browser's start page with the page
// it remembers (OptionAndSettings/Homepage) and, when they differ, asks the person whether to
// put the remembered page back (Yes) or keep the new one (No), or puts it back silently when
// the options say so. It writes only the remembered page, read from that setting.
class HomePageShield {
public:
    // memoryShieldCheck runs on every third tick, whatever this shield's options say.
    HomePageShield(BackgroundTimers& timers, Settings& settings, const Languages& languages, Host& host,
                   Registry* registry, std::function<void()> memoryShieldCheck);

    void setHost(Host& host) { m_host = &host; }

    // CheckHomePage (tmrCheckHomePage's tick). The protection timers are held while it runs.
    HomePageCheck check();

    // The alert's question: the program name as title, the text of the alert, and as subjects
    // the remembered page and the current one. Yes restores, No keeps, Cancel asks again later.
    Question alertQuestion(const std::string& remembered, const std::string& current) const;

private:
    Outcome restore(const std::string& remembered);
    Outcome keep(const std::string& current);

    BackgroundTimers& m_timers;
    Settings& m_settings;
    const Languages& m_languages;
    Host* m_host;
    Registry* m_registry;
    std::function<void()> m_memoryShieldCheck;
    int m_ticks = 0;
    std::optional<std::string> m_toldFailure;  // the page whose silent restore failed and was told about
};

}  // namespace vedozer
