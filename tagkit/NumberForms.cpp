#include "tagkit/NumberForms.h"

#include "text/IntegerText.h"

#include <clocale>
#include <cmath>

namespace tagkit {

std::string WithUnit(std::int64_t value, std::string_view unit)
{
    std::string out = text::DecimalText(value);
    out += unit;
    return out;
}

std::string DurationText(double seconds, std::string_view decimalSeparator)
{
    if (!std::isfinite(seconds))
        seconds = 0.0;
    const auto tenths = static_cast<std::int64_t>(std::llround(std::fabs(seconds) * 10.0));
    std::string out;
    if (seconds < 0 && tenths != 0)
        out += '-';
    if (tenths / 10 != 0)
        out += text::DecimalText(tenths / 10);
    out += decimalSeparator;
    out += static_cast<char>('0' + tenths % 10);
    return out;
}

std::string LocaleDecimalSeparator()
{
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr || *conventions->decimal_point == '\0')
        return ".";
    return conventions->decimal_point;
}

} // namespace tagkit
