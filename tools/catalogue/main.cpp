// fonarel-catalogue: creates a catalogue database and fills it.
//
//   fonarel-catalogue [--replace] [--charset NAME] [--songs N] DATABASE [DESCRIPTION]
//
// DATABASE is a file path (embedded engine) or "host:/path" (a server). DESCRIPTION is a file in
// the text form of CatalogueDescription.h, or "-" for standard input. --songs fills the catalogue
// with N generated songs and their lookup rows instead of a description. --replace deletes an
// existing file at a plain DATABASE path first.
#include "catalogue/CatalogueError.h"
#include "catalogue/IniFile.h"
#include "tools/catalogue/CatalogueBuilder.h"
#include "tools/catalogue/CatalogueDescription.h"
#include "tools/catalogue/GeneratedCatalogue.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace catalogue::builder;

struct Arguments {
    bool replace = false;
    std::size_t songs = 0;
    CreateOptions options;
    std::string database;
    std::string description;
};

int Usage()
{
    std::cerr << "usage: fonarel-catalogue [--replace] [--charset NAME] [--songs N] DATABASE [DESCRIPTION|-]\n";
    return 2;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args)
{
    Arguments parsed;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--replace") {
            parsed.replace = true;
        } else if (args[i] == "--charset" && i + 1 < args.size()) {
            parsed.options.characterSet = args[++i];
        } else if (args[i] == "--songs" && i + 1 < args.size()) {
            char* end = nullptr;
            parsed.songs = std::strtoull(args[++i].c_str(), &end, 10);
            if (end == nullptr || *end != '\0')
                return std::nullopt;
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.empty() || positional.size() > 2)
        return std::nullopt;
    parsed.database = positional[0];
    if (positional.size() == 2)
        parsed.description = positional[1];
    if (parsed.songs > 0 && !parsed.description.empty())
        return std::nullopt;
    return parsed;
}

bool LoadDescription(const std::string& source, CatalogueDescription& description)
{
    std::string bytes;
    if (source == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else if (!catalogue::ReadFileBytes(source, bytes)) {
        std::cerr << "fonarel-catalogue: cannot read " << source << "\n";
        return false;
    }
    std::string error;
    if (!ParseCatalogueDescription(bytes, description, error)) {
        std::cerr << "fonarel-catalogue: " << source << ": " << error << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const auto arguments = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments)
        return Usage();
    CatalogueDescription description;
    if (!arguments->description.empty() && !LoadDescription(arguments->description, description))
        return 1;
    // A file path (not host:path) names a local file that --replace may delete.
    const bool plainPath = arguments->database.starts_with('/') || arguments->database.find(':') == std::string::npos;
    if (arguments->replace && plainPath) {
        std::error_code ignored;
        std::filesystem::remove(arguments->database, ignored);
    }
    try {
        CatalogueBuilder builder(arguments->database, description.schema, arguments->options);
        for (const TableRow& row : description.rows)
            builder.Insert(row.table, row.values);
        if (arguments->songs > 0)
            AddGeneratedSongs(builder, arguments->songs);
        builder.Finish();
    } catch (const catalogue::CatalogueError& error) {
        std::cerr << "fonarel-catalogue: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
