// Fuzzes the catalogue builder's description text: any bytes parse or fail with a line number,
// and the rows parsed name a table and columns without separators in them.
#include "tools/catalogue/CatalogueDescription.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "catalogue_description fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    catalogue::builder::CatalogueDescription description;
    std::string error;
    if (!catalogue::builder::ParseCatalogueDescription(text, description, error))
        Check(error.starts_with("line "), "an error without its line");
    for (const auto& row : description.rows) {
        Check(!row.table.empty() && row.table.find_first_of("\t\n") == std::string::npos, "bad table name");
        for (const auto& [column, value] : row.values) {
            Check(!column.empty() && column.find_first_of("\t\n=") == std::string::npos, "bad column name");
            Check(value.size() <= size, "value longer than its text");
        }
    }
    return 0;
}
