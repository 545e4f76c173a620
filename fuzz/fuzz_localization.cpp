// Localization.txt: language groups, their items, loading them into the catalogue, and the
// server reply check.
#include "FuzzSupport.h"
#include "i18n/LocalizationFile.h"
#include "i18n/Languages.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file = fuzz::text(data, size);
    Languages catalogue;
    catalogue.loadDefaultMessages();
    for (const std::string& name : listLanguageNames(file)) {
        (void)findLanguageItems(file, name);
        changeLanguage(catalogue, file, name);
    }
    (void)loadLanguage(catalogue, file, "English");
    (void)localizationFromReply(file);
    return 0;
}
