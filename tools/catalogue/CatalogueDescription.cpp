#include "tools/catalogue/CatalogueDescription.h"

#include <optional>

namespace catalogue::builder {
namespace {

std::optional<int> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

// The value with its escapes replaced; nullopt on a malformed escape.
std::optional<std::string> Unescape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        case 'x': {
            const auto high = i + 1 < value.size() ? HexDigit(value[i + 1]) : std::nullopt;
            const auto low = i + 2 < value.size() ? HexDigit(value[i + 2]) : std::nullopt;
            if (!high || !low)
                return std::nullopt;
            out += static_cast<char>(*high * 16 + *low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// One row line; an empty message on success.
std::string ParseRow(std::string_view line, TableRow& row)
{
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields[0].empty())
        return "the table name is missing";
    row.table = std::string(fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::size_t equals = fields[i].find('=');
        if (equals == std::string_view::npos || equals == 0)
            return "\"COLUMN=VALUE\" expected in field " + std::to_string(i + 1);
        const auto value = Unescape(fields[i].substr(equals + 1));
        if (!value)
            return "malformed escape in field " + std::to_string(i + 1);
        row.values.emplace_back(std::string(fields[i].substr(0, equals)), *value);
    }
    return {};
}

} // namespace

bool ParseCatalogueDescription(std::string_view text, CatalogueDescription& description, std::string& error)
{
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        TableRow row;
        if (std::string message = ParseRow(line, row); !message.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + message;
            return false;
        }
        description.rows.push_back(std::move(row));
    }
    return true;
}

} // namespace catalogue::builder
