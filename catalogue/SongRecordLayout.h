#pragma once
// Where each column of the song record lies in a fetched row of the song query's result.
#include "catalogue/SongColumns.h"

#include <array>
#include <span>
#include <string>

namespace catalogue {

// How a result column's value is laid out in the fetched message.
enum class FieldLayout { FixedText, VaryingText, Int16, Int32, Int64, Other };

// One column of the result as the client describes it.
struct ResultField {
    std::string name;     // the column's output name
    FieldLayout layout = FieldLayout::Other;
    int scale = 0;        // digits after the point for integer types
    unsigned offset = 0;  // of the value in the message
    unsigned nullOffset = 0;
    unsigned length = 0;  // bytes of the value (for text: without the length word)
};

struct FieldSlot {
    FieldLayout layout = FieldLayout::Other;
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned length = 0;
};

class SongRecordLayout {
public:
    // Finds every record column by name (letter case ignored, the first of equal names wins) and
    // checks its kind: a text column must be CHAR or VARCHAR, an integer column SMALLINT, INTEGER
    // or BIGINT without a scale. Throws CatalogueError naming the first column that is missing or
    // of the wrong kind. Other result columns are ignored.
    static SongRecordLayout Match(std::span<const ResultField> fields);

    const FieldSlot& Slot(SongColumn column) const { return slots_[ColumnIndex(column)]; }

private:
    std::array<FieldSlot, kSongColumnCount> slots_;
};

} // namespace catalogue
