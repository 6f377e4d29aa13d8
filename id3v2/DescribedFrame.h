#pragma once
// Frames whose text follows a description: comments and lyrics (COMM, USLT: the text encoding, a
// 3-byte language, the description, the text) and user texts and links (TXXX, WXXX: the text
// encoding, the description, the text or the address), split into their parts as stored.
#include <cstdint>
#include <string_view>

namespace id3v2 {

// A string at the start of some bytes, up to the zero that ends it in the text encoding: a zero
// byte, or in UTF-16 two zero bytes at an even offset.
struct TerminatedString {
    std::string_view Text; // without its terminator; all the bytes when there is none
    std::string_view Rest; // the bytes after the terminator
    bool Terminated = false;
};
TerminatedString SplitAtTerminator(std::string_view bytes, std::uint8_t encoding);

struct DescribedFrameParts {
    std::uint8_t Encoding = 0;
    std::string_view Language;    // three bytes, or what there is of them; empty without a language
    std::string_view Description; // without its terminator; all that follows the language when it has none
    std::string_view Text;        // after the description's terminator; empty without one
    bool Terminated = false;      // whether the description has its terminator
};

// data: the frame's data, the encoding byte first. withLanguage: a language comes before the
// description (COMM, USLT).
DescribedFrameParts SplitDescribedFrame(std::string_view data, bool withLanguage);

} // namespace id3v2
