// The compact store of kept rows.
#include "catalogue/RowStore.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace catalogue {
namespace {

std::array<FieldValue, kSongColumnCount> RowOf(const std::array<std::string, kSongColumnCount>& texts,
                                               std::size_t nullColumn)
{
    std::array<FieldValue, kSongColumnCount> row;
    for (std::size_t i = 0; i < kSongColumnCount; ++i)
        row[i] = i == nullColumn ? FieldValue{} : FieldValue{false, texts[i]};
    return row;
}

TEST(RowStore, KeepsEveryValueNullsAndEmptiesApart)
{
    std::array<std::string, kSongColumnCount> texts;
    for (std::size_t i = 0; i < kSongColumnCount; ++i)
        texts[i] = std::string(i * 11, static_cast<char>('A' + i)); // lengths 0 to 319: one- and two-byte prefixes
    texts[5] = std::string(40000, '\xFF');                          // a three-byte prefix
    RowStore store;
    store.Append(RowOf(texts, 7));
    texts[1] = "second";
    store.Append(RowOf(texts, 0));
    ASSERT_EQ(store.Count(), 2u);
    for (std::size_t i = 0; i < kSongColumnCount; ++i) {
        const auto column = static_cast<SongColumn>(i);
        EXPECT_EQ(store.Row(0).IsNull(column), i == 7);
        EXPECT_EQ(store.Row(0).Text(column), i == 7 ? "" : i == 1 ? std::string(11, 'B') : texts[i]);
    }
    EXPECT_TRUE(store.Row(1).IsNull(SongColumn::MUS_CODIGO));
    EXPECT_FALSE(store.Row(1).IsNull(SongColumn::MUS_NOME));
    EXPECT_EQ(store.Row(1).Text(SongColumn::MUS_NOME), "second");
    EXPECT_FALSE(store.Row(0).IsNull(SongColumn::MUS_CODIGO)); // empty text, not NULL
    EXPECT_EQ(store.Row(0).Text(SongColumn::MUS_CODIGO), "");
}

TEST(RowStore, RowCostsAtMostTwiceItsTextPlusASmallConstant)
{
    std::array<std::string, kSongColumnCount> texts;
    std::size_t textBytes = 0;
    for (std::size_t i = 0; i < kSongColumnCount; ++i) {
        texts[i] = std::string(1 + i % 9, 'x');
        textBytes += texts[i].size();
    }
    constexpr std::size_t kRows = 20000;
    RowStore store;
    for (std::size_t r = 0; r < kRows; ++r)
        store.Append(RowOf(texts, kSongColumnCount));
    EXPECT_LE(store.KeptBytes(), kRows * (2 * textBytes + 64));
    EXPECT_EQ(store.Row(kRows - 1).Text(SongColumn::VOC_NOME), texts[29]);
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_EQ(store.KeptBytes(), 0u);
}

} // namespace
} // namespace catalogue
