// A rotary display switch: the FD mode switch (PassData) or the ND mode switch (NDMode of
// NDPassData), from one source set. Which one is chosen when the module is built.

#include "host/binding.h"
#include "host/declare.h"
#include "navdisplay/control_block.h"

namespace {

#if defined(SWITCH_FD)
constexpr const char* kGaugeName = "Lumiscope-Brightline-FDSW";
constexpr const char* kBlock = "PassData";
constexpr const char* kInitialText = "FDMode=0";
constexpr unsigned kInitialPosition = 0;
const std::int32_t switch_pictures[] = {2000, 2003, 2006};
constexpr int kPictureCount = 3;
// The picture is the FD mode itself.
double picture_of(unsigned position) { return position; }
#elif defined(SWITCH_ND)
constexpr const char* kGaugeName = "Lumiscope-Brightline-NDSW";
constexpr const char* kBlock = ndblock::kBlockName;
constexpr const char* kInitialText = "NDMode=1";
constexpr unsigned kInitialPosition = 1;
const std::int32_t switch_pictures[] = {2000, 2003};
constexpr int kPictureCount = 2;
// Arc (1) shows the lever left, centred (0) shows it up.
double picture_of(unsigned position) { return position == 1 ? 0.0 : 1.0; }
#else
#error "build the switch as SWITCH_FD or SWITCH_ND"
#endif

// Both ask for 20 bytes: the switch only touches the first field.
constexpr std::size_t kRequestSize = 20;
constexpr int kValueIndex = 7;

unsigned position = kInitialPosition;
ndblock::Field field;
ndblock::BlockLink block;

void set_position(unsigned p) {
    position = p;
    ndblock::format_decimal(field, kValueIndex, static_cast<int>(p));
    if (void* data = block.data()) ndblock::copy_in(data, 0, field);
}

template <unsigned P>
int click_position(gauge::Point*, std::uint32_t) {
    set_position(P);
    return 0;
}

double switch_picture(gauge::VariableRecord*) { return picture_of(position); }

gauge::Icon lever = gauge::icon({24, 34}, switch_pictures, kPictureCount, 0x4003, switch_picture);
gauge::Element* const plate_children[] = {&lever, nullptr};
gauge::StaticImage plate = gauge::static_image(1000, {0, 0}, 0x4001, plate_children);

constexpr std::uint32_t kRepeating = gauge::mouse_left_single | gauge::mouse_repeat;

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
#if defined(SWITCH_FD)
    gauge::area(9, 22, 28, 26, gauge::cursor_hand, kRepeating, click_position<0>),
    gauge::area(37, 12, 28, 21, gauge::cursor_hand, kRepeating, click_position<1>),
    gauge::area(65, 22, 28, 26, gauge::cursor_hand, gauge::mouse_left_single, click_position<2>),
#else
    gauge::area(9, 22, 28, 26, gauge::cursor_hand, kRepeating, click_position<1>),
    gauge::area(37, 12, 28, 21, gauge::cursor_hand, kRepeating, click_position<0>),
#endif
    gauge::group_end(),
    gauge::list_end(),
};

void install(plat::ModuleHandle resources) {
    position = kInitialPosition;
    ndblock::init_field(field, kInitialText);
    gauge::standard_install(resources);
    block.open(kBlock, kRequestSize);
    ndblock::publish_unless_held(block.data(), 0, field, kValueIndex);
}

void update() {
    gauge::standard_update();
    if (const void* data = block.data()) {
        ndblock::copy_out(field, data, 0);
        position = static_cast<unsigned>(ndblock::parse_decimal(field, kValueIndex));
    }
}

void kill() {
    gauge::standard_kill();
    block.close();
}

gauge::GaugeHeader header = {
    610, kGaugeName, &plate, gauge::standard_query, install, gauge::standard_initialize, update,
    gauge::standard_generate, gauge::standard_draw, kill, 50, mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
