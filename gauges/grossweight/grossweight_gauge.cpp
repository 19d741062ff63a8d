// The gross weight window: six digits of pounds, lit while the aircraft has electrical power.

#include "gauges/grossweight/gross_weight.h"
#include "host/binding.h"
#include "host/declare.h"
#include "host/tokens.h"

namespace {

namespace token = gauge::token;

constexpr std::uint32_t kInk = 0x00DAA5;  // RGB(165, 218, 0)

bool powered() {
    gauge::VariableRecord power[3] = {gauge::variable(token::power_bus1), gauge::variable(token::power_bus2),
                                      gauge::variable(token::power_bus3)};
    bool any = false;
    for (gauge::VariableRecord& r : power) {
        gauge::lookup(r);
        any = any || r.value.d != 0;
    }
    return any;
}

// The element follows the left tank; the centre and right tanks are looked up here.
double weight_text(gauge::Element* e) {
    auto* s = static_cast<gauge::StringElement*>(e);
    if (!s->text || s->buffer_size <= 0) return 0;
    if (!powered()) {
        s->text[0] = '\0';
        return 0;
    }
    const double left = e->source.value.d;
    const double centre = gauge::lookup_double(token::centre_tank);
    const double right = gauge::lookup_double(token::right_tank);
    grossweight::format_weight(s->text, static_cast<std::size_t>(s->buffer_size),
                               grossweight::gross_weight(centre, right, left));
    return 0;
}

const gauge::FailureRecord failures[] = {{20, 3, 0}, {0, 0, 0}};

gauge::StringElement make_window() {
    const gauge::StringStyle style = {80, 20, "Quartz", -14, 400, kInk, 0x000000, kInk, 1, 6};
    gauge::StringElement s = gauge::string_element({0, 0}, style, 7, nullptr, nullptr, failures, token::left_tank);
    s.on_element = weight_text;
    return s;
}

gauge::StringElement weight_window = make_window();
gauge::Element* const background_children[] = {&weight_window, nullptr};
gauge::StaticImage background = gauge::static_image(1000, {0, 0}, gauge::draw_transparent, background_children);

gauge::MouseArea mouse_areas[] = {gauge::group(), gauge::group_end(), gauge::list_end()};

gauge::GaugeHeader header = {
    700, "grossweight", &background, gauge::standard_query, gauge::standard_install, gauge::standard_initialize,
    gauge::standard_update, gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 80, mouse_areas,
    nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
