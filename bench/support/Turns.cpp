#include "bench/support/Turns.h"

#include <cstdio>

namespace bench {
namespace {

double TimeOne(const Job& job, const std::string& path)
{
    const auto start = Clock::now();
    const bool ok = job(path);
    const auto end = Clock::now();
    if (!ok)
        std::fprintf(stderr, "failed on %s\n", path.c_str());
    return Microseconds(end - start);
}

} // namespace

void RunInTurns(std::vector<Contender>& contenders)
{
    const std::size_t count = contenders.front().files.size();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t k = 0; k < contenders.size(); ++k) {
            Contender& c = contenders[(i + k) % contenders.size()];
            c.micros.push_back(TimeOne(c.run, c.files[i]));
        }
}

double PairRatio(const Contender& a, const Contender& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.micros.size() && i < b.micros.size(); ++i)
        ratios.push_back(a.micros[i] / b.micros[i]);
    return Median(ratios);
}

void Report(const std::string& title, const std::vector<Contender>& contenders)
{
    std::printf("%s\n", title.c_str());
    for (const Contender& c : contenders)
        std::printf("  %-32s median %9.1f us per file\n", c.name.c_str(), Median(c.micros));
    for (std::size_t k = 1; k < contenders.size(); ++k)
        std::printf("  %s / %s: median of pair ratios %.2f (ratio of medians %.2f)\n", contenders[0].name.c_str(),
                    contenders[k].name.c_str(), PairRatio(contenders[0], contenders[k]),
                    Median(contenders[0].micros) / Median(contenders[k].micros));
    std::fflush(stdout);
}

} // namespace bench
