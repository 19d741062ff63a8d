// The engine fire-protection panel: a red fire handle per engine that is pulled and turned
// left (bottle 1) or right (bottle 2), and the two AGENT LOW lights between the handles.
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

// Each handle turns about an axis near the foot of the panel: engine 1 at (34, 108), engine 2 at
// (190, 108). The handle pictures (95 x 95) stand at (-14, 24) and (142, 24), the pulled ones
// (30 x 95) at (20, 24) and (174, 24).
constexpr int kAxisY = 108;
constexpr int kEngine1AxisX = 34, kEngine2AxisX = 190;
constexpr int kHandleBoxY = 24;
constexpr int kHandleAxisX = 48;  // within a handle picture
constexpr double kTurn = 30.0;    // degrees either way

const plat::ColorRef kHandleRed = rgb(178, 24, 20);
const plat::ColorRef kHandleDark = rgb(92, 12, 10);
const plat::ColorRef kHandleLight = rgb(220, 70, 60);
const plat::ColorRef kShaft = rgb(150, 154, 158);
const plat::ColorRef kAgentLit = rgb(255, 176, 30);

// A point `along` up the handle and `across` to its right, for a handle turned by angle.
PointF on_handle(PointF axis, double along, double across, double angle) {
    return polar(polar(axis, along, angle), across, angle + 90);
}

void quad(Canvas& c, PointF axis, double from, double to, double half, double angle, plat::ColorRef colour) {
    const PointF pts[] = {on_handle(axis, from, -half, angle), on_handle(axis, to, -half, angle),
                          on_handle(axis, to, half, angle), on_handle(axis, from, half, angle)};
    fill_polygon(c, pts, colour);
}

// The handle: a shaft out of its collar and a ridged grip, `lift` pixels pulled out.
void draw_handle(Canvas& c, PointF axis, double angle, double lift, bool lit) {
    const plat::ColorRef body = lit ? rgb(255, 60, 36) : kHandleRed;
    const plat::ColorRef edge = lit ? rgb(150, 24, 14) : kHandleDark;
    quad(c, axis, 0, 30 + lift, 4.5, angle, rgb(60, 62, 64));
    quad(c, axis, 0, 30 + lift, 3.0, angle, kShaft);
    quad(c, axis, 26 + lift, 72 + lift, 12.5, angle, edge);
    quad(c, axis, 27 + lift, 71 + lift, 11.0, angle, body);
    if (!lit) quad(c, axis, 28 + lift, 70 + lift, 1.2, angle, kHandleLight);
    // The lit handle's grip carries its caption instead of the finger ridges.
    if (!lit)
        for (double along = 34; along <= 66; along += 8) quad(c, axis, along + lift, along + 1.5 + lift, 11.0, angle, edge);
}

template <int Angle>
void handle(Canvas& c) {
    draw_handle(c, {kHandleAxisX + 0.5, kAxisY - kHandleBoxY + 0.5}, Angle, 0, false);
}

// Pulled: the lit handle, drawn out of its collar over the upright one, with FIRE on its grip.
template <int AxisX>
void pulled(Canvas& c) {
    const PointF axis{AxisX + 0.5, kAxisY - kHandleBoxY + 0.5};
    draw_handle(c, axis, 0, 8, true);
    constexpr std::string_view letters[] = {"F", "I", "R", "E"};
    for (int i = 0; i < 4; ++i)
        legend(c, AxisX + 1, 8 + i * 10, letters[i], -9, plat::text_align::center | plat::text_align::top, 700,
               rgb(255, 255, 236));
}

void agent_lens(Canvas& c, int x, int y, std::string_view bottle, plat::ColorRef glass, plat::ColorRef ink) {
    c.fill_rect({x, y, x + 37, y + 16}, rgb(30, 32, 34));
    c.fill_rect({x + 1, y + 1, x + 36, y + 15}, glass);
    legend(c, x + 19, y + 1, bottle, -7, plat::text_align::center | plat::text_align::top, 700, ink);
    legend(c, x + 19, y + 8, "LOW", -7, plat::text_align::center | plat::text_align::top, 700, ink);
}

void agent1_light(Canvas& c) { agent_lens(c, 0, 0, "AGENT 1", kAgentLit, ink_black); }
void agent2_light(Canvas& c) { agent_lens(c, 0, 0, "AGENT 2", kAgentLit, ink_black); }

// A curved arrow painted where a handle is turned: from the top of the handle toward `side`.
void turn_marks(Canvas& c, int axis_x, std::string_view left_bottle, std::string_view right_bottle) {
    const PointF axis{axis_x + 0.5, kAxisY + 0.5};
    for (double a = -kTurn - 4; a <= kTurn + 4; a += 2) index_mark(c, axis, 79, 81, a, legend_white);
    for (int side : {-1, 1}) {
        const double a = side * (kTurn + 6);
        const PointF tip = polar(axis, 80, a);
        const PointF pts[] = {tip, polar(axis, 76, side * (kTurn - 2)), polar(axis, 84, side * (kTurn - 2))};
        fill_polygon(c, pts, legend_white);
    }
    legend(c, axis_x - 23, 38, left_bottle, -8);
    legend(c, axis_x + 24, 38, right_bottle, -8);
    // The top of the handle is where it is turned back upright.
    legend(c, axis_x + 1, 13, "OFF", -7);
}

void pull_mark(Canvas& c, int x) {
    recess(c, {x, 72, x + 26, 98}, rgb(34, 36, 38));
    const PointF pts[] = {{x + 13.0, 75.0}, {x + 6.0, 83.0}, {x + 20.0, 83.0}};
    fill_polygon(c, pts, legend_white);
    legend(c, x + 13, 85, "PULL", -7);
}

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 84, 112, 30);
    screw(c, 136, 112, -30);
    for (int x : {kEngine1AxisX, kEngine2AxisX}) boss(c, x, kAxisY, 12);
    turn_marks(c, kEngine1AxisX, "1", "2");
    turn_marks(c, kEngine2AxisX, "1", "2");
    pull_mark(c, 48);
    pull_mark(c, 146);
    agent_lens(c, 92, 8, "AGENT 1", rgb(46, 36, 16), rgb(96, 76, 40));
    agent_lens(c, 92, 30, "AGENT 2", rgb(46, 36, 16), rgb(96, 76, 40));
    legend(c, 111, 52, "FIRE", -11);
    legend(c, 111, 66, "ENG 1   ENG 2", -7);
    legend(c, 111, 80, "L  BTL 1", -7);
    legend(c, 111, 90, "R  BTL 2", -7);
}

constexpr Picture kPictures[] = {
    {4096, 221, 119, nothing_drawn},
    {8704, 37, 16, agent1_light},
    {8720, 37, 16, agent2_light},
    {8192, 95, 95, handle<0>},
    {8195, 95, 95, handle<-30>},
    {8198, 95, 95, handle<30>},
    {8201, 30, 95, pulled<kEngine1AxisX - 20>},
    {8448, 95, 95, handle<0>},
    {8451, 95, 95, handle<-30>},
    {8454, 95, 95, handle<30>},
    {8457, 30, 95, pulled<kEngine2AxisX - 174>},
};
constexpr Placement kAssembled[] = {
    {4096, 0, 0}, {8704, 92, 8}, {8448, 142, 24}, {8195, -14, 24}, {8457, 174, 24},
};
// The face is the panel's own: the gauge's face bitmap is see-through black.
constexpr PanelFace kPanelFace = {221, 119, 0, 0, 221, 119, face};

}  // namespace

std::span<const Picture> firepanel_pictures() { return kPictures; }
std::span<const Placement> firepanel_assembled() { return kAssembled; }
const PanelFace* firepanel_panel_face() { return &kPanelFace; }

}  // namespace art
