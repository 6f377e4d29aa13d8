#include "songs/FolderMap.h"

#include "text/CaseFolding.h"
#include "text/Cp1252.h"

#include <algorithm>

namespace songs {
namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A path in Windows' terms: its drive or network root and the names after it.
struct WindowsName {
    enum class Root { None, Drive, Network };
    Root root = Root::None;
    char drive = 0;                     // the drive's letter, upper case
    bool forwardSlashes = false;        // a network name written "//", which a POSIX path may be too
    std::vector<std::string> names;     // the non-empty names after the root, as written

    // The names matched against the lines: the root ("m:" or "\\"), then each name folded.
    std::vector<std::string> Key() const
    {
        std::vector<std::string> key{root == Root::Drive ? std::string{static_cast<char>(drive - 'A' + 'a'), ':'} : "\\\\"};
        for (const std::string& name : names)
            key.push_back(text::FoldCase(name));
        return key;
    }
};

// Whether a path starts with a drive ("M:") or two separators: the first two bytes are ASCII in
// Windows-1252 and UTF-8 alike.
bool HasWindowsRoot(std::string_view path)
{
    return path.size() >= 2 && ((IsAsciiLetter(path[0]) && path[1] == ':') || (IsSeparator(path[0]) && IsSeparator(path[1])));
}

WindowsName ParseWindowsName(std::string_view utf8)
{
    WindowsName name;
    if (utf8.size() >= 2 && IsAsciiLetter(utf8[0]) && utf8[1] == ':') {
        name.root = WindowsName::Root::Drive;
        name.drive = static_cast<char>(utf8[0] & ~0x20);
        // "M:ACERVO\x.mp3", relative to the drive's current folder, is taken from its root.
        utf8.remove_prefix(2);
    } else if (utf8.size() >= 2 && IsSeparator(utf8[0]) && IsSeparator(utf8[1])) {
        name.root = WindowsName::Root::Network;
        name.forwardSlashes = utf8[0] == '/' && utf8[1] == '/';
        utf8.remove_prefix(2);
    } else {
        return name;
    }
    while (!utf8.empty()) {
        const auto end = std::find_if(utf8.begin(), utf8.end(), IsSeparator);
        const std::size_t length = static_cast<std::size_t>(end - utf8.begin());
        if (length > 0)
            name.names.emplace_back(utf8.substr(0, length));
        utf8.remove_prefix(std::min(utf8.size(), length + 1));
    }
    return name;
}

// A drive, or a network name with its server and share, then optionally deeper folders; no "."
// or "..", which a prefix has no use for.
bool IsPrefix(const WindowsName& name)
{
    if (name.root == WindowsName::Root::None)
        return false;
    if (name.root == WindowsName::Root::Network && name.names.size() < 2)
        return false;
    return std::none_of(name.names.begin(), name.names.end(),
                        [](const std::string& n) { return n == "." || n == ".."; });
}

// How a prefix is shown: "M:\ACERVO\", "\\SERVIDOR\Acervo\".
std::string Shown(const WindowsName& name, std::size_t names)
{
    std::string shown = name.root == WindowsName::Root::Drive ? std::string{name.drive, ':', '\\'} : "\\\\";
    for (std::size_t i = 0; i < names && i < name.names.size(); ++i)
        shown += name.names[i] + "\\";
    return shown;
}

bool StartsWith(const std::vector<std::string>& whole, const std::vector<std::string>& start)
{
    return start.size() <= whole.size() && std::equal(start.begin(), start.end(), whole.begin());
}

} // namespace

std::string MappedPath::Path() const
{
    std::string path = folder;
    for (const std::string& name : rest)
        path += "/" + name;
    return path.empty() ? "/" : path;
}

FolderLineError FolderMap::Add(std::string_view prefix, std::string_view folder)
{
    const WindowsName name = ParseWindowsName(text::Utf8OrCp1252(prefix));
    if (!IsPrefix(name))
        return FolderLineError::NotAPrefix;
    std::string local = text::Utf8OrCp1252(folder);
    if (!local.starts_with('/'))
        return FolderLineError::NotAbsolute;
    while (!local.empty() && local.back() == '/')
        local.pop_back();
    Line line{name.Key(), Shown(name, name.names.size()), std::move(local)};
    const auto same = std::find_if(lines_.begin(), lines_.end(), [&line](const Line& l) { return l.key == line.key; });
    if (same != lines_.end())
        *same = std::move(line);
    else
        lines_.push_back(std::move(line));
    return FolderLineError::None;
}

MappedPath FolderMap::Map(std::string_view cp1252Path) const
{
    MappedPath mapped;
    // A POSIX path, every song's in a catalogue made here, costs no conversion.
    if (!HasWindowsRoot(cp1252Path))
        return mapped;
    const WindowsName name = ParseWindowsName(text::Utf8FromCp1252(cp1252Path));
    if (name.root == WindowsName::Root::None)
        return mapped;
    const std::vector<std::string> key = name.Key();
    const Line* best = nullptr;
    for (const Line& line : lines_)
        if (StartsWith(key, line.key) && (!best || line.key.size() > best->key.size()))
            best = &line;
    if (!best) {
        // A POSIX path may start with "//" too: without a line for it, it is used as it is.
        if (name.forwardSlashes)
            return mapped;
        mapped.kind = MappedPath::Kind::Unmapped;
        mapped.prefix = Shown(name, name.root == WindowsName::Root::Network ? 2 : 0);
        return mapped;
    }
    mapped.kind = MappedPath::Kind::Mapped;
    mapped.folder = best->folder;
    mapped.prefix = best->shown;
    // "." and ".." as text, no link followed; never above the mapped folder.
    for (std::size_t i = best->key.size() - 1; i < name.names.size(); ++i) {
        const std::string& part = name.names[i];
        if (part == ".")
            continue;
        if (part != "..") {
            mapped.rest.push_back(part);
        } else if (mapped.rest.empty()) {
            mapped.kind = MappedPath::Kind::Outside;
            mapped.rest.clear();
            return mapped;
        } else {
            mapped.rest.pop_back();
        }
    }
    return mapped;
}

std::vector<RefusedFolderLine> AddFolderLines(FolderMap& map, std::span<const catalogue::IniFile::Line> lines)
{
    std::vector<RefusedFolderLine> refused;
    for (const catalogue::IniFile::Line& line : lines)
        if (const FolderLineError error = map.Add(line.key, line.value); error != FolderLineError::None)
            refused.push_back({line.number, line.key, line.value, error});
    return refused;
}

std::string FolderLineErrorText(FolderLineError error, std::string_view prefix, std::string_view folder)
{
    switch (error) {
    case FolderLineError::NotAPrefix:
        return "'" + text::Utf8OrCp1252(prefix) +
               "' is no Windows drive (M:\\) or network share (\\\\SERVER\\share), optionally with folders";
    case FolderLineError::NotAbsolute:
        return "'" + text::Utf8OrCp1252(folder) + "' is no absolute folder of this machine";
    case FolderLineError::None: break;
    }
    return {};
}

} // namespace songs
