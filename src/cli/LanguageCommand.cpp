// vedozer language list|set|check|missing|make-file|update: the languages of Localization.txt.
#include <CLI/CLI.hpp>

#include <iostream>

#include "BuildIdentity.h"
#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "i18n/LocalizationCheck.h"
#include "i18n/MessageKeys.h"
#include "settings/SettingsKeys.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer::cli {
namespace {

struct LanguageArgs {
    std::string name;
    std::string file;
    std::string server;
    bool force = false;
};

std::string utf8(const std::string& cp1252) { return text::cp1252ToUtf8(cp1252); }

std::string fileOf(Session& session, const std::string& given) {
    std::string path = given.empty() ? session.localizationFilePath() : given;
    if (path.empty()) throw CliError("this program has no folder for its language file; name a file");
    return path;
}

int list(CliContext& context) {
    Session& session = context.quietSession();
    const std::string saved = session.setting(skey::Settings, skey::Language).value_or("");
    for (const std::string& name : session.availableLanguages()) {
        bool inUse = text::iequals(name, session.languages().currentLanguage());
        std::cout << (inUse ? "* " : "  ") << utf8(name);
        if (!saved.empty() && text::iequals(name, saved)) std::cout << "  (saved)";
        std::cout << "\n";
    }
    return kExitOk;
}

int set(CliContext& context, const std::string& name) {
    Session& session = context.quietSession();
    const std::string wanted = text::utf8ToCp1252(name);
    std::string known;
    for (const std::string& n : session.availableLanguages()) {
        if (text::iequals(n, wanted)) known = n;
    }
    if (known.empty()) {
        std::string names;
        for (const std::string& n : session.availableLanguages()) names += (names.empty() ? "" : ", ") + utf8(n);
        throw CliError("there is no language \"" + name + "\"; the languages are: " + names);
    }
    LanguageState state = session.chooseLanguage(known);
    if (!state.problems.empty()) throw CliError(utf8(session.languageProblemText(state)));
    std::cout << "Language: " << utf8(state.applied.empty() ? known : state.applied) << "\n";
    return kExitOk;
}

// Everything a translator needs: what keeps the file or a language from being used, and the
// texts each language still lacks. Exit 1 when anything is wrong or missing.
int check(CliContext& context, const std::string& given) {
    Session& session = context.quietSession();
    const std::string path = fileOf(session, given);
    LocalizationReport report = session.checkLocalizationFile(path);
    if (!report.exists) throw CliError("there is no file " + path);
    for (const std::string& p : report.fileProblems) std::cout << path << ": " << utf8(p) << "\n";
    for (const LanguageReport& l : report.languages) {
        std::cout << utf8(l.name) << (l.tag.empty() ? "" : " (" + l.tag + ")") << ": ";
        if (l.problems.empty() && l.missing.empty() && l.note.empty()) {
            std::cout << "complete\n";
            continue;
        }
        std::cout << (l.problems.empty() ? "usable" : "cannot be used") << ", " << l.missing.size()
                  << " texts missing\n";
        for (const std::string& p : l.problems) std::cout << "  " << utf8(p) << "\n";
        if (!l.note.empty()) std::cout << "  " << utf8(l.note) << "\n";
        for (const std::string& key : l.missing) std::cout << "  missing: " << key << "\n";
    }
    return report.complete() ? kExitOk : kExitFound;
}

// The keys one language lacks with their English texts, one per line, for a translator.
int missing(CliContext& context, const std::string& name, const std::string& given) {
    Session& session = context.quietSession();
    const std::string path = fileOf(session, given);
    LocalizationReport report = session.checkLocalizationFile(path);
    if (!report.exists) throw CliError("there is no file " + path);
    if (!report.fileProblems.empty()) throw CliError(path + ": " + utf8(report.fileProblems.front()));
    for (const LanguageReport& l : report.languages) {
        if (!text::iequals(l.name, text::utf8ToCp1252(name))) continue;
        for (const std::string& key : l.missing) {
            std::string english;
            for (const auto& [k, t] : builtInTexts())
                if (k == key) english = t;
            std::cout << key << "\t" << utf8(english) << "\n";
        }
        return l.missing.empty() ? kExitOk : kExitFound;
    }
    throw CliError("there is no language \"" + name + "\" in " + path);
}

int makeFile(CliContext& context, const std::string& path, bool force) {
    Session& session = context.quietSession();
    if (!force && session.dataFiles().lookup(path))
        throw CliError(path + " exists; --force replaces it (its other languages are lost)");
    Outcome written = session.writeEnglishLocalizationFile(path);
    if (!written.isDone()) throw CliError(written.reason);
    std::cout << "Wrote " << path << " (" << builtInTexts().size() << " English texts)\n";
    return kExitOk;
}

int update(CliContext& context, const std::string& server) {
    Session& session = context.quietSession();
    LanguageDownloadResult result = session.updateLanguageFile(server);
    if (!result.replaced) throw CliError(utf8(session.message(msg::MSG_LANGUAGE_NOT_UPDATED)) + " " + utf8(result.error));
    std::cout << utf8(session.message(msg::MSG_DOWNLOADED)) << "\n";
    return kExitOk;
}

Registration reg(65, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<LanguageArgs>();
    auto* cmd = app.add_subcommand("language", "The languages of Localization.txt: list, choose, check, update");
    cmd->require_subcommand(1);
    cmd->add_subcommand("list", "The languages to choose from (* the one in use, \"(saved)\" the saved one)")
        ->callback([&context] { context.run([&] { return list(context); }); });
    auto* setCmd = cmd->add_subcommand("set", "Choose and save the language (Settings/Language)");
    setCmd->add_option("NAME", args->name, "A language name as \"language list\" shows it")->required();
    setCmd->callback([&context, args] { context.run([&] { return set(context, args->name); }); });
    auto* checkCmd = cmd->add_subcommand("check", "Check a language file against the program's texts: problems and "
                                                  "missing texts per language (exit 1 when anything is missing)");
    checkCmd->add_option("FILE", args->file, "Default: the program's Localization.txt");
    checkCmd->callback([&context, args] { context.run([&] { return check(context, args->file); }); });
    auto* missingCmd = cmd->add_subcommand("missing", "The keys a language lacks, with their English texts");
    missingCmd->add_option("NAME", args->name)->required();
    missingCmd->add_option("FILE", args->file, "Default: the program's Localization.txt");
    missingCmd->callback([&context, args] { context.run([&] { return missing(context, args->name, args->file); }); });
    auto* makeCmd = cmd->add_subcommand("make-file", "Write a language file holding the built-in English texts");
    makeCmd->add_option("FILE", args->file)->required();
    makeCmd->add_flag("--force", args->force, "Replace an existing file");
    makeCmd->callback([&context, args] { context.run([&] { return makeFile(context, args->file, args->force); }); });
    auto* updateCmd = cmd->add_subcommand("update", "Check for language updates: fetch the language file from the "
                                                    "server and replace ours when it is usable");
    updateCmd->add_option("--server", args->server,
                          "Definition server (default: setting Settings/DefinitionServer, else " VEDOZER_BUILD_DEFAULT_SERVER
                          ")");
    updateCmd->callback([&context, args] { context.run([&] { return update(context, args->server); }); });
});

}  // namespace
}  // namespace vedozer::cli
