// Localization.txt: the strict parser, the check of every language against the program's texts,
// loading each language into the catalogue, and the check of a language file the server sends.
#include "FuzzSupport.h"
#include "i18n/LanguageSelection.h"
#include "i18n/Languages.h"
#include "i18n/LocalizationCheck.h"
#include "i18n/LocalizationFile.h"
#include "i18n/LocalizationParser.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::text(data, size);
    const std::optional<ParsedLocalization> file = parseLocalization(bytes);
    (void)reportOn(file);
    Languages catalogue;
    catalogue.loadDefaultMessages();
    for (const std::string& name : availableLanguages(file)) (void)applyLanguage(catalogue, file, name);
    (void)applyLanguage(catalogue, file, "English");
    (void)localizationFromReply(bytes);
    return 0;
}
