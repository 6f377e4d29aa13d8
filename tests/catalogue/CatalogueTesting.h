#pragma once
// Shared fixtures of the catalogue tests: scratch folders, real catalogue databases made by the
// builder, and the two ways of reaching them (embedded engine, loopback server).
#include "catalogue/CatalogueSession.h"
#include "catalogue/SongColumns.h"
#include "tests/TestEnvironment.h"
#include "tools/catalogue/CatalogueDescription.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue::testing {

enum class Backend { Embedded, Server };

std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

using testenv::ServerHost;

// A fresh folder under /tmp, open to every user so that a server running as its own user can
// create database files in it; removed with its contents.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Songs for the query tests:
//   1 "ROLLING STONES - ANGIE"  every lookup found, year 1973, track 4
//   2 "O'HARA - DANNY BOY"      genre 2
//   3 "100% PURO"               genre 99 (no such row), no folder
//   4 NULL full name
//   5 "A_B TEST"                genre 3, which has two identical rows
//   6 "AXB TEST"                genre 4, which has two rows with different names
//   7 "ZEBRA"                   year -12, no track, type "X"
//   8 ""                        empty full name
//   9 "angie acoustic"          lower case
builder::CatalogueDescription SmallCatalogue();

// Fixture for tests that run once per backend; the server variant skips (or fails, when CI is
// "true") without a server.
class CatalogueTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;

    // The name a client attaches with for a database file in the scratch folder.
    std::string DatabaseName(std::string_view file) const;
    // Builds the description into a new database file; returns its database name.
    std::string Build(const builder::CatalogueDescription& description, std::string_view file = "catalogue.fdb");
    // A session connected to the database, its transaction started.
    void Connect(CatalogueSession& session, const std::string& databaseName);

    ScratchFolder folder_;
};

// A column of every row, from the first to the end flag.
std::vector<std::string> ColumnValues(SongList& songs, SongColumn column);

} // namespace catalogue::testing
