#pragma once
// The records a gauge module lays out as static tables and hands to the panel host, and the
// panel-services table the host hands back. Every module compiles this binding in; the host reads
// the same records. Nothing here is C++-only beyond namespaces, so a module's tables are plain
// aggregates initialised at build time.

#include <cstddef>
#include <cstdint>

#include "platform/module.h"

namespace gauge {

struct GaugeHeader;
struct Element;
struct PanelServices;

// --- Simulator variables -------------------------------------------------------------------------

// How a token's 8 value bytes are to be read.
enum VarType : std::int32_t {
    var_double = 0,   // a double (most tokens)
    var_integer = 1,  // a 32-bit integer in the first 4 bytes (flag words, BCD frequencies)
    var_text = 2,     // a pointer to a NUL-terminated text (station identifiers)
};

union VarValue {
    double d;
    std::int32_t i;
    const char* text;
};

// A module's record of one variable: the token it reads, and the value the host last put there.
// For a named variable bound through the host, `pointer` is the publisher's value (null when no
// module publishes that name).
struct VariableRecord {
    std::int32_t token;
    void* pointer;
    std::int32_t type;
    VarValue value;
};

// The record of a variable read by token, its value zero until the host fills it.
constexpr VariableRecord variable(std::int32_t token, VarType type = var_double) {
    return VariableRecord{token, nullptr, type, {0.0}};
}

// --- Elements ------------------------------------------------------------------------------------

enum ElementKind : std::int32_t {
    element_static = 0,
    element_needle = 1,
    element_string = 2,
    element_icon = 4,
    element_moving = 5,
};

// Draw flags of an element (image flags).
enum DrawFlag : std::uint32_t {
    draw_transparent = 1u << 0,  // pure black pixels are not drawn
    draw_erase = 1u << 1,        // the area under the element is restored before it is drawn anew
    draw_lit = 1u << 2,          // drawn at full brightness even when the panel light is off
    draw_no_shadow = 1u << 14,   // no effect here; kept so modules' flag words stay as they are
    draw_hidden = 1u << 30,      // not drawn; toggled at run time
};

// One failure: when the failure `key` is active the element takes `action`. A list ends with zeros.
struct FailureRecord {
    std::int32_t key;
    std::int32_t action;  // 0 none, 1 freeze, 3 hide
    std::int32_t reserved;
};

struct Point {
    std::int32_t x, y;
};

// The value an element follows. Version-610 gauges get their source variable record, refreshed
// by the host first; version-700 gauges get the element itself.
using VarCallback = double (*)(VariableRecord* source);
using ElementCallback = double (*)(Element* element);

// What every element starts with. `next` lists the elements drawn after this one, on top of it;
// a list ends with a null. Fields after `draw_flags` are per kind.
struct Element {
    ElementKind kind;
    std::int32_t bitmap_id;  // -1 for strings
    Point position;          // top-left (for needles: the pivot's position on the gauge)
    Point pivot;             // needles: the pivot within the needle bitmap
    GaugeHeader* gauge;      // set by the host at install
    Element* const* next;
    const FailureRecord* failures;
    std::uint32_t draw_flags;
    VariableRecord source;      // token of the variable it follows (-1 none)
    VarCallback on_var;         // 610
    ElementCallback on_element; // 700
    void* host;                 // the host's run-time state; null until installed
};

struct StaticImage : Element {};

// A needle's bitmap is drawn as it is at angle 0 and turned clockwise about its pivot by the angle.
// A scale table maps values to points on the dial instead: the needle points from its pivot toward
// the point, and values between two entries turn it proportionally, clockwise from the lower entry.
struct ScaleEntry {
    Point point;  // on the gauge
    double value;
};

struct Needle : Element {
    const ScaleEntry* scale;   // null: the value is the angle in degrees
    std::int32_t scale_count;
};

// A string element: the host owns `text` (buffer_size bytes, set at install). The callback fills it
// and its return value is ignored.
struct StringElement : Element {
    std::int32_t width, height;   // box on the gauge
    const char* font_face;        // "Arial", "Courier New", "Quartz"...
    std::int32_t font_height;     // pixels, GDI convention (negative = character height)
    std::int32_t font_weight;
    std::uint32_t text_colour;    // 0x00BBGGRR
    std::uint32_t back_colour;    // 0x00BBGGRR
    std::uint32_t highlight_colour;
    std::int32_t align;           // 0 left, 1 centre, 2 right
    std::int32_t max_chars;       // characters shown; the buffer holds max_chars + 1
    std::int32_t highlight_from;  // characters [from, to) in the highlight colour; to <= from: none
    std::int32_t highlight_to;
    char* text;
    std::int32_t buffer_size;
};

// An icon shows picture number `value` out of `picture_count` consecutive pictures; a negative
// value hides it. Pictures are given by bitmap id, one per picture.
struct Icon : Element {
    const std::int32_t* pictures;  // bitmap ids, kNoBitmap for a picture that draws nothing
    std::int32_t picture_count;
};

// In an icon's picture list: this picture has no bitmap by design and shows nothing.
inline constexpr std::int32_t kNoBitmap = -1;

// A moving image: a strip bitmap moved behind a window (the mask) by its value. The value between
// min and max moves the strip from offset 0 to `travel` pixels, along x or y.
struct MovingImage : Element {
    std::int32_t mask_bitmap_id;  // window shape; non-black pixels show the strip (-1: whole box)
    std::int32_t window_width, window_height;
    double min, max;
    std::int32_t travel_x, travel_y;  // pixels moved at max
};

// --- Mouse areas ---------------------------------------------------------------------------------

enum MouseKind : std::int32_t { mouse_end = 0, mouse_group = 1, mouse_area = 2, mouse_group_end = 3 };
enum Cursor : std::int32_t { cursor_none = -1, cursor_up = 1, cursor_down = 2, cursor_hand = 5 };
enum MouseFlag : std::uint32_t { mouse_left_single = 0x20000000u, mouse_repeat = 0x00200000u };

using MouseCallback = int (*)(Point* point, std::uint32_t flags);

struct MouseArea {
    std::int32_t kind;
    std::int32_t x, y, w, h;
    std::int32_t cursor;
    std::int32_t help_id;
    std::uint32_t event_flags;
    std::int32_t key_event;  // sent by the host when there is no callback (0 none)
    MouseCallback callback;
};

// --- Gauges and modules --------------------------------------------------------------------------

using QueryRoutine = Element* (*)();
using InstallRoutine = void (*)(plat::ModuleHandle resources);
using PlainRoutine = void (*)();
using GenerateRoutine = void (*)(std::uint32_t phase);
using GaugeCallback = void (*)(GaugeHeader* gauge, std::int32_t service_id, std::uintptr_t extra);

inline constexpr std::int32_t kServiceAfterInstall = 3;
inline constexpr std::int32_t kServiceAfterUpdate = 7;

struct GaugeHeader {
    std::int32_t version;  // 610 or 700
    const char* name;
    Element* first_element;
    QueryRoutine query;
    InstallRoutine install;
    PlainRoutine initialize;
    PlainRoutine update;
    GenerateRoutine generate;
    PlainRoutine draw;
    PlainRoutine kill;
    std::int32_t width_mm;
    // Version 700 only.
    MouseArea* mouse_areas;
    GaugeCallback callback;
    // Set by the host.
    void* host;
};

inline constexpr std::uint32_t kLinkageModuleId = 0x13;
inline constexpr std::uint32_t kPanelsImportId = 0x0F;

// Exported as "Linkage": the module's identity and its gauge.
struct LinkageRecord {
    std::uint32_t module_id;  // 0x13
    void (*init)();
    void (*deinit)();
    std::uint32_t flags;
    std::uint32_t priority;
    std::uint32_t version;  // 0
    GaugeHeader* gauges[2];  // the one gauge, then null
};

struct ImportEntry {
    std::uint32_t id;
    PanelServices* table;
};

// Exported as "ImportTable": the host fills the panel-services entry when it loads the module.
struct ImportTableRecord {
    ImportEntry panels;  // id 0x0F
    ImportEntry end;
};

}  // namespace gauge
