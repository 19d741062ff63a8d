// The DME: distance on three drum counters and two flashing ground-proximity warning lights.
// A night-lighting variable "Light", published by another panel module, chooses between the
// unlit drums and the lit group; without that module the lit group is used. All the work after
// the host's element update is in the update routine.

#include "dmegauge/drums.h"
#include "dmegauge/layout.h"
#include "dmegauge/warnings.h"
#include "host/binding.h"
#include "host/declare.h"
#include "host/tokens.h"

namespace {

using namespace dme_layout;

// --- Simulator variables -----------------------------------------------------------------------

namespace token = gauge::token;

gauge::VariableRecord distance = gauge::variable(token::dme2_distance);
gauge::VariableRecord distance_valid = gauge::variable(token::dme2_valid);
gauge::VariableRecord altitude = gauge::variable(token::altitude_m);
gauge::VariableRecord ground_elevation = gauge::variable(token::ground_elevation);
gauge::VariableRecord vertical_speed = gauge::variable(token::vertical_speed);
gauge::VariableRecord gear_position = gauge::variable(token::gear_lever);
gauge::VariableRecord glideslope = gauge::variable(token::glide_slope_deviation);
gauge::VariableRecord tick = gauge::variable(token::tick_count);
gauge::VariableRecord third_a = gauge::variable(token::ap_altitude_hold);
gauge::VariableRecord third_b = gauge::variable(token::third_light_first_input);
gauge::VariableRecord third_c = gauge::variable(token::third_light_second_input);
gauge::VariableRecord* const kLookedUp[] = {&distance,      &distance_valid, &altitude, &ground_elevation,
                                            &vertical_speed, &gear_position, &glideslope, &tick,
                                            &third_a,       &third_b,        &third_c};

// Bound once at initialize; null pointer while no module publishes the name.
gauge::VariableRecord night_lighting = gauge::variable(token::none);

// --- Drum values -------------------------------------------------------------------------------

double units_value(gauge::VariableRecord* source) { return dme::units_drum(source->value.d); }
double tens_value(gauge::VariableRecord* source) { return dme::tens_drum(source->value.d); }
double hundreds_value(gauge::VariableRecord* source) { return dme::hundreds_drum(source->value.d); }

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord drum_failures[] = {{1, 1, 0}, {15, 1, 0}, {0, 0, 0}};
const gauge::FailureRecord light_failures[] = {{2, 0, 0}, {0, 0, 0}};

constexpr std::uint32_t kUnlitDrumFlags = gauge::draw_erase;
constexpr std::uint32_t kLitFlags = gauge::draw_erase | gauge::draw_lit;

struct DrumGroup {
    gauge::MovingImage units, tens, hundreds;
};

DrumGroup make_drums(std::uint32_t flags) {
    const gauge::Point at{kDrumsX, kDrumsY};
    return {
        gauge::moving_image(8192, 8195, at, kDrumsWidth, kDrumsHeight, kUnitsMin, kUnitsMax, {0, kUnitsTravel},
                            flags, units_value, nullptr, drum_failures, token::dme2_distance),
        gauge::moving_image(12288, 12291, at, kDrumsWidth, kDrumsHeight, kTensMin, kTensMax, {0, kTensTravel},
                            flags, tens_value, nullptr, drum_failures, token::dme2_distance),
        gauge::moving_image(16384, 16387, at, kDrumsWidth, kDrumsHeight, kHundredsMin, kHundredsMax,
                            {0, kHundredsTravel}, flags, hundreds_value, nullptr, drum_failures,
                            token::dme2_distance),
    };
}

DrumGroup unlit_drums = make_drums(kUnlitDrumFlags);

const std::int32_t glideslope_pictures[] = {24576};
const std::int32_t ground_proximity_pictures[] = {20480};
const std::int32_t third_pictures[] = {28672};
gauge::Icon glideslope_light =
    gauge::icon({kGlideslopeX, kGlideslopeY}, glideslope_pictures, 1, kLitFlags, nullptr, nullptr, light_failures);
gauge::Icon ground_proximity_light = gauge::icon({kGroundProximityX, kGroundProximityY}, ground_proximity_pictures,
                                                 1, kLitFlags, nullptr, nullptr, light_failures);
gauge::Icon third_light =
    gauge::icon({kThirdX, kThirdY}, third_pictures, 1, kLitFlags, nullptr, nullptr, light_failures);

gauge::StaticImage lit_plate =
    gauge::static_image(4099, {kPlateX, kPlateY}, gauge::draw_transparent | kLitFlags);
DrumGroup lit_drums = make_drums(kLitFlags);

gauge::Element* const face_children[] = {
    &unlit_drums.units, &unlit_drums.tens, &unlit_drums.hundreds, &glideslope_light, &ground_proximity_light,
    &third_light,       &lit_plate,        &lit_drums.units,      &lit_drums.tens,   &lit_drums.hundreds,
    nullptr,
};
gauge::StaticImage face = gauge::static_image(4096, {0, 0}, gauge::draw_transparent, face_children);

// --- Update steps ------------------------------------------------------------------------------

void look_up_variables() {
    for (gauge::VariableRecord* r : kLookedUp) gauge::lookup(*r);
}

void show(gauge::Element& e, bool shown) { gauge::set_hidden(e, !shown); }

void show_warning_lights() {
    dme::WarningInputs in;
    in.tick = tick.value.d;
    in.altitude_m = altitude.value.d;
    in.ground_elevation_256 = ground_elevation.value.d;
    in.vertical_speed = vertical_speed.value.d;
    in.gear_position = gear_position.value.d;
    in.glideslope = glideslope.value.d;
    in.third_a = third_a.value.d;
    in.third_b = third_b.value.d;
    in.third_c = third_c.value.d;
    const dme::WarningLights lights = dme::warning_lights(in);
    show(ground_proximity_light, lights.ground_proximity);
    show(glideslope_light, lights.glideslope);
    show(third_light, lights.third);
}

bool lit_group_used() {
    const auto* value = static_cast<const double*>(night_lighting.pointer);
    return !value || *value != 0.0;
}

void show_drums(DrumGroup& group, bool used, bool valid) {
    show(group.units, used);
    show(group.tens, used && valid);
    show(group.hundreds, used && valid);
}

void show_drum_group() {
    const bool lit = lit_group_used();
    const bool valid = distance_valid.value.d != 0.0;
    show_drums(unlit_drums, !lit, valid);
    show_drums(lit_drums, lit, valid);
    show(lit_plate, lit);
}

// --- Routines ----------------------------------------------------------------------------------

void initialize() {
    gauge::standard_initialize();
    gauge::bind_named(night_lighting, "Light");
}

void update() {
    gauge::standard_update();
    look_up_variables();
    show_warning_lights();
    show_drum_group();
}

gauge::GaugeHeader header = {
    610, "dmegauge", &face, gauge::standard_query, gauge::standard_install, initialize, update,
    gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 210, nullptr, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
