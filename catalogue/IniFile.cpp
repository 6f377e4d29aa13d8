#include "catalogue/IniFile.h"

#include "io/FileSystem.h"
#include "text/Cp1252.h"

#include <algorithm>

namespace catalogue {
namespace {

// The blanks the profile functions strip around names and values while loading a file.
bool IsProfileBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

std::string_view TrimProfileBlanks(std::string_view s)
{
    while (!s.empty() && IsProfileBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsProfileBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A value wrapped in one matching pair of single or double quotes loses that pair, as the
// profile functions do; quotes anywhere else stay.
std::string_view WithoutEnclosingQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// A value as the profile functions give it: cut at a NUL byte, without one pair of enclosing
// quotes, at most kMaxProfileValue bytes.
std::string ProfileValue(std::string_view value)
{
    value = value.substr(0, value.find('\0'));
    return std::string(WithoutEnclosingQuotes(value).substr(0, kMaxProfileValue));
}

// The file's text as bytes, its byte order mark, if any, handled.
std::string DecodeFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE"))
        return text::Utf8FromUtf16(bytes.substr(2), false, U'\uFFFD');
    if (bytes.starts_with("\xFE\xFF"))
        return text::Utf8FromUtf16(bytes.substr(2), true, U'\uFFFD');
    return std::string(bytes);
}

} // namespace

IniFile IniFile::Parse(std::string_view bytes)
{
    IniFile file;
    // Keys before the first section header belong to no named section.
    file.sections_.push_back(Section{});
    const std::string text = DecodeFileText(bytes);
    std::string_view rest = text;
    for (int number = 1; !rest.empty(); ++number) {
        const std::size_t end = rest.find('\n');
        file.AddLine(rest.substr(0, end), number);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return file;
}

void IniFile::AddLine(std::string_view line, int number)
{
    line = TrimProfileBlanks(line);
    if (line.empty() || line.front() == ';')
        return;
    if (line.front() == '[') {
        const std::size_t close = line.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            sections_.push_back(Section{std::string(TrimProfileBlanks(line.substr(1, close - 1))), {}});
            return;
        }
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    sections_.back().entries.push_back(Entry{std::string(TrimProfileBlanks(line.substr(0, equals))),
                                             std::string(TrimProfileBlanks(line.substr(equals + 1))), number});
}

std::string IniFile::Value(std::string_view section, std::string_view key) const
{
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    const auto found = std::find_if(sections_.begin() + 1, sections_.end(),
                                    [&](const Section& s) { return SameName(s.name, section); });
    if (found == sections_.end())
        return {};
    for (const Entry& entry : found->entries)
        if (SameName(entry.key, key))
            return ProfileValue(entry.value);
    return {};
}

std::vector<IniFile::Line> IniFile::Lines(std::string_view section) const
{
    section = TrimProfileBlanks(section);
    std::vector<Line> lines;
    for (auto s = sections_.begin() + 1; s != sections_.end(); ++s)
        if (SameName(s->name, section))
            for (const Entry& entry : s->entries)
                lines.push_back({entry.line, entry.key, ProfileValue(entry.value)});
    return lines;
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes, int* error)
{
    // A configuration file is small; more than this is not read.
    constexpr std::size_t kMaxBytes = 16 << 20;
    return io::ReadFileStart(path.string(), bytes, kMaxBytes, error);
}

} // namespace catalogue
