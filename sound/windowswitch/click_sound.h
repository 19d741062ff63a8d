#pragma once
// The button's click: WAVE resources of the module played through one audio device, each resource
// turned into a playable buffer once and kept. Every failure on the way is silent: the button
// works the same with or without its sound.

#include <cstdint>

#include "platform/module.h"

namespace click {

// Plays WAVE resource `id` of `module` from its start, restarting it if it is still playing.
void play_resource_sound(plat::ModuleHandle module, std::uint32_t id);

// Releases the cached buffers and the device; the next play starts afresh.
void release_sounds();

}  // namespace click
