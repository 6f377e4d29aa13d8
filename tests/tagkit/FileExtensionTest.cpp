#include "tagkit/FileExtension.h"

#include <gtest/gtest.h>

namespace {

using tagkit::ExtensionOf;
using tagkit::IsMp3Extension;

TEST(ExtensionOf, FromTheLastDotWithItsLetterCase)
{
    EXPECT_EQ(ExtensionOf("/music/Song.Mp3"), ".Mp3");
    EXPECT_EQ(ExtensionOf("a.b.c.mp3"), ".mp3");
    EXPECT_EQ(ExtensionOf("trailing."), ".");
}

TEST(ExtensionOf, NoExtensionWhenAFolderNameHoldsTheLastDot)
{
    EXPECT_EQ(ExtensionOf("song"), "");
    EXPECT_EQ(ExtensionOf("/music.d/song"), "");
    EXPECT_EQ(ExtensionOf("C:\\music.d\\song"), "");
    EXPECT_EQ(ExtensionOf("archive.zip:song"), "");
}

TEST(IsMp3Extension, OnlyAsciiLettersAreUpperCased)
{
    EXPECT_TRUE(IsMp3Extension(".mp3"));
    EXPECT_TRUE(IsMp3Extension(".mP3"));
    EXPECT_TRUE(IsMp3Extension("MP3"));
    EXPECT_FALSE(IsMp3Extension(".mp3 "));
    EXPECT_FALSE(IsMp3Extension(".mp4"));
    EXPECT_FALSE(IsMp3Extension(""));
    EXPECT_FALSE(IsMp3Extension(".\xEDp3"));   // í is no m
}

} // namespace
