#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "i18n/ProductIdentity.h"

namespace vedozer {
namespace {

const ProductIdentity kIdentity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"};

TEST(ProductIdentity, FromBuildTakesEachFieldFromItsOwnBuildSetting) {
    ProductIdentity id = ProductIdentity::fromBuild();
    EXPECT_EQ(id.programName, VEDOZER_BUILD_PRODUCT_NAME);
    EXPECT_EQ(id.companyName, VEDOZER_BUILD_COMPANY_NAME);
    EXPECT_EQ(id.website, VEDOZER_BUILD_WEBSITE);
    EXPECT_FALSE(id.programName.empty());
}

TEST(Placeholders, EachTokenIsReplacedEverywhere) {
    EXPECT_EQ(
        substitutePlaceholders("[ProgramName] by [CompanyName], see [Website]. [ProgramName]!", kIdentity),
        "Vedozer Anti-Spyware by Vedozer Labs, see http://www.vedozer.example. Vedozer Anti-Spyware!");
}

TEST(Placeholders, CaseIsIgnored) {
    EXPECT_EQ(substitutePlaceholders("Your [programname] and [WEBSITE] and [companyNAME]", kIdentity),
              "Your Vedozer Anti-Spyware and http://www.vedozer.example and Vedozer Labs");
}

TEST(Placeholders, ShortCompanyTokenCountsAsCompanyName) {
    EXPECT_EQ(substitutePlaceholders("[ProgramName] by [Company]", kIdentity),
              "Vedozer Anti-Spyware by Vedozer Labs");
    EXPECT_EQ(substitutePlaceholders("[company][companyname]", kIdentity), "Vedozer LabsVedozer Labs");
}

TEST(Placeholders, OtherBracketsStayAsWritten) {
    EXPECT_EQ(substitutePlaceholders("[ProgramName] has found [", kIdentity),
              "Vedozer Anti-Spyware has found [");
    EXPECT_EQ(substitutePlaceholders("[Program Name] [] [[Website]]", kIdentity),
              "[Program Name] [] [http://www.vedozer.example]");
    EXPECT_EQ(substitutePlaceholders("", kIdentity), "");
}

TEST(Placeholders, ReplacementTextIsNotScannedAgain) {
    ProductIdentity odd{"[Website]", "[ProgramName]", "site"};
    EXPECT_EQ(substitutePlaceholders("[ProgramName]/[Company]/[Website]", odd),
              "[Website]/[ProgramName]/site");
}

TEST(Placeholders, MissingIdentityFieldsBecomeEmpty) {
    EXPECT_EQ(substitutePlaceholders("Visit [Website] for [ProgramName].", ProductIdentity{}),
              "Visit  for .");
}

}  // namespace
}  // namespace vedozer
