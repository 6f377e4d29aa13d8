#pragma once
// The configuration file's format: a Windows INI file, looked up the way the platform's profile
// functions look it up. Only reading is supported.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// The most bytes a profile lookup returns (the platform's buffer of 2048 less its terminator).
inline constexpr std::size_t kMaxProfileValue = 2047;

class IniFile {
public:
    // Parses a file's bytes; never fails. A leading UTF-8 byte order mark is skipped, and a file
    // that starts with a UTF-16 byte order mark is read as UTF-16 and kept as UTF-8. Lines end at
    // "\n" (a "\r" before it is a blank). "[name]" starts a section; "key=value" adds a key to
    // the current section; every other line, comments starting with ";" included, adds nothing.
    static IniFile Parse(std::string_view bytes);

    // The value of key in the first section called section, or empty when either is missing.
    // Names compare without regard to ASCII letter case and without their surrounding blanks.
    // The value comes back as the profile functions give it: cut at a NUL byte, without the
    // blanks around it, without one pair of matching quotes enclosing it, and at most
    // kMaxProfileValue bytes long; the bytes inside are untouched.
    std::string Value(std::string_view section, std::string_view key) const;

    // Every key=value line of every section called section, in the file's order, with the
    // number of its line (from 1); names and values as Value gives them, keys kept as written.
    struct Line {
        int number = 0;
        std::string key;
        std::string value;
    };
    std::vector<Line> Lines(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
        int line = 0;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    void AddLine(std::string_view line, int number);

    std::vector<Section> sections_;
};

// Reads a whole file's bytes (at most the first 16 MiB); false when it cannot be read, with the
// system's error number in *error when given.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes, int* error = nullptr);

} // namespace catalogue
