#include "app/time_stamp.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeStampTest, FormatByTheTimePartRules) {
    struct Case {
        DateTime when;
        const char* text;  // UTF-8 for reading; compared as code-page-936 bytes below
        const char* bytes;
    };
    const Case cases[] = {
        {{2024, 3, 5, 9, 7, 8}, "2024年3月5日9时7分8秒",
         "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "9\xCA\xB1" "7\xB7\xD6" "8\xC3\xEB"},
        {{2024, 3, 5, 14, 0, 5}, "2024年3月5日14时0分5秒",
         "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "14\xCA\xB1" "0\xB7\xD6" "5\xC3\xEB"},
        {{2024, 3, 5, 0, 0, 5}, "2024年3月5日0时0分5秒",
         "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "0\xCA\xB1" "0\xB7\xD6" "5\xC3\xEB"},
        {{2024, 3, 5, 9, 7, 0}, "2024年3月5日9时7分", "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "9\xCA\xB1" "7\xB7\xD6"},
        {{2024, 3, 5, 0, 5, 0}, "2024年3月5日0时5分", "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "0\xCA\xB1" "5\xB7\xD6"},
        {{2024, 3, 5, 14, 0, 0}, "2024年3月5日14时", "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "14\xCA\xB1"},
        {{2024, 3, 5, 0, 0, 0}, "2024年3月5日", "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5"},
        {{2024, 12, 31, 23, 59, 59}, "2024年12月31日23时59分59秒",
         "2024\xC4\xEA" "12\xD4\xC2" "31\xC8\xD5" "23\xCA\xB1" "59\xB7\xD6" "59\xC3\xEB"},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeStampText(c.when).View(), c.bytes) << c.text;
    EXPECT_EQ(TimeStampText({2024, 12, 31, 23, 59, 59}).Length(), 26u);
    EXPECT_EQ(TimeStampText({9999, 12, 31, 23, 59, 59}).Length(), 26u);
}

TEST(TimeStampTest, CurrentDateTimeIsACalendarValue) {
    const DateTime now = CurrentDateTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
    EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
    EXPECT_TRUE(now.second >= 0 && now.second <= 60);
}

}  // namespace
