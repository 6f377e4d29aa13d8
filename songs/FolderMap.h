#pragma once
// Where the folders of a catalogue made on Windows are on this machine. Its songs' folders name
// drives ("M:\ACERVO\SAMBA\") and network shares ("\\SERVIDOR\Acervo\Rock\"); [PASTAS] in
// RevoZadoz.ini and fonarel-write's --map-folder give, for such a prefix, the folder of this
// machine it is mounted on or copied to. Text only: nothing here asks the file system.
#include "catalogue/IniFile.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace songs {

// Why a [PASTAS] line (or a --map-folder) cannot be taken.
enum class FolderLineError {
    None,
    NotAPrefix,     // the key is no drive ("M:", "M:\ACERVO") nor network share ("\\SERVIDOR\Acervo")
    NotAbsolute,    // the folder is not an absolute path of this machine
};

// A catalogue path as this machine knows it.
struct MappedPath {
    enum class Kind {
        Posix,    // no drive and no network name: used as it is
        Mapped,   // under a mapped prefix: folder + rest
        Unmapped, // a drive or network name that no line maps
        Outside,  // a ".." climbs out of the folder its prefix maps to
    };
    Kind kind = Kind::Posix;
    // Mapped, Outside: the folder of this machine the prefix maps to, without a trailing "/"
    // ("" for the root folder), in UTF-8.
    std::string folder;
    // Mapped, Outside, Unmapped: the Windows prefix as it is shown: the line's key for a mapped
    // path ("M:\", "\\SERVIDOR\Acervo\"), the drive or share of an unmapped one.
    std::string prefix;
    // Mapped: the folders below the mapped folder and then the file's name, in UTF-8, with "."
    // and ".." resolved.
    std::vector<std::string> rest;

    // The mapped folder as a path ("/" for the root folder).
    std::string Folder() const { return folder.empty() ? "/" : folder; }
    // The path on this machine: folder/rest[0]/.../rest[n-1] (Mapped only).
    std::string Path() const;
};

class FolderMap {
public:
    // Adds one line: prefix and folder as the file or the command line gives them (UTF-8, or
    // Windows-1252 when not valid UTF-8). A line with the same prefix as an earlier one (letter
    // case and separators aside) takes its place.
    FolderLineError Add(std::string_view prefix, std::string_view folder);

    bool Empty() const { return lines_.empty(); }

    // Where a catalogue path (Windows-1252 bytes) is: the longest matching prefix wins.
    MappedPath Map(std::string_view cp1252Path) const;

private:
    struct Line {
        std::vector<std::string> key; // folded components: "m:" or "\\" "servidor" "acervo", then folders
        std::string shown;            // the prefix as written, with "\" separators and a trailing one
        std::string folder;
    };
    std::vector<Line> lines_;
};

// A [PASTAS] line the map could not take.
struct RefusedFolderLine {
    int number = 0;
    std::string prefix;
    std::string folder;
    FolderLineError error = FolderLineError::None;
};

// Adds the configuration file's lines in order; the lines it could not take.
std::vector<RefusedFolderLine> AddFolderLines(FolderMap& map, std::span<const catalogue::IniFile::Line> lines);

// A line's error in words, for the command: "'M\' is no Windows drive or network share ..."
std::string FolderLineErrorText(FolderLineError error, std::string_view prefix, std::string_view folder);

} // namespace songs
