// The FD mode shared with the flight director switch through its PassData block, and the
// PFDruns block that says the flight display is loaded.

#include "flightdisplay/pfd_state.h"
#include "navdisplay/control_block.h"
#include "platform/shared_block.h"

namespace pfd {
namespace {

constexpr const char* kPassDataName = "PassData";
constexpr std::size_t kFdModeOffset = 0;
constexpr int kFdModeIndex = 7;
constexpr const char* kPresenceName = "PFDruns";
constexpr std::size_t kPresenceSize = 1;

plat::SharedBlock pass_data;
plat::SharedView pass_view;
plat::SharedBlock presence;

}  // namespace

bool fd_link_attached() { return static_cast<bool>(pass_view); }

void fd_link_close() {
    pass_view.unmap();
    pass_data.close();
}

void fd_link_attach() {
    fd_link_close();
    auto block = plat::SharedBlock::open_existing(kPassDataName);
    if (!block) return;
    auto view = block->map(plat::Access::read_write);
    if (!view || view->size() < ndblock::kFieldSize) return;
    pass_data = std::move(block).value();
    pass_view = std::move(view).value();
}

std::optional<int> fd_link_read() {
    if (!pass_view) return std::nullopt;
    ndblock::Field field;
    ndblock::copy_out(field, pass_view.data(), kFdModeOffset);
    return ndblock::parse_decimal(field, kFdModeIndex);
}

void fd_link_write(int mode) {
    if (!pass_view) return;
    char* text = pass_view.as<char>() + kFdModeOffset;
    text[kFdModeIndex] = static_cast<char>('0' + (mode % 10));
    text[kFdModeIndex + 1] = '\0';
}

void presence_open() {
    presence_close();
    if (auto block = plat::SharedBlock::create_or_open(kPresenceName, kPresenceSize)) presence = std::move(block).value();
}

void presence_close() { presence.close(); }

}  // namespace pfd
