// A gauge whose icon has a picture declared without a bitmap and one whose bitmap the module does
// not ship: the host must take the first as blank and report the second.

#include "host/binding.h"
#include "host/declare.h"

namespace {

double token_value(gauge::Element* e) { return e->source.value.d; }

const std::int32_t lamp_pictures[] = {6001, gauge::kNoBitmap, 6099};

gauge::Icon lamp = [] {
    gauge::Icon i = gauge::icon({2, 2}, lamp_pictures, 3, 0, nullptr, nullptr, nullptr, 501);
    i.on_element = token_value;
    return i;
}();

gauge::Element* const children[] = {&lamp, nullptr};
gauge::StaticImage background = gauge::static_image(4096, {0, 0}, 0, children);

gauge::GaugeHeader header = {
    700, "sparseart", &background, gauge::standard_query, gauge::standard_install, gauge::standard_initialize,
    gauge::standard_update, gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 64, nullptr,
    nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
