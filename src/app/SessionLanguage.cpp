// The session: the language of every caption and message, and the localization file.
#include "app/Session.h"

#include "definitions/DefinitionFiles.h"
#include "i18n/LocalizationFile.h"
#include "i18n/MessageKeys.h"
#include "settings/SettingsKeys.h"

namespace vedozer {

std::string Session::localizationFilePath() {
    if (m_platform.programFolder.empty()) return "";
    return dataFilePath(m_platform.programFolder, kLocalizationFileName);
}

std::optional<ParsedLocalization> Session::readLocalization() {
    const std::string path = localizationFilePath();
    if (path.empty()) return std::nullopt;
    return readLocalizationFile(dataFiles(), path);
}

void Session::loadStartLanguage() {
    const std::string saved = m_settings.get(skey::Settings, skey::Language, "");
    m_languageWasChosen = !saved.empty();
    auto file = readLocalization();
    // Which language: the one asked for this run, else the locale's when the file has it, else
    // the saved one.
    std::string name = m_runLanguage.name;
    if (name.empty() && file && !m_runLanguage.locale.empty())
        name = languageForLocale(*file, m_runLanguage.locale).value_or("");
    if (name.empty()) name = m_languageWasChosen ? saved : "English";
    m_language = applyLanguage(m_languages, file, name);
    for (const std::string& note : m_language.notes) m_host->onNotice(Notice{NoticeKind::Warning, note});
    if (!m_language.problems.empty()) {
        m_startupProblems.push_back(languageProblemText(m_language));
        m_host->onNotice(Notice{NoticeKind::Warning, m_startupProblems.back()});
    }
}

std::vector<std::string> Session::availableLanguages() { return vedozer::availableLanguages(readLocalization()); }

LanguageState Session::chooseLanguage(const std::string& name) {
    m_language = applyLanguage(m_languages, readLocalization(), name);
    // Only a language that can be shown is kept; otherwise the saved one stays for the next start.
    if (m_language.problems.empty()) {
        m_settings.save(skey::Settings, skey::Language, name);
        m_languageWasChosen = true;
    }
    return m_language;
}

std::string Session::languageProblemText(const LanguageState& state) {
    if (state.problems.empty()) return "";
    std::string where = localizationFilePath().empty() ? std::string(kLocalizationFileName)
                                                       : dataFiles().displayPath(localizationFilePath());
    std::string text = message(msg::MSG_LANGUAGE_UNUSABLE) + "\r\n" + where + ": " + state.problems.front();
    if (state.problems.size() > 1)
        text += "\r\n(and " + std::to_string(state.problems.size() - 1) + " more)";
    return text;
}

LanguageDownloadResult Session::updateLanguageFile(const std::string& server) {
    const std::string path = localizationFilePath();
    if (path.empty()) return LanguageDownloadResult{false, "this program has no folder for its language file"};
    if (!m_platform.http) return LanguageDownloadResult{false, "no HTTP client on this system"};
    LanguageDownloadResult result =
        downloadLocalizationFile(*m_platform.http, *m_host, dataFiles(), path, definitionServer(server));
    if (result.replaced) m_language = applyLanguage(m_languages, readLocalization(), m_language.requested);
    return result;
}

Outcome Session::writeEnglishLocalizationFile(const std::string& path) {
    const std::string target = path.empty() ? localizationFilePath() : path;
    if (target.empty()) return Outcome::notDone("this program has no folder for its language file");
    auto out = dataFiles().openWrite(target, true);
    if (!out) return Outcome::notDone("cannot write " + dataFiles().displayPath(target));
    bool written = out->write(makeLocalizationFile(builtInTexts()));
    if (!out->close() || !written) return Outcome::notDone("cannot write " + dataFiles().displayPath(target));
    return Outcome::done();
}

Outcome Session::openLocalizationFile() {
    const std::string path = localizationFilePath();
    if (path.empty()) return Outcome::notDone("this program has no folder for its language file");
    if (!dataFiles().lookup(path)) {
        Outcome written = writeEnglishLocalizationFile(path);
        if (!written.isDone()) return written;
    }
    const std::string shown = dataFiles().displayPath(path);
    if (!m_platform.shell) return Outcome::notDone("this system has no program to open " + shown);
    if (!m_platform.shell->open(shown)) return Outcome::notDone(shown + " could not be opened");
    return Outcome::done();
}

LocalizationReport Session::checkLocalizationFile(const std::string& path) {
    const std::string target = path.empty() ? localizationFilePath() : path;
    if (target.empty()) return reportOn(std::nullopt);
    return reportOn(readLocalizationFile(dataFiles(), target));
}

}  // namespace vedozer
