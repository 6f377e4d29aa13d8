#include "bench/support/Measures.h"

#include <algorithm>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace bench {

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

std::size_t ResidentBytes()
{
    // statm gives the program's size and then its resident set, both in pages.
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

double MiB(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

} // namespace bench
