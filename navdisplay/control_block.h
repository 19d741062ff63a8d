#pragma once
// The crew selections shared through the NDPassData block (and, with the same rules, the FD mode
// in PassData): fixed 10-byte text fields, each a prefix, "=" and a value at a fixed index. A
// writer formats into its own copy and copies all 10 bytes in; a reader copies all 10 bytes out
// and parses from the value's index. Header-only, since the modules that share these rules never
// link against one another.

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "platform/shared_block.h"

namespace ndblock {

inline constexpr const char* kBlockName = "NDPassData";
inline constexpr std::size_t kBlockSize = 60;
inline constexpr std::size_t kFieldSize = 10;

// Offsets of the fields in the block, and the index of each value in its field.
inline constexpr std::size_t kNdModeOffset = 0, kMapModeOffset = 10, kItemOffset = 20, kRangeOffset = 30;
inline constexpr int kNdModeIndex = 7, kMapModeIndex = 8, kItemIndex = 7, kItemScanIndex = 5, kRangeIndex = 6;

// Overlay item bits.
inline constexpr unsigned kItemRoute = 0x01, kItemIntersections = 0x02, kItemVor = 0x04, kItemNdb = 0x08,
                          kItemAirports = 0x10;
inline constexpr unsigned kRangeMin = 10, kRangeMax = 640;

using Field = char[kFieldSize];

// A field's initial text, the rest of its 10 bytes zero.
inline void init_field(Field& field, const char* text) {
    std::memset(field, 0, kFieldSize);
    std::snprintf(field, kFieldSize, "%s", text);
}

// "%d", "%02X" and "%03d" at the value's index; the prefix is never rewritten.
inline void format_decimal(Field& field, int index, int value) {
    std::snprintf(field + index, kFieldSize - static_cast<std::size_t>(index), "%d", value);
}
inline void format_hex2(Field& field, int index, unsigned value) {
    std::snprintf(field + index, kFieldSize - static_cast<std::size_t>(index), "%02X", value & 0xFFu);
}
// Three digits fill the field; a larger range (only a hand-edited mode file can give one) shows 999.
inline void format_range(Field& field, unsigned range) {
    std::snprintf(field + kRangeIndex, kFieldSize - kRangeIndex, "%03u", range > 999u ? 999u : range);
}

// An ordinary decimal parse from index: leading zeros allowed, stops at the first non-digit,
// never reads past the field.
inline int parse_decimal(const Field& field, int index) {
    int value = 0;
    for (std::size_t i = static_cast<std::size_t>(index); i < kFieldSize; ++i) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        if (!std::isdigit(c)) break;
        value = value * 10 + (c - '0');
        if (value > 100000000) break;
    }
    return value;
}

inline int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A hexadecimal scan from index as "%X" does it: an optional "0x" prefix, then hex digits.
// Returns false when no digit is there (the value is then left alone).
inline bool parse_hex(const Field& field, int index, unsigned& out) {
    std::size_t i = static_cast<std::size_t>(index);
    if (i + 1 < kFieldSize && field[i] == '0' && (field[i + 1] == 'x' || field[i + 1] == 'X') && i + 2 < kFieldSize &&
        hex_digit(field[i + 2]) >= 0)
        i += 2;
    unsigned value = 0;
    bool any = false;
    for (; i < kFieldSize && hex_digit(field[i]) >= 0; ++i) {
        value = (value << 4) | static_cast<unsigned>(hex_digit(field[i]));
        any = true;
        if (value > 0xFFFFFFu) break;
    }
    if (any) out = value;
    return any;
}

inline void copy_out(Field& field, const void* block, std::size_t offset) {
    std::memcpy(field, static_cast<const char*>(block) + offset, kFieldSize);
}
inline void copy_in(void* block, std::size_t offset, const Field& field) {
    std::memcpy(static_cast<char*>(block) + offset, field, kFieldSize);
}

// Whether the block's field at offset holds a value of the kind own holds: the same text up to the
// value, and a digit where the value stands. A field nobody has written yet holds none.
inline bool holds_value(const void* block, std::size_t offset, const Field& own, int value_index) {
    Field there;
    copy_out(there, block, offset);
    return std::memcmp(there, own, static_cast<std::size_t>(value_index)) == 0 && hex_digit(there[value_index]) >= 0;
}

// Writes a module's own field at its install only where the block holds no value yet: a module that
// joins a block the others already use takes up what they set (the navigation display's saved
// selections among them) instead of putting its initial text over it.
inline void publish_unless_held(void* block, std::size_t offset, const Field& own, int value_index) {
    if (block && !holds_value(block, offset, own, value_index)) copy_in(block, offset, own);
}

// A module's hold on a named block: the handle and a full-access view. Absent when the block
// cannot be made; the module then runs on its own copies.
struct BlockLink {
    plat::SharedBlock block;
    plat::SharedView view;

    bool open(const char* name, std::size_t size) {
        close();
        auto b = plat::SharedBlock::create_or_open(name, size);
        if (!b) return false;
        auto v = b->map(plat::Access::read_write);
        if (!v) return false;
        block = std::move(b).value();
        view = std::move(v).value();
        return true;
    }
    void close() {
        view.unmap();
        block.close();
    }
    bool existed() const { return block.existed(); }
    void* data() const { return view ? view.data() : nullptr; }
};

}  // namespace ndblock
