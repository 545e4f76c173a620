#include <gtest/gtest.h>

#include "DefTestFiles.h"
#include "definitions/LineCodec.h"
#include "update/UpdateFeed.h"

namespace vedozer {
namespace {

TEST(UpdateFeed, SplitsTrimsAndSkipsEmptyRecords) {
    std::string cook = EncodeDefinitionLine("COOK");
    auto records = parseUpdateFeed("  " + cook + "|ADD[DEF]a  [bR][BR]   [br]" + cook + "|DEL|x[DEF]b[DEF]c[Br]" + cook +
                                   "[DEF]d[BR]" + cook + "|ADD");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].typeCode, "COOK");
    EXPECT_EQ(records[0].action, "ADD");
    EXPECT_EQ(records[0].payload, "a");
    EXPECT_EQ(records[0].number, 1u);
    EXPECT_EQ(records[1].action, "DEL") << "further header fields are ignored";
    EXPECT_EQ(records[1].payload, "b") << "text after a second [DEF] is ignored";
    EXPECT_FALSE(records[2].hasAction);
    EXPECT_TRUE(records[2].hasPayload);
    EXPECT_TRUE(records[3].hasAction);
    EXPECT_FALSE(records[3].hasPayload);
    EXPECT_TRUE(parseUpdateFeed("").empty());
    EXPECT_TRUE(parseUpdateFeed(" [BR]  [BR]").empty());
    // Only blanks are trimmed: a line end stays part of the record, and such a record is refused.
    EXPECT_THROW(parseUpdateFeed("\r\n" + cook + "|ADD[DEF]a"), FeedFormatError);
    EXPECT_EQ(parseUpdateFeed("\t" + cook + "|ADD[DEF]a")[0].typeCode, DecodeDefinitionLine("\t") + "COOK");
}

TEST(UpdateFeed, RefusesRecordsThatWouldBreakADefinitionFile) {
    const std::string cook = EncodeDefinitionLine("COOK");
    auto problem = [](const std::string& feed) -> std::string {
        try {
            parseUpdateFeed(feed);
            return "";
        } catch (const FeedFormatError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(problem(cook + "|ADD[DEF]a[BR]" + cook + "|ADD[DEF]b\r\nc"), "record 2 holds a line break");
    EXPECT_EQ(problem(cook + "|ADD[DEF]" + test::feedPayload("a\x1b]0;x")), "record 1 holds a control character");
    EXPECT_EQ(problem(cook + "|ADD[DEF]" + std::string(kMaxFeedRecordLength, 'a')),
              "record 1 is longer than 65536 bytes");
    // What is never stored is not looked at: the action, further header fields, text after a
    // second [DEF]; and a lone CR or LF is an encoded character.
    EXPECT_EQ(problem(cook + "|AD\r\nD|\x01[DEF]a[DEF]\r\n"), "");
    EXPECT_EQ(problem(cook + "|ADD[DEF]a\rb\nc"), "");
    EXPECT_EQ(problem(cook + "|ADD[DEF]" + std::string(kMaxFeedRecordLength - 14, 'a')), "");
}

TEST(UpdateFeed, KindsAcceptTheirTypeCodes) {
    const auto& kinds = definitionKinds();
    auto accepted = [&](const char* code) {
        std::string files;
        for (const auto& k : kinds)
            if (k.accepts(code)) files += std::string(k.fileName) + " ";
        return files;
    };
    EXPECT_EQ(accepted("FILE"), "FileDefinition.dat ");
    EXPECT_EQ(accepted("DLL"), "FileDefinition.dat ");
    EXPECT_EQ(accepted("EXE"), "FileDefinition.dat ExeDefinition.dat ");
    EXPECT_EQ(accepted("REG"), "RegistryDefinition.dat ");
    EXPECT_EQ(accepted("COOK"), "BlockedCookies.dat ");
    EXPECT_EQ(accepted("DIR"), "DirectoryDefinition.dat ");
    EXPECT_EQ(accepted("SREG"), "Safety.dat ");
    EXPECT_EQ(accepted("xs"), "Safety.dat ");
    EXPECT_EQ(accepted("file"), "");
    EXPECT_EQ(accepted("Reg"), "");
}

TEST(UpdateFeed, StoredRecordsOfEachForm) {
    const auto& kinds = definitionKinds();
    FeedRecord r;
    r.typeCode = "SDIR";
    r.payload = test::feedPayload("a=b|c");
    EXPECT_EQ(DecodeDefinitionLine(storedRecord(kinds[0], r)), "a=b|c");
    EXPECT_EQ(DecodeDefinitionLine(storedRecord(kinds[3], r)), "a");
    EXPECT_EQ(DecodeDefinitionLine(storedRecord(kinds[5], r)), "SDIR|a=b|c");
    r.payload = test::feedPayload("key=Spy|2^Software\\Spy|Adware|extra");
    EXPECT_EQ(DecodeDefinitionLine(storedRecord(kinds[2], r)), "2^Software\\Spy^=Spy|Adware");
    for (const char* bad : {"key=Spy|2^Software", "keyonly|2^Software\\Spy|Adware"}) {
        r.payload = test::feedPayload(bad);
        EXPECT_THROW(storedRecord(kinds[2], r), FeedRecordError) << bad;
    }
    EXPECT_EQ(payloadKey("abc=def=g"), "abc");
    EXPECT_EQ(payloadKey("abc"), "abc");
}

}  // namespace
}  // namespace vedozer
