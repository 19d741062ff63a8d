"""What FlightGear's route manager should hold after the FMC loaded a plan, read from the plan's own
text (the FMC's fixed columns) independently of the link, and what it does hold: the departure
(as "KLAS-25R" where the plan names a runway), every point between by its ident, or by its position
where the ident is no name FlightGear's data has (latitude/longitude points, the planner's approach
points), the destination (its runway) last; active, with the first point after the departure as
the current waypoint."""

import math

ROUTE = "/autopilot/route-manager"


def degrees(field):
    """A coordinate field of a record: "N37 37 07.23", "W122 22 30.03"."""
    parts = field[1:].split()
    value = float(parts[0]) + float(parts[1]) / 60 + (float(parts[2]) / 3600 if len(parts) > 2 else 0)
    return -value if field[0] in "SW" else value


def plan_points(text):
    """The records after [WAYPOINTS] as (type, ident, lat, lon), top of climb and descent left out."""
    records = text[text.index("[WAYPOINTS]"):].splitlines()[1:]
    points = []
    for r in records:
        if len(r) < 74 or r[:3] in ("TOC", "TOD"):
            continue
        points.append((r[0:5].strip(), r[5:10].strip(), degrees(r[46:60].strip()), degrees(r[60:74].strip())))
    return points


def plan_runways(text):
    """The designators of the RUNWAY= lines of [DEPARTURE] and [ARRIVAL] ("" where none)."""
    found = []
    for section, end in (("[DEPARTURE]", "[ARRIVAL]"), ("[ARRIVAL]", "[WAYPOINTS]")):
        block = text[text.index(section):text.index(end)]
        line = next((l for l in block.splitlines() if l.startswith("RUNWAY=")), "RUNWAY=")
        found.append(line[7:].split("/")[0].strip())
    return found


def expected_legs(text):
    """(ident or None for a leg given by position, lat, lon) for every leg, in order."""
    points = plan_points(text)
    departure, arrival = plan_runways(text)
    legs = []
    for i, (kind, ident, lat, lon) in enumerate(points):
        runway = departure if i == 0 else arrival if i == len(points) - 1 else ""
        if kind == "APT" and (i == 0 or i == len(points) - 1):
            legs.append((f"{ident}-{runway}" if runway else ident, lat, lon))
        else:
            legs.append((ident if ident.isalpha() else None, lat, lon))
    return legs


def before_departure(text, nm=10.0):
    """A position nm before the departure on the line of its first leg, where an aircraft bound
    for the first point has everything ahead of it."""
    points = plan_points(text)
    (_, _, lat0, lon0), (_, _, lat1, lon1) = points[0], points[1]
    east = (lon1 - lon0) * math.cos(math.radians(lat0))
    north = lat1 - lat0
    length = math.hypot(east, north) or 1.0
    step = nm / 60.0
    return lat0 - north / length * step, lon0 - east / length * step / math.cos(math.radians(lat0))


def read_route(props, num):
    """FlightGear's route manager: (legs as (id, lat, lon), current-wp, active)."""
    head = props.get([f"{ROUTE}/route/num", f"{ROUTE}/current-wp", f"{ROUTE}/active"])
    legs = []
    for i in range(min(int(num(head.get(f"{ROUTE}/route/num"))), 100)):
        w = props.get([f"{ROUTE}/route/wp[{i}]/id", f"{ROUTE}/route/wp[{i}]/latitude-deg",
                       f"{ROUTE}/route/wp[{i}]/longitude-deg"])
        legs.append((w.get(f"{ROUTE}/route/wp[{i}]/id", ""), num(w.get(f"{ROUTE}/route/wp[{i}]/latitude-deg")),
                     num(w.get(f"{ROUTE}/route/wp[{i}]/longitude-deg"))))
    return legs, head.get(f"{ROUTE}/current-wp"), head.get(f"{ROUTE}/active")


def compare(expected, legs):
    """A line per index (the plan's leg, FlightGear's), and whether every one matches: the ident
    where the plan gives one (a navaid or fix also within 0.1 degree of the plan's place, so that
    FlightGear took the one the plan meant), the position within 0.001 degree where it does not."""
    rows, ok = [], len(expected) == len(legs)
    for i in range(max(len(expected), len(legs))):
        want = expected[i] if i < len(expected) else None
        got = legs[i] if i < len(legs) else None
        good = False
        if want and got:
            ident, lat, lon = want
            if ident is None:
                good = abs(got[1] - lat) < 0.001 and abs(got[2] - lon) < 0.001
            elif "-" in ident or i in (0, len(expected) - 1):
                good = got[0] == ident
            else:
                good = got[0] == ident and abs(got[1] - lat) < 0.1 and abs(got[2] - lon) < 0.1
        ok = ok and good
        show = (lambda w: "-" if not w else f"{w[0] or '(position)'} {w[1]:.4f} {w[2]:.4f}")
        rows.append(f"  {i:2d}  {'ok ' if good else 'BAD'}  plan {show(want):32s}  FlightGear {show(got)}")
    return ok, rows
