#include "catalogue/SongRecord.h"

#include "catalogue/RowEncoding.h"

namespace catalogue {

SongRecord::Value SongRecord::Find(SongColumn column) const
{
    if (encoded_ == nullptr)
        return {true, {}};
    const std::uint8_t* at = encoded_;
    for (std::size_t i = 0;; ++i) {
        const std::size_t prefix = ReadLengthPrefix(at);
        const std::size_t length = prefix == 0 ? 0 : prefix - 1;
        if (i == ColumnIndex(column))
            return {prefix == 0, std::string_view(reinterpret_cast<const char*>(at), length)};
        at += length;
    }
}

std::string_view SongRecord::Text(SongColumn column) const
{
    return Find(column).bytes;
}

bool SongRecord::IsNull(SongColumn column) const
{
    return Find(column).null;
}

} // namespace catalogue
