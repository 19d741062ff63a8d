#pragma once
// What the host keeps for each installed element: its decoded pictures, the value it showed last,
// a string element's text buffer, and the host images a rendered display writes into.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/records.h"
#include "host/services.h"
#include "panelhost/image.h"

namespace panelhost {

struct GaugeInstance;

// Picture n of an element in the panel's own pixel format, written by the module.
struct HostImage {
    int width = 0, height = 0, pitch = 0, bits_per_pixel = 8;
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 256> palette{};  // 0x00RRGGBB, 8-bit images only
};

struct ElementState {
    gauge::Element* element = nullptr;
    GaugeInstance* gauge = nullptr;
    int depth = 0;  // nesting below the first element

    std::vector<Image> pictures;  // static/needle: one; icon: one per picture; moving: strip
    Image mask;                   // moving images
    std::vector<std::unique_ptr<HostImage>> host_images;

    bool has_value = false;
    double value = 0.0;
    std::string shown_text;          // string elements: the text last drawn
    std::vector<char> text_buffer;   // handed to the module
    bool hidden = false;             // by flag or failure, as last drawn
};

}  // namespace panelhost
