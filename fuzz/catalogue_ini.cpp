// Fuzzes the configuration file's reader: any bytes parse, and every value looked up keeps the
// profile functions' promises (no NUL, no blanks at its ends, at most 2047 bytes).
#include "catalogue/IniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "catalogue_ini fuzz: %s\n", what);
        std::abort();
    }
}

bool IsLoaderBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const catalogue::IniFile ini = catalogue::IniFile::Parse(bytes);
    for (const auto& [section, key] : {std::pair{"BANCO", "caminho"}, std::pair{"b", "K"}, std::pair{"", ""}}) {
        const std::string value = ini.Value(section, key);
        Check(value.size() <= catalogue::kMaxProfileValue, "value longer than the limit");
        Check(value.find('\0') == std::string::npos, "NUL inside a value");
        Check(value.empty() || !IsLoaderBlank(value.front()), "blank at the start of a value");
    }
    return 0;
}
