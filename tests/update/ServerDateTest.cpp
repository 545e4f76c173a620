#include <gtest/gtest.h>

#include "update/ServerDate.h"

namespace vedozer {
namespace {

DateValue dt(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return DateValue{y, mo, d, h, mi, s}; }

TEST(ServerDate, ParsesTheGeneralFormatAndItsRelatives) {
    EXPECT_EQ(ParseGeneralDate("3/16/2006 12:00:00 AM"), dt(2006, 3, 16));
    EXPECT_EQ(ParseGeneralDate("3/16/2006 12:00:00 PM"), dt(2006, 3, 16, 12));
    EXPECT_EQ(ParseGeneralDate("3/16/2006 1:05:09 PM"), dt(2006, 3, 16, 13, 5, 9));
    EXPECT_EQ(ParseGeneralDate("12/31/2006 11:59:59 pm"), dt(2006, 12, 31, 23, 59, 59));
    EXPECT_EQ(ParseGeneralDate("3/16/2006"), dt(2006, 3, 16));
    EXPECT_EQ(ParseGeneralDate("  3/16/2006  "), dt(2006, 3, 16));
    EXPECT_EQ(ParseGeneralDate("03/06/2006 7:30 AM"), dt(2006, 3, 6, 7, 30));
    EXPECT_EQ(ParseGeneralDate("3/16/06 13:10"), dt(2006, 3, 16, 13, 10));
    EXPECT_EQ(ParseGeneralDate("3/16/99"), dt(1999, 3, 16));
    EXPECT_EQ(ParseGeneralDate("2006-03-16 13:10:05"), dt(2006, 3, 16, 13, 10, 5));
    EXPECT_EQ(ParseGeneralDate("2006-03-16T13:10:05"), dt(2006, 3, 16, 13, 10, 5));
    EXPECT_EQ(ParseGeneralDate("3-16-2006 3 PM"), dt(2006, 3, 16, 15));
    EXPECT_EQ(ParseGeneralDate("2/29/2008"), dt(2008, 2, 29));
    // A year below 1000 reads back as it is written (date.dat, the feed request).
    EXPECT_EQ(ParseGeneralDate("5/15/0574 9:30:00 AM"), dt(574, 5, 15, 9, 30));
    EXPECT_EQ(ParseGeneralDate(FormatGeneralDate(dt(574, 5, 15, 9, 30))), dt(574, 5, 15, 9, 30));
}

TEST(ServerDate, RejectsWhatIsNotARealDate) {
    for (const char* bad : {"", "   ", "hello", "3/16", "13/1/2006", "2/29/2006", "4/31/2006", "0/1/2006",
                            "3/16/2006 25:00", "3/16/2006 13:00 PM", "3/16/2006 12:60:00 AM", "3/16/2006 12",
                            "3/16/2006 12:00:00 AM PST", "3/16/2006/1", "3/16-2006", "12:00:00 PM",
                            "3/16/2006 12:00:00 XM", "<html>3/16/2006</html>", "2/29/1900"}) {
        EXPECT_FALSE(ParseGeneralDate(bad).has_value()) << bad;
    }
}

TEST(ServerDate, FormatsTheGeneralFormatWithoutAMidnightTime) {
    EXPECT_EQ(FormatGeneralDate(dt(2006, 3, 16)), "3/16/2006");
    EXPECT_EQ(FormatGeneralDate(dt(2006, 3, 16, 0, 0, 1)), "3/16/2006 12:00:01 AM");
    EXPECT_EQ(FormatGeneralDate(dt(2006, 3, 16, 12)), "3/16/2006 12:00:00 PM");
    EXPECT_EQ(FormatGeneralDate(dt(2006, 11, 5, 13, 5, 9)), "11/5/2006 1:05:09 PM");
    EXPECT_EQ(FormatGeneralDate(dt(2006, 11, 5, 9, 30)), "11/5/2006 9:30:00 AM");
    // Round trip for a spread of times.
    for (int h = 0; h < 24; ++h) {
        DateValue d = dt(2010, 6, 1, h, 7, 8);
        EXPECT_EQ(ParseGeneralDate(FormatGeneralDate(d)), d);
    }
}

TEST(ServerDate, ComparesAsValuesNotAsText) {
    EXPECT_LT(*ParseGeneralDate("9/1/2006"), *ParseGeneralDate("10/1/2006"));
    EXPECT_LT(*ParseGeneralDate("3/16/2006 11:59:59 PM"), *ParseGeneralDate("3/17/2006"));
    EXPECT_LT(*ParseGeneralDate("3/16/2006 12:00:00 PM"), *ParseGeneralDate("3/16/2006 1:00:00 PM"));
    EXPECT_EQ(*ParseGeneralDate("3/16/2006 12:00:00 AM"), *ParseGeneralDate("3/16/2006"));
}

TEST(ServerDate, NormaliseServerDateCutsAfterTheFirstPmOrAm) {
    EXPECT_EQ(NormaliseServerDate("  4/2/2006 3:00:00 PM PST"), "4/2/2006 3:00:00 PM");
    EXPECT_EQ(NormaliseServerDate("4/2/2006 3:00:00 AM Pacific"), "4/2/2006 3:00:00 AM");
    EXPECT_EQ(NormaliseServerDate("4/2/2006 3:00:00 pm\r\n"), "4/2/2006 3:00:00 pm");
    EXPECT_EQ(NormaliseServerDate("\t4/2/2006 3:00:00 AM\r\n"), "4/2/2006 3:00:00 AM");
    EXPECT_EQ(NormaliseServerDate("4/2/2006\r\n"), "4/2/2006");
    EXPECT_EQ(NormaliseServerDate("4/2/20\t06"), "4/2/2006");
    // "PM" wins over an earlier "AM".
    EXPECT_EQ(NormaliseServerDate("AM 4/2/2006 1:00 PM x"), "AM 4/2/2006 1:00 PM");
    EXPECT_EQ(NormaliseServerDate(""), "");
    EXPECT_EQ(*ParseGeneralDate(NormaliseServerDate("4/2/2006 3:00:00 PM PST\r\n")), dt(2006, 4, 2, 15));
    EXPECT_EQ(ParseGeneralDate(NormaliseServerDate("4/2/2006 3:00:00 PM\t\r\n")),
              ParseGeneralDate(NormaliseServerDate("4/2/2006 3:00:00 PM")));
}

}  // namespace
}  // namespace vedozer
