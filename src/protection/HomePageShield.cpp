#include "protection/HomePageShield.h"

#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

std::optional<std::string> readStartPage(Registry& registry) {
    RegistryValue value;
    if (registry.readValue(RootKey::CurrentUser, kStartPageKey, kStartPageValue, value) != RegStatus::Ok)
        return std::nullopt;
    if (value.type != kRegSz && value.type != kRegExpandSz) return std::nullopt;
    std::string page = std::move(value.data);
    if (!page.empty() && page.back() == '\0') page.pop_back();
    return page;
}

Outcome writeStartPage(Registry& registry, const std::string& page) {
    if (registry.openKey(RootKey::CurrentUser, kStartPageKey, kKeyReadWriteMask) != RegStatus::Ok)
        return Outcome::notDone("the browser's settings key is missing");
    std::string data = page;
    data.push_back('\0');
    RegStatus s = registry.setValue(RootKey::CurrentUser, kStartPageKey, kStartPageValue, RegistryValue{kRegSz, data});
    if (s == RegStatus::Ok) return Outcome::done();
    std::string why = registry.lastProblem();
    if (why.empty()) why = s == RegStatus::AccessDenied ? "access denied" : "the registry refused the value";
    return Outcome::notDone(why);
}

bool sameStartPage(const std::string& a, const std::string& b) {
    auto bare = [](std::string_view s) {
        while (!s.empty() && s.back() == '/') s.remove_suffix(1);
        return s;
    };
    return text::iequals(bare(a), bare(b));
}

HomePageShield::HomePageShield(BackgroundTimers& timers, Settings& settings, const Languages& languages, Host& host,
                               Registry* registry, std::function<void()> memoryShieldCheck)
    : m_timers(timers),
      m_settings(settings),
      m_languages(languages),
      m_host(&host),
      m_registry(registry),
      m_memoryShieldCheck(std::move(memoryShieldCheck)) {}

Question HomePageShield::alertQuestion(const std::string& remembered, const std::string& current) const {
    const std::string& name = m_languages.identity().programName;
    Question q;
    q.kind = QuestionKind::HomePageChanged;
    q.title = name;
    q.text = name + " has detected that your Homepage has been changed.\r\n\r\n" +
             "Click YES to keep your homepage as:\r\n" + remembered + "\r\n\r\n" +
             "Click No to change your homepage to:\r\n" + current;
    q.buttons = Buttons::YesNoCancel;
    q.icon = QuestionIcon::Exclamation;
    q.subjects = {remembered, current};
    return q;
}

HomePageCheck HomePageShield::check() {
    if (++m_ticks > 2) {
        m_ticks = 0;
        if (m_memoryShieldCheck) m_memoryShieldCheck();
    }
    HomePageCheck c;
    BackgroundTimers::Hold hold = m_timers.hold();
    if (!m_settings.getBool(skey::OptionAndSettings, skey::homePageShieldOn, true) || !m_registry) return c;

    c.current = readStartPage(*m_registry).value_or("");
    c.remembered = m_settings.get(skey::OptionAndSettings, skey::Homepage, "");
    if (c.remembered.empty()) {
        c.verdict = HomePageVerdict::Remembered;
        // Nothing read, nothing remembered: the next check tries again.
        if (c.current.empty()) return c;
        c.remembered = c.current;
        c.outcome = m_settings.save(skey::OptionAndSettings, skey::Homepage, c.current)
                        ? Outcome::done()
                        : Outcome::notDone("the settings store refused the page");
        return c;
    }
    c.verdict = HomePageVerdict::Unchanged;
    if (sameStartPage(c.remembered, c.current)) return c;

    if (m_settings.getBool(skey::OptionAndSettings, skey::homePageAskBeforeRestoring, true)) {
        c.verdict = HomePageVerdict::Asked;
        switch (m_host->ask(alertQuestion(c.remembered, c.current))) {
            case Answer::Yes:
                c.choice = HomePageChoice::Restore;
                c.outcome = restore(c.remembered);
                if (c.outcome.failed())
                    m_host->onNotice(Notice{NoticeKind::Warning,
                                            "The home page could not be restored to " + c.remembered + ": " +
                                                c.outcome.reason + "."});
                break;
            case Answer::No:
                c.choice = HomePageChoice::Keep;
                c.outcome = keep(c.current);
                break;
            default:
                c.choice = HomePageChoice::Later;
                c.outcome = Outcome::skipped("no choice was made");
                break;
        }
    } else if (m_settings.getBool(skey::OptionAndSettings, skey::homePageRestoreSilently, false)) {
        c.verdict = HomePageVerdict::Restored;
        c.outcome = restore(c.remembered);
        // Told once per unwanted page, not at every check while the write keeps failing.
        if (c.outcome.failed() && m_toldFailure != c.current) {
            m_toldFailure = c.current;
            m_host->onNotice(Notice{NoticeKind::Warning, "The home page could not be restored to " + c.remembered +
                                                             ": " + c.outcome.reason + "."});
        }
    } else {
        c.verdict = HomePageVerdict::LeftAlone;
    }
    return c;
}

Outcome HomePageShield::restore(const std::string& remembered) {
    // Only a page the setting holds is ever written.
    if (remembered.empty()) return Outcome::skipped("no page is remembered");
    m_settings.save(skey::OptionAndSettings, skey::Homepage, remembered);
    Outcome written = writeStartPage(*m_registry, remembered);
    if (written.isDone()) m_toldFailure.reset();
    return written;
}

Outcome HomePageShield::keep(const std::string& current) {
    if (!m_settings.save(skey::OptionAndSettings, skey::Homepage, current))
        return Outcome::notDone("the settings store refused the page");
    return Outcome::done();
}

}  // namespace vedozer
