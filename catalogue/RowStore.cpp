#include "catalogue/RowStore.h"

#include "catalogue/RowEncoding.h"

#include <algorithm>
#include <cstring>

namespace catalogue {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

std::size_t PrefixOf(const FieldValue& value)
{
    return value.null ? 0 : value.bytes.size() + 1;
}

} // namespace

void RowStore::Clear()
{
    std::vector<const std::uint8_t*>().swap(rows_);
    std::vector<std::unique_ptr<std::uint8_t[]>>().swap(blocks_);
    blockBytes_ = blockSize_ = blockUsed_ = 0;
}

std::uint8_t* RowStore::Reserve(std::size_t size)
{
    if (blocks_.empty() || blockSize_ - blockUsed_ < size) {
        blockSize_ = std::max(kBlockSize, size);
        blocks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(blockSize_));
        blockBytes_ += blockSize_;
        blockUsed_ = 0;
    }
    std::uint8_t* at = blocks_.back().get() + blockUsed_;
    blockUsed_ += size;
    return at;
}

void RowStore::Append(std::span<const FieldValue, kSongColumnCount> values)
{
    std::size_t size = 0;
    for (const FieldValue& value : values)
        size += LengthPrefixSize(PrefixOf(value)) + (value.null ? 0 : value.bytes.size());
    std::uint8_t* const row = Reserve(size);
    std::uint8_t* at = row;
    for (const FieldValue& value : values) {
        at = WriteLengthPrefix(at, PrefixOf(value));
        if (!value.null && !value.bytes.empty()) {
            std::memcpy(at, value.bytes.data(), value.bytes.size());
            at += value.bytes.size();
        }
    }
    rows_.push_back(row);
}

std::size_t RowStore::KeptBytes() const
{
    return blockBytes_ + blocks_.capacity() * sizeof(blocks_[0]) + rows_.capacity() * sizeof(rows_[0]);
}

} // namespace catalogue
