#pragma once
// The layouts of the frames whose data starts with a text encoding byte, declared once: the
// fields after that byte, in order. Every other frame whose ID starts with T is a text frame
// (one list of strings); a frame neither listed nor a text frame has no text to re-encode.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace id3v2 {

enum class Field : std::uint8_t {
    End,           // no further field
    Latin1,        // single-byte text whatever the encoding, to a zero byte
    Byte,          // one byte
    Language,      // three bytes
    Date,          // eight bytes (YYYYMMDD)
    String,        // one string in the frame's encoding
    StringList,    // strings in the frame's encoding to the data's end (several values of a version 2.4 frame)
    Strings,       // the same, kept apart (a list of pairs)
    TimedStrings,  // strings each followed by a four-byte time stamp, to the data's end
    Rest,          // bytes to the data's end
};

struct EncodedLayout {
    std::string_view id;
    std::array<Field, 7> fields;
};

inline constexpr EncodedLayout kTextFrameLayout = {"T***", {Field::StringList}};

inline constexpr std::array kEncodedLayouts = std::to_array<EncodedLayout>({
    {"TXXX", {Field::String, Field::StringList}},
    {"WXXX", {Field::String, Field::Rest}},
    {"COMM", {Field::Language, Field::String, Field::StringList}},
    {"USLT", {Field::Language, Field::String, Field::String}},
    {"SYLT", {Field::Language, Field::Byte, Field::Byte, Field::String, Field::TimedStrings}},
    {"APIC", {Field::Latin1, Field::Byte, Field::String, Field::Rest}},
    {"GEOB", {Field::Latin1, Field::String, Field::String, Field::Rest}},
    {"USER", {Field::Language, Field::String}},
    {"OWNE", {Field::Latin1, Field::Date, Field::String}},
    {"COMR", {Field::Latin1, Field::Date, Field::Latin1, Field::Byte, Field::String, Field::String, Field::Rest}},
    {"IPLS", {Field::Strings}},
    // Text frames by another letter.
    {"GRP1", {Field::StringList}},
    {"MVIN", {Field::StringList}},
    {"MVNM", {Field::StringList}},
});

// The layout of a frame by its (version 2.3 or 2.4) ID; none (nullptr) for a frame without a
// text encoding byte, or one whose layout is unknown.
constexpr const EncodedLayout* EncodedLayoutOf(std::string_view id)
{
    const auto row = std::find_if(kEncodedLayouts.begin(), kEncodedLayouts.end(), [id](const EncodedLayout& l) { return l.id == id; });
    if (row != kEncodedLayouts.end())
        return &*row;
    return id.starts_with('T') ? &kTextFrameLayout : nullptr;
}

// The fields of a layout, without the trailing End markers.
constexpr std::span<const Field> FieldsOf(const EncodedLayout& layout)
{
    const auto end = std::find(layout.fields.begin(), layout.fields.end(), Field::End);
    return {layout.fields.begin(), end};
}

} // namespace id3v2
