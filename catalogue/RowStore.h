#pragma once
// The kept rows of the song list: each row's 30 values encoded back to back in large shared
// blocks, plus one pointer per row. A row costs its value bytes, a length prefix per value and
// the pointer, not 30 strings.
#include "catalogue/SongColumns.h"
#include "catalogue/SongRecord.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace catalogue {

struct FieldValue {
    bool null = true;
    std::string_view bytes;
};

class RowStore {
public:
    void Clear();

    std::size_t Count() const { return rows_.size(); }

    // Keeps a copy of one row's values, in record order.
    void Append(std::span<const FieldValue, kSongColumnCount> values);

    // A kept row; id must be below Count().
    SongRecord Row(std::size_t id) const { return SongRecord(rows_[id]); }

    // The heap bytes the store holds: its blocks and its row index, capacity included.
    std::size_t KeptBytes() const;

private:
    std::uint8_t* Reserve(std::size_t size);

    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
    std::size_t blockBytes_ = 0;
    std::size_t blockSize_ = 0;
    std::size_t blockUsed_ = 0;
    std::vector<const std::uint8_t*> rows_;
};

} // namespace catalogue
