#pragma once
// SongRecord: a read-only view of one kept row of the song query.
#include "catalogue/SongColumns.h"

#include <cstdint>
#include <string_view>

namespace catalogue {

// A kept row is encoded as its 30 values in record order, each a length prefix followed by the
// value's bytes. The prefix is the value's length plus one, in 7-bit groups (low group first,
// high bit set on every byte but the last); a prefix of 0 marks a NULL. Integers are kept as
// their decimal text.
class SongRecord {
public:
    SongRecord() = default;
    explicit SongRecord(const std::uint8_t* encoded)
        : encoded_(encoded)
    {
    }

    // Whether the view shows a row at all.
    bool Valid() const { return encoded_ != nullptr; }

    // The value as text: text columns as stored, integers in decimal with a leading "-" when
    // negative, NULL (and an invalid view) as the empty text.
    std::string_view Text(SongColumn column) const;
    bool IsNull(SongColumn column) const;

private:
    struct Value {
        bool null;
        std::string_view bytes;
    };
    Value Find(SongColumn column) const;

    const std::uint8_t* encoded_ = nullptr;
};

} // namespace catalogue
