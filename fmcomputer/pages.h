#pragma once
// The FMC pages: each builder writes its fixed lines and fills the page data (and, for the legs,
// the label) entries that the refresh step shows; POSITION REF and PROGRESS are recomputed as the
// aircraft moves. Builders run inside their exception guards.

namespace fmc {

void build_menu();
void build_load();
void build_performance();
void build_position_ref();
void build_route();
void build_legs();
void build_progress();
// Builds the page by number (0 MENU ... 3 PROGRESS); any other number shows the MENU page.
void show_page(int page);

// Opens the WAYPOINT DETAILS page of record k, or closes it when it is shown.
void toggle_details(int k);

// LOAD page: loads the plan of list entry k and shows ROUTE, or shows the error on its line.
void load_plan_entry(int k);

// POSITION REF: entries 1 to 4 from the aircraft's position and speed.
void compute_position_ref();
// Line 2's value callback on POSITION REF: one more redraw for each value that moved.
void follow_position_ref();
// PROGRESS entries for the distance d to TO.
void compute_progress(double d);

// ETA of record k from the last ATA and the plan times of k and TO - 1, "%02d%02dz".
void eta_text(int k, char* out, unsigned size);

}  // namespace fmc
