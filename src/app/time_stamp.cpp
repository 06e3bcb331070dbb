#include "app/time_stamp.h"

#include <string>

namespace {

// The six characters, as their code-page-936 bytes.
constexpr const char* kYear = "\xC4\xEA";    // 年
constexpr const char* kMonth = "\xD4\xC2";   // 月
constexpr const char* kDay = "\xC8\xD5";     // 日
constexpr const char* kHour = "\xCA\xB1";    // 时
constexpr const char* kMinute = "\xB7\xD6";  // 分
constexpr const char* kSecond = "\xC3\xEB";  // 秒

void Put(std::string& out, int number, const char* unit) {
    out += std::to_string(number);
    out += unit;
}

}  // namespace

Text TimeStampText(const DateTime& when) {
    std::string out;
    Put(out, when.year, kYear);
    Put(out, when.month, kMonth);
    Put(out, when.day, kDay);
    if (when.second != 0) {
        Put(out, when.hour, kHour);
        Put(out, when.minute, kMinute);
        Put(out, when.second, kSecond);
    } else if (when.minute != 0) {
        Put(out, when.hour, kHour);
        Put(out, when.minute, kMinute);
    } else if (when.hour != 0) {
        Put(out, when.hour, kHour);
    }
    return Text(std::move(out));
}
