#pragma once
#include <string>
#include <string_view>

namespace vedozer {

// The names one build ships under. The program name is also the settings application
// name and the title of every message box.
struct ProductIdentity {
    std::string programName;
    std::string companyName;
    std::string website;

    // The identity compiled into this build (set through CMake, also written into the
    // Windows version resource).
    static ProductIdentity fromBuild();
};

// Replaces "[ProgramName]", "[CompanyName]" (also written "[Company]") and "[Website]",
// ignoring case, everywhere in one left-to-right pass: text put in by a replacement is
// never scanned again.
std::string substitutePlaceholders(std::string_view text, const ProductIdentity& identity);

}  // namespace vedozer
