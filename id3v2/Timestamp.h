#pragma once
// The parts of a version 2.4 time stamp (yyyy-MM-ddTHH:mm:ss, or any start of it), and the
// version 2.3 texts made from them: the year (YYYY), the day and month (DDMM) and the time (HHMM).
#include <optional>
#include <string>
#include <string_view>

namespace id3v2 {

struct Timestamp {
    std::optional<int> Year, Month, Day, Hour, Minute;
};

// The parts by position, split at '-', 'T', ':', '/', '.' and runs of blanks; a part that is no
// decimal number is none.
Timestamp TimestampOf(std::u16string_view text);

// Each text is empty when the stamp lacks one of its parts or a part is out of range.
std::string YearText(const Timestamp& stamp);      // 0001-9999
std::string DayMonthText(const Timestamp& stamp);  // day 1-31, month 1-12
std::string HourMinuteText(const Timestamp& stamp); // hour 0-23, minute 0-59

} // namespace id3v2
