#pragma once
// The gauge's small sound library: up to 32 PCM WAV files loaded into playable sounds. A sound is
// named by its slot number plus 1; 0 means none, and playing or freeing 0 does nothing. Problems
// with a file are reported in a message box titled "Soundlib-Error " and leave the sound absent.

namespace soundlib {

inline constexpr int kSlots = 32;

// Loads the WAV file at `path`; load messages are owned by `owner_window`. Returns the sound's
// number, or 0 when the file is unusable, the output refuses its format, or all slots are taken.
int load_sound(const char* owner_window, const char* path);

// Starts the sound once from its beginning; a sound still playing is set back to its start.
void play_sound(int sound);

// Stops and releases the sound and empties its slot.
void free_sound(int sound);

// How many sounds are loaded.
int loaded_sounds();

}  // namespace soundlib
