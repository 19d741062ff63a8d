#pragma once
// Concise declarations of a gauge's static tables. Each maker returns a filled record; a module
// keeps the results in static variables and links them by their `next` lists:
//
//   gauge::Icon knob = gauge::icon({16, 36}, knob_pictures, 3, 0x4003, knob_value);
//   gauge::Element* const face_children[] = {&knob, nullptr};
//   gauge::StaticImage face = gauge::static_image(4096, {0, 0}, 0x4001, face_children);

#include "host/records.h"

namespace gauge {

inline constexpr FailureRecord kNoFailures[] = {{0, 0, 0}};

inline Element element_base(ElementKind kind, std::int32_t bitmap, Point position, std::uint32_t flags,
                            Element* const* next, const FailureRecord* failures) {
    Element e{};
    e.kind = kind;
    e.bitmap_id = bitmap;
    e.position = position;
    e.next = next;
    e.failures = failures;
    e.draw_flags = flags;
    e.source.token = -1;
    return e;
}

inline StaticImage static_image(std::int32_t bitmap, Point position, std::uint32_t flags,
                                Element* const* next = nullptr, const FailureRecord* failures = nullptr) {
    StaticImage s{};
    static_cast<Element&>(s) = element_base(element_static, bitmap, position, flags, next, failures);
    return s;
}

inline Icon icon(Point position, const std::int32_t* pictures, std::int32_t count, std::uint32_t flags,
                 VarCallback value, Element* const* next = nullptr, const FailureRecord* failures = nullptr,
                 std::int32_t token = -1) {
    Icon i{};
    static_cast<Element&>(i) = element_base(element_icon, pictures[0], position, flags, next, failures);
    i.on_var = value;
    i.source.token = token;
    i.pictures = pictures;
    i.picture_count = count;
    return i;
}

inline Needle needle(std::int32_t bitmap, Point position, Point pivot, std::uint32_t flags, VarCallback value,
                     const ScaleEntry* scale = nullptr, std::int32_t scale_count = 0,
                     Element* const* next = nullptr, const FailureRecord* failures = nullptr,
                     std::int32_t token = -1) {
    Needle n{};
    static_cast<Element&>(n) = element_base(element_needle, bitmap, position, flags, next, failures);
    n.pivot = pivot;
    n.on_var = value;
    n.source.token = token;
    n.scale = scale;
    n.scale_count = scale_count;
    return n;
}

// The box, font and colours of a string element.
struct StringStyle {
    std::int32_t width, height;
    const char* font_face;
    std::int32_t font_height;
    std::int32_t font_weight;
    std::uint32_t text_colour;
    std::uint32_t back_colour;
    std::uint32_t highlight_colour;
    std::int32_t align;  // 0 left, 1 centre, 2 right
    std::int32_t max_chars;
};

inline StringElement string_element(Point position, const StringStyle& style, std::uint32_t flags,
                                    VarCallback fill, Element* const* next = nullptr,
                                    const FailureRecord* failures = nullptr, std::int32_t token = -1) {
    StringElement s{};
    static_cast<Element&>(s) = element_base(element_string, -1, position, flags, next, failures);
    s.on_var = fill;
    s.source.token = token;
    s.width = style.width;
    s.height = style.height;
    s.font_face = style.font_face;
    s.font_height = style.font_height;
    s.font_weight = style.font_weight;
    s.text_colour = style.text_colour;
    s.back_colour = style.back_colour;
    s.highlight_colour = style.highlight_colour;
    s.align = style.align;
    s.max_chars = style.max_chars;
    return s;
}

inline MovingImage moving_image(std::int32_t strip_bitmap, std::int32_t mask_bitmap, Point position,
                                std::int32_t window_width, std::int32_t window_height, double min, double max,
                                Point travel, std::uint32_t flags, VarCallback value,
                                Element* const* next = nullptr, const FailureRecord* failures = nullptr,
                                std::int32_t token = -1) {
    MovingImage m{};
    static_cast<Element&>(m) = element_base(element_moving, strip_bitmap, position, flags, next, failures);
    m.on_var = value;
    m.source.token = token;
    m.mask_bitmap_id = mask_bitmap;
    m.window_width = window_width;
    m.window_height = window_height;
    m.min = min;
    m.max = max;
    m.travel_x = travel.x;
    m.travel_y = travel.y;
    return m;
}

// Mouse-area list entries.
inline MouseArea group(std::int32_t x = 0, std::int32_t y = 0, std::int32_t w = 0, std::int32_t h = 0,
                       std::int32_t cursor = cursor_none) {
    return MouseArea{mouse_group, x, y, w, h, cursor, 0, 0, 0, nullptr};
}
inline MouseArea area(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t cursor,
                      std::uint32_t flags, MouseCallback callback, std::int32_t key_event = 0) {
    return MouseArea{mouse_area, x, y, w, h, cursor, 0, flags, key_event, callback};
}
inline MouseArea group_end() { return MouseArea{mouse_group_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, nullptr}; }
inline MouseArea list_end() { return MouseArea{mouse_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, nullptr}; }

}  // namespace gauge
