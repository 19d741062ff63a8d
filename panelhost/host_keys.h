#pragma once
// The host's own keys, for every place a pilot types (the window viewer, a browser page). None is a
// key the modules read (their hot keys, TAB, the "PANEL_8=" and "PANEL_9=" keys):
//
//   F5/F6 NAV1 down/up, F7/F8 NAV1 course, F9/F10 NAV2, F11/F12 ADF; with Shift in big steps
//   (1 MHz, 10 degrees, 100 kHz).
//   Without Shift, Ctrl or Alt, the host's aircraft: Page Up/Down the throttles, the arrows the
//   control column (nose down/up, roll; with the autopilot master off), L the gear, F and R the
//   flaps down and up a detent, B the brakes, I arms the approach mode.

namespace panelhost {

class Session;

struct KeyModifiers {
    bool shift = false, ctrl = false, alt = false;
};

// Applies a host key (a Windows virtual-key code going down) and prints what it set; false for the
// other keys, which only the modules see.
bool apply_host_key(Session& session, int vk, KeyModifiers mods);
// A key going down or up from a place that sends only the key (a browser page, the line protocol):
// a host key with the modifiers held now, and the keyboard state the modules read.
void apply_key(Session& session, int vk, bool down);

}  // namespace panelhost
