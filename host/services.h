#pragma once
// The panel-services table: what the host offers a module, filled into the module's ImportTable at
// load. Slot numbers are fixed (a slot is one pointer wide); unused slots stay null.

#include <cstddef>
#include <cstdint>

#include "host/records.h"

namespace gauge {

// The picture of an element that a module renders itself: the host image behind a static image
// element, which the module writes and the host shows.
struct ElementImage {
    std::uint8_t* pixels;
    std::int32_t width, height;
    std::int32_t pitch;           // bytes per row
    std::int32_t bits_per_pixel;  // 8 or 16 (the panel's format), 24 offered to test odd formats
    const std::uint32_t* palette; // 8-bit images: 256 entries 0x00RRGGBB; else null
};

struct PanelServices {
    void* slots_0_23[24];
    void (*query)(Element* first);                                    // 24
    void (*install)(Element* first, plat::ModuleHandle resources);     // 25
    void (*initialize)(Element* first);                                // 26
    void (*update)(Element* first);                                    // 27
    void (*generate)(Element* first, std::uint32_t phase);             // 28
    void (*draw)(Element* first);                                      // 29
    void* slot_30;
    void (*kill)(Element* first);                                      // 31
    void (*mouse_install)(MouseArea* list, GaugeHeader* gauge, Point background_size);  // 32
    void (*mouse_attach)(MouseArea* list, GaugeHeader* gauge);         // 33
    void (*mouse_detach)(MouseArea* list, GaugeHeader* gauge);         // 34
    bool (*toggle_panel_window)(std::uint32_t window_id);              // 35
    void (*send_key_event)(std::uint32_t event_id, std::uint32_t value);  // 36
    void* slot_37;
    void (*initialize_var)(VariableRecord* record);                    // 38
    void (*bind_named_var)(VariableRecord* record, const char* name);  // 39
    void (*lookup_var)(VariableRecord* record);                        // 40
    // Beyond the simulator's own table: picture n of an element as a host image the module may
    // write (false when the element has no such picture), and the simulator's root folder.
    bool (*element_image)(Element* element, std::int32_t picture, ElementImage* out);  // 41
    const char* (*root_folder)();                                      // 42
};

static_assert(offsetof(PanelServices, query) == 24 * sizeof(void*));
static_assert(offsetof(PanelServices, kill) == 31 * sizeof(void*));
static_assert(offsetof(PanelServices, lookup_var) == 40 * sizeof(void*));

}  // namespace gauge
