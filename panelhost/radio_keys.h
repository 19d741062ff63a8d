#pragma once
// The radio panel on the function keys, for every place a pilot types (the window viewer, the
// browser): F5/F6 NAV1 down/up, F7/F8 NAV1 course, F9/F10 NAV2, F11/F12 ADF; with Shift in big
// steps (1 MHz, 10 degrees, 100 kHz).

namespace panelhost {

class Session;

// Turns the knob of a radio key (a virtual-key code) and prints the tuning; false for other keys.
bool turn_radio_knob(Session& session, int vk, bool shift);

}  // namespace panelhost
