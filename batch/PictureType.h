#pragma once
// The picture types of attached pictures (APIC, and PIC in version 2.2 tags), by name.
#include <cstdint>
#include <string>

namespace batch {

// "front cover", "back cover", ... for the 21 types the ID3v2 standard defines; "picture type N"
// for any other byte.
std::string PictureTypeName(std::uint8_t type);

} // namespace batch
