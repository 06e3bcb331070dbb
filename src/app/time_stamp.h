// The status fields' form of a local date and time: "2024年3月5日9时7分8秒",
// with no padding and no separators, in code page 936.
#pragma once

#include "runner/text_buffers.h"

struct DateTime {
    int year;
    int month;   // 1 to 12
    int day;     // 1 to 31
    int hour;    // 0 to 23
    int minute;  // 0 to 59
    int second;  // 0 to 59
};

Text TimeStampText(const DateTime& when);

// Platform layer: the system clock in whole seconds, in local calendar time.
DateTime CurrentDateTime();
