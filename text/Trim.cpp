#include "text/Trim.h"

namespace text {

std::string_view TrimBlanks(std::string_view bytes)
{
    std::size_t begin = 0;
    std::size_t end = bytes.size();
    while (begin < end && IsBlankByte(bytes[begin]))
        ++begin;
    while (end > begin && IsBlankByte(bytes[end - 1]))
        --end;
    return bytes.substr(begin, end - begin);
}

} // namespace text
