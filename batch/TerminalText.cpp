#include "batch/TerminalText.h"

#include "text/Cp1252.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace batch {
namespace {

bool IsUtf8Name(std::string_view charset)
{
    return charset == "UTF-8" || charset == "utf-8" || charset == "UTF8" || charset == "utf8";
}

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

} // namespace

TerminalText::TerminalText()
    : TerminalText(nl_langinfo(CODESET))
{
}

TerminalText::TerminalText(std::string charset)
    : charset_(std::move(charset))
    , utf8_(IsUtf8Name(charset_))
{
}

std::string TerminalText::Convert(std::string_view text, const std::string& from, const std::string& to) const
{
    const iconv_t handle = iconv_open(to.c_str(), from.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1))
        return std::string(text);
    const std::unique_ptr<void, IconvCloser> closer(handle);
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(handle, &in, &inLeft, &next, &outLeft);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A character the other side lacks, or a broken sequence: '?' and on. iconv leaves the
            // input at the character it could not take.
            out += '?';
            std::size_t skip = 1;
            if (from == "UTF-8")
                while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
                    ++skip;
            in += std::min(skip, inLeft);
            inLeft -= std::min(skip, inLeft);
        }
    }
    return out;
}

std::string TerminalText::FromTerminal(std::string_view text) const
{
    return utf8_ ? text::ValidUtf8(text) : text::ValidUtf8(Convert(text, charset_, "UTF-8"));
}

std::string TerminalText::ToTerminal(std::string_view utf8) const
{
    return utf8_ ? text::ValidUtf8(utf8) : Convert(text::ValidUtf8(utf8), "UTF-8", charset_);
}

std::string Quoted(std::string_view utf8)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = static_cast<unsigned char>(c);
        // C1 control characters (U+0080 to U+009F, two bytes in UTF-8) are escaped too.
        if (byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
            static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(utf8[++i]));
            out += hex;
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\0': out += "\\0"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                out += hex;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string TabField(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace batch
