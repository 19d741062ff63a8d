// The ND mode selector panel: map-mode knob, range knob and five overlay push buttons. Its only
// output is the NDPassData block; it follows the block on every update, so changes the navigation
// display makes from the keyboard move the knobs and lamps.

#include "host/binding.h"
#include "host/declare.h"
#include "navdisplay/control_block.h"

namespace {

// --- Module state ------------------------------------------------------------------------------

unsigned map_mode = 0;
unsigned items = 0x1E;
unsigned range = 320;
ndblock::Field map_mode_field;
ndblock::Field item_field;
ndblock::Field range_field;
ndblock::BlockLink block;

void init_fields() {
    ndblock::init_field(map_mode_field, "MapMode=0");
    ndblock::init_field(item_field, "Item=0x1E");
    ndblock::init_field(range_field, "Range=320");
}

void publish(const ndblock::Field& field, std::size_t offset) {
    if (void* data = block.data()) ndblock::copy_in(data, offset, field);
}

// --- Element values ----------------------------------------------------------------------------

double map_mode_picture(gauge::VariableRecord*) { return map_mode; }

template <unsigned Bit>
double lamp_picture(gauge::VariableRecord*) {
    return (items & Bit) ? 0.0 : 1.0;  // picture 0 is the lit lamp
}

double range_picture(gauge::VariableRecord*) {
    int step = 0;
    for (unsigned r = ndblock::kRangeMin; r < range && step < 6; r *= 2) ++step;
    return step;
}

// --- Clicks ------------------------------------------------------------------------------------

void set_map_mode(unsigned mode) {
    map_mode = mode;
    ndblock::format_decimal(map_mode_field, ndblock::kMapModeIndex, static_cast<int>(mode));
    publish(map_mode_field, ndblock::kMapModeOffset);
}

template <unsigned Mode>
int click_map_mode(gauge::Point*, std::uint32_t) {
    set_map_mode(Mode);
    return 0;
}

template <unsigned Bit>
int click_item(gauge::Point*, std::uint32_t) {
    items ^= Bit;
    ndblock::format_hex2(item_field, ndblock::kItemIndex, items);
    publish(item_field, ndblock::kItemOffset);
    return 0;
}

void set_range(unsigned r) {
    range = r;
    ndblock::format_range(range_field, range);
    publish(range_field, ndblock::kRangeOffset);
}

int click_range_up(gauge::Point*, std::uint32_t) {
    if (range < ndblock::kRangeMax) set_range(range * 2);
    return 0;
}

int click_range_down(gauge::Point*, std::uint32_t) {
    if (range > ndblock::kRangeMin) set_range(range / 2);
    return 0;
}

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord hide_on_failure[] = {{1, 3, 0}, {0, 0, 0}};
const std::int32_t knob_pictures[] = {8704, 8707, 8710};
const std::int32_t lamp_pictures[] = {8208, 8211};
const std::int32_t range_pictures[] = {8448, 8451, 8454, 8457, 8460, 8463, 8466};

gauge::StaticImage overlay = gauge::static_image(5376, {0, 0}, 0x4001, nullptr, hide_on_failure);
gauge::Icon mode_knob = gauge::icon({16, 36}, knob_pictures, 3, 0x4003, map_mode_picture);
gauge::Icon route_lamp = gauge::icon({0, 61}, lamp_pictures, 2, 0x4003, lamp_picture<ndblock::kItemRoute>, nullptr, hide_on_failure);
gauge::Icon wpt_lamp = gauge::icon({26, 61}, lamp_pictures, 2, 0x4003, lamp_picture<ndblock::kItemIntersections>, nullptr, hide_on_failure);
gauge::Icon vor_lamp = gauge::icon({52, 61}, lamp_pictures, 2, 0x4003, lamp_picture<ndblock::kItemVor>, nullptr, hide_on_failure);
gauge::Icon ndb_lamp = gauge::icon({78, 61}, lamp_pictures, 2, 0x4003, lamp_picture<ndblock::kItemNdb>, nullptr, hide_on_failure);
gauge::Icon arpt_lamp = gauge::icon({104, 61}, lamp_pictures, 2, 0x4003, lamp_picture<ndblock::kItemAirports>, nullptr, hide_on_failure);
gauge::Icon range_knob = gauge::icon({69, 36}, range_pictures, 7, 0x4003, range_picture);

gauge::Element* const face_children[] = {&overlay,  &mode_knob, &route_lamp, &wpt_lamp, &vor_lamp,
                                         &ndb_lamp, &arpt_lamp, &range_knob, nullptr};
gauge::StaticImage face = gauge::static_image(4096, {0, 0}, 0x4001, face_children);

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(18, 21, 25, 13, gauge::cursor_hand, gauge::mouse_left_single, click_map_mode<1>),
    gauge::area(0, 29, 18, 21, gauge::cursor_hand, gauge::mouse_left_single, click_map_mode<0>),
    gauge::area(43, 29, 12, 21, gauge::cursor_hand, gauge::mouse_left_single, click_map_mode<2>),
    gauge::area(1, 75, 23, 15, gauge::cursor_hand, gauge::mouse_left_single, click_item<ndblock::kItemRoute>),
    gauge::area(27, 75, 23, 15, gauge::cursor_hand, gauge::mouse_left_single, click_item<ndblock::kItemIntersections>),
    gauge::area(53, 75, 23, 15, gauge::cursor_hand, gauge::mouse_left_single, click_item<ndblock::kItemVor>),
    gauge::area(79, 75, 23, 15, gauge::cursor_hand, gauge::mouse_left_single, click_item<ndblock::kItemNdb>),
    gauge::area(105, 75, 23, 15, gauge::cursor_hand, gauge::mouse_left_single, click_item<ndblock::kItemAirports>),
    gauge::area(82, 29, 30, 21, gauge::cursor_up, gauge::mouse_left_single, click_range_up),
    gauge::area(58, 29, 24, 21, gauge::cursor_down, gauge::mouse_left_single, click_range_down),
    gauge::group_end(),
    gauge::list_end(),
};

// --- Routines ----------------------------------------------------------------------------------

void install(plat::ModuleHandle resources) {
    init_fields();
    map_mode = 0;
    items = 0x1E;
    range = 320;
    gauge::standard_install(resources);
    block.open(ndblock::kBlockName, ndblock::kBlockSize);
    void* data = block.data();
    ndblock::publish_unless_held(data, ndblock::kMapModeOffset, map_mode_field, ndblock::kMapModeIndex);
    ndblock::publish_unless_held(data, ndblock::kItemOffset, item_field, ndblock::kItemIndex);
    ndblock::publish_unless_held(data, ndblock::kRangeOffset, range_field, ndblock::kRangeIndex);
}

void update() {
    gauge::standard_update();
    const void* data = block.data();
    if (!data) return;
    ndblock::copy_out(map_mode_field, data, ndblock::kMapModeOffset);
    map_mode = static_cast<unsigned>(ndblock::parse_decimal(map_mode_field, ndblock::kMapModeIndex));
    ndblock::copy_out(item_field, data, ndblock::kItemOffset);
    ndblock::parse_hex(item_field, ndblock::kItemScanIndex, items);
    ndblock::copy_out(range_field, data, ndblock::kRangeOffset);
    range = static_cast<unsigned>(ndblock::parse_decimal(range_field, ndblock::kRangeIndex));
}

void kill() {
    gauge::standard_kill();
    block.close();
}

gauge::GaugeHeader header = {
    610, "ndmodeselect", &face, gauge::standard_query, install, gauge::standard_initialize, update,
    gauge::standard_generate, gauge::standard_draw, kill, 140, mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
