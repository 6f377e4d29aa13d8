#pragma once
// The text forms in which the tag data record shows numbers.
#include "tagkit/TagRecord.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tagkit {

// The decimal followed directly by a unit that brings its own blank: 1234 and " bytes" give
// "1234 bytes".
std::string WithUnit(std::int64_t value, std::string_view unit);

// A duration in seconds rounded to one decimal (halves away from zero) with the given decimal
// separator, and no digit forced before it: 0.46 gives ",5" with a comma.
std::string DurationText(double seconds, std::string_view decimalSeparator);

// The decimal separator of the process's numeric locale (LC_NUMERIC).
std::string LocaleDecimalSeparator();

// "Sim" or "Não", in Windows-1252.
inline const char* YesNo(bool value)
{
    return value ? kYes : kNo;
}

} // namespace tagkit
