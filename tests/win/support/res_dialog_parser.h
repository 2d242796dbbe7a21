// Reads a compiled dialog template, classic (DLGTEMPLATE) or extended
// (DLGTEMPLATEEX), into plain records, so that a test can compare every field
// with what the template must hold. Portable: it reads bytes, not windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qz::test {

// A field that is either an ordinal (0xFFFF followed by a 16-bit number) or a
// UTF-16 string (class names, control texts, menu names).
struct ResName {
    bool is_ordinal = false;
    std::uint16_t ordinal = 0;
    std::u16string text;
};

struct DialogFont {
    std::uint16_t point_size = 0;
    // Only in extended templates; zero in classic ones.
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::u16string face;
};

struct DialogItem {
    std::uint32_t help_id = 0;  // extended templates only
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    // Classic templates store 16 bits and extended ones 32; both are widened as
    // signed values, so that -1 (the "no id" of static controls) reads as -1.
    std::int32_t id = 0;
    ResName window_class;
    ResName title;
    std::vector<std::uint8_t> creation_data;
};

struct DialogTemplate {
    bool extended = false;
    std::uint32_t help_id = 0;
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    ResName menu;
    ResName window_class;
    std::u16string title;
    bool has_font = false;  // DS_SETFONT (or DS_SHELLFONT) set
    DialogFont font;
    std::vector<DialogItem> items;
};

// Parses size bytes at data. Returns true and fills *out when the bytes form a
// whole template; returns false with a short reason in *error when a field runs
// past the end. Nothing beyond data + size is read.
bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out,
                         std::string* error);

// The class name for the predefined class atoms of dialog items (0x0080 Button,
// 0x0081 Edit, 0x0082 Static, 0x0083 ListBox, 0x0084 ScrollBar, 0x0085 ComboBox),
// or the name itself; empty for an unknown atom.
std::u16string ClassName(const ResName& window_class);

}  // namespace qz::test
