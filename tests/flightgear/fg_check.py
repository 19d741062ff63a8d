#!/usr/bin/env python3
"""The FlightGear link against a real FlightGear (started by run.sh): the PFD and the ND follow
FlightGear's aircraft, EXEC turns it toward a waypoint east, every plan the FMC loads is in
FlightGear's route manager in its order (a plan near the ufo, the plan of a filed route string
and a plan of another tool, each loaded while the previous one is flown), and killing FlightGear
leaves the panel running with the lost-link message.

The pictures are checked against FlightGear's properties read back here, independently of the
link: a second, reference run of the host draws the same panel from tokens this script computes
from those properties, and each picture of the linked run must match the reference drawn from its
own moment better than the one drawn from the other moment. The route manager's legs are checked
against the plan file's own records (fg_route.py)."""

import os
import shutil
import socket
import struct
import subprocess
import sys
import time
import zlib

import fg_route

HERE = os.path.dirname(os.path.abspath(__file__))
# A filed route from a real flight (its SID and STAR are not in the host's world data and are
# skipped), and a plan of another tool: MSFS's own .pln.
ROUTE_STRING = "KLAS SHEAD1 OAL J92 FMG J5 LKV J67 BTG OLM2 KPAE"
OTHER_TOOL_PLAN = os.path.join(HERE, "..", "data", "plans", "ksfo-klax-msfs.pln")

PANEL = """[Window00]
size=532,256
position=0,0
visible=1
ident=0
gauge00=flightdisplay!flightdisplay, 0, 0
gauge01=navdisplay!navdisplay, 276, 0

[Window01]
size=280,280
position=0,300
visible=1
ident=1
gauge00=fmcomputer!fmcomputer, 0, 0
"""

# The plan's fixed columns: type 0, ident 5, name 12, frequency 38, latitude 46, longitude 60,
# altitude 75-79 (right-justified), course 82, distance 87-93, hours 95, minutes 98; 103 characters.
def waypoint(kind, ident, name, lat, lon, alt, course, dist):
    def dms(v, pos, neg, width):
        h = pos if v >= 0 else neg
        v = abs(v)
        d = int(v)
        m = int((v - d) * 60)
        s = ((v - d) * 60 - m) * 60
        return f"{h}{d:0{width}d} {m:02d} {s:05.2f}"
    line = [" "] * 103

    def put(col, text):
        line[col:col + len(text)] = list(text)
    put(0, kind)
    put(5, ident)
    put(12, name)
    put(38, "000.00")
    put(46, dms(lat, "N", "S", 2))
    put(60, dms(lon, "E", "W", 3))
    put(75, f"{alt:>5}")
    put(82, f"{course:03d}")
    put(87, f"{dist:>7.1f}")
    put(95, "00:00")
    return "".join(line)


def plan_text(lat, lon):
    east1, east2, east3 = lon + 0.5, lon + 1.0, lon + 1.5
    return "\r\n".join([
        "[DEPARTURE]", "AIRPORT=KSFO", "RUNWAY=10R/101/10580", "[ARRIVAL]", "AIRPORT=KSCK", "RUNWAY=29R/295/10650",
        "AIRCRAFT=MD-80", "CRUISE_SPEED=200", "CRUISE_ALTITUDE=5000", "CLIMB_RATE=1500", "DESCENT_RATE=1500",
        "CLIMB_SPEED=200", "DESCENT_SPEED=200", "[WAYPOINTS]",
        waypoint("APT", "KSFO", "DEPARTURE", lat, lon, 5000, 0, 0.0),
        # Idents that lead with a digit, as latitude/longitude points' do: FlightGear's data has no
        # such names, so the link gives the route manager these points by their positions.
        waypoint("INT", "1EAST", "EAST A", lat, east1, 5000, 90, 24.0),
        waypoint("INT", "2EAST", "EAST B", lat, east2, 5000, 90, 48.0),
        waypoint("APT", "KSCK", "ARRIVAL", lat, east3, 5000, 90, 72.0),
    ]) + "\r\n"


class Props:
    """A client of FlightGear's property server, in its normal mode."""

    def __init__(self, port):
        self.port = port
        self.s = None

    def get(self, paths, timeout=5.0):
        if self.s is None:
            self.s = socket.create_connection(("127.0.0.1", self.port), timeout=timeout)
        self.s.sendall("".join(f"get {p}\r\n" for p in paths).encode())
        want = set(paths)
        got = {}
        buf = b""
        end = time.time() + timeout
        while want - set(got) and time.time() < end:
            self.s.settimeout(max(0.05, end - time.time()))
            try:
                chunk = self.s.recv(65536)
            except socket.timeout:
                break
            if not chunk:
                raise ConnectionError("closed")
            buf += chunk
            *lines, buf = buf.split(b"\n")
            for raw in lines:
                line = raw.decode(errors="replace").rstrip("\r")
                if " = '" not in line:
                    continue
                head, rest = line.split(" = '", 1)
                path = head.split("> ")[-1]
                value = rest[: rest.rfind("' (")]
                got[path] = value
        return got

    def set(self, path, value):
        if self.s is None:
            self.s = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        self.s.sendall(f"set {path} {value}\r\n".encode())


def num(v, default=0.0):
    if v in ("true",):
        return 1.0
    if v in ("false", None, ""):
        return default
    try:
        return float(v)
    except ValueError:
        return default


# The tokens the PFD and the ND draw, computed from FlightGear's properties by this script's own
# conversions (the host's units: latitude 90/10001750 degree, longitude 2^48 per turn, metres,
# vertical speed raw at 0.780288 fpm, pitch and bank with the host's signs).
PATHS = ["/orientation/heading-magnetic-deg", "/orientation/heading-deg", "/environment/magnetic-variation-deg",
         "/position/altitude-ft", "/position/ground-elev-m", "/orientation/pitch-deg", "/orientation/roll-deg",
         "/velocities/airspeed-kt", "/velocities/mach", "/velocities/vertical-speed-fps",
         "/position/latitude-deg", "/position/longitude-deg", "/environment/wind-speed-kt",
         "/environment/wind-from-heading-deg", "/autopilot/settings/heading-bug-deg",
         "/autopilot/settings/target-altitude-ft", "/autopilot/settings/vertical-speed-fpm",
         "/autopilot/settings/target-speed-kt", "/autopilot/locks/heading", "/autopilot/locks/altitude",
         "/autopilot/locks/speed", "/instrumentation/nav[0]/nav-id", "/instrumentation/nav[0]/in-range",
         "/instrumentation/nav[0]/frequencies/selected-mhz", "/instrumentation/nav[0]/radials/selected-deg",
         "/instrumentation/nav[0]/heading-needle-deflection", "/instrumentation/nav[0]/to-flag",
         "/instrumentation/nav[0]/from-flag", "/instrumentation/nav[0]/nav-loc", "/instrumentation/dme/in-range",
         "/instrumentation/dme/indicated-distance-nm", "/instrumentation/dme/indicated-ground-speed-kt",
         "/instrumentation/nav[1]/nav-id", "/instrumentation/nav[1]/in-range", "/instrumentation/nav[1]/dme-in-range",
         "/instrumentation/nav[1]/nav-distance", "/instrumentation/nav[1]/heading-deg",
         "/instrumentation/adf/indicated-bearing-deg", "/instrumentation/adf/in-range", "/instrumentation/adf/ident",
         "/instrumentation/altimeter/setting-inhg", "/controls/flight/flaps"]


def scenario_lines(t, p):
    hdg_mag = num(p["/orientation/heading-magnetic-deg"])
    hdg = num(p["/orientation/heading-deg"])
    lon = num(p["/position/longitude-deg"])
    locks = [p.get("/autopilot/locks/" + k, "") for k in ("heading", "altitude", "speed")]
    mhz = num(p["/instrumentation/nav[0]/frequencies/selected-mhz"], 110.0)
    digits = max(0, min(9999, round(mhz * 100) - 10000))
    bcd = int(str(digits).zfill(4), 16)
    nav1 = (0 if num(p["/instrumentation/nav[0]/in-range"]) else 8) | (0x80 if num(p["/instrumentation/nav[0]/nav-loc"]) else 0) \
        | (1 if num(p["/instrumentation/dme/in-range"]) else 0)
    nav2 = (0 if num(p["/instrumentation/nav[1]/in-range"]) else 8) | (1 if num(p["/instrumentation/nav[1]/dme-in-range"]) else 0)
    to_from = 4 if num(p["/instrumentation/nav[0]/from-flag"]) else 1 if num(p["/instrumentation/nav[0]/to-flag"]) else 0
    alt = num(p["/position/altitude-ft"])
    values = {
        81: hdg_mag, 86: hdg, 82: num(p["/environment/magnetic-variation-deg"]), 74: alt, 73: alt * 0.3048,
        2: num(p["/position/ground-elev-m"]) * 256, 78: -num(p["/orientation/pitch-deg"]),
        80: -num(p["/orientation/roll-deg"]), 61: num(p["/velocities/airspeed-kt"]), 64: num(p["/velocities/mach"]) * 20480,
        65: num(p["/velocities/vertical-speed-fps"]) * 60 / 0.780288, 69: 0, 335: 0,
        328: round(min(1, max(0, num(p["/controls/flight/flaps"]))) * 16383), 60: 0,
        76: num(p["/instrumentation/altimeter/setting-inhg"], 29.92),
        40: max(-127, min(127, num(p["/instrumentation/nav[0]/heading-needle-deflection"]) * 12.7)),
        45: num(p["/instrumentation/nav[0]/radials/selected-deg"]), 41: 0, 44: 0,
        107: num(p["/autopilot/settings/heading-bug-deg"]), 109: num(p["/autopilot/settings/target-altitude-ft"]),
        120: num(p["/autopilot/settings/vertical-speed-fpm"]), 116: num(p["/autopilot/settings/target-speed-kt"]),
        103: 1 if any(locks) else 0, 104: 1 if locks[0] == "wing-leveler" else 0, 105: 0,
        106: 1 if locks[0] in ("dg-heading-hold", "true-heading-hold") else 0,
        108: 1 if locks[1] in ("altitude-hold", "vertical-speed-hold") else 0, 110: 0, 111: 0, 112: 0, 113: 0,
        114: 0, 115: 1 if locks[2] == "speed-with-throttle" else 0, 117: 0,
        119: 1 if locks[1] == "vertical-speed-hold" else 0, 123: 0, 124: 0,
        31: num(p["/instrumentation/dme/indicated-distance-nm"]), 32: num(p["/instrumentation/dme/indicated-ground-speed-kt"]),
        35: num(p["/instrumentation/nav[1]/nav-distance"]) / 1852, 49: 0,
        39: num(p["/instrumentation/adf/indicated-bearing-deg"]), 20: num(p["/instrumentation/adf/in-range"]),
        354: 0, 59: (num(p["/instrumentation/nav[1]/heading-deg"]) - hdg) % 360,
        343: num(p["/environment/wind-speed-kt"]), 344: num(p["/environment/wind-from-heading-deg"]),
        71: num(p["/position/latitude-deg"]) * 10001750 / 90, 72: (lon + 360 if lon < 0 else lon) / 1.2789770768341246e-12,
    }
    lines = [f"at {t} set {k} {v!r}" for k, v in values.items()]
    lines += [f"at {t} set-int 24 {bcd}", f"at {t} set-int 46 {nav1}", f"at {t} set-int 55 {nav2}",
              f"at {t} set-int 42 {to_from}"]
    for token, path in ((47, "/instrumentation/nav[0]/nav-id"), (56, "/instrumentation/nav[1]/nav-id"),
                        (19, "/instrumentation/adf/ident")):
        text = p.get(path, "")
        lines.append(f"at {t} set-text {token} {text}" if text else f"at {t} set-text {token}")
    return lines


def read_png(path):
    data = open(path, "rb").read()
    i, idat, w, h = 8, b"", 0, 0
    while i < len(data):
        n, = struct.unpack(">I", data[i:i + 4])
        kind = data[i + 4:i + 8]
        body = data[i + 8:i + 8 + n]
        if kind == b"IHDR":
            w, h, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 2, "8-bit RGB expected"
        elif kind == b"IDAT":
            idat += body
        i += 12 + n
    raw = zlib.decompress(idat)
    stride = w * 3
    rows, prev = [], bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 3] if x >= 3 else 0
            b = prev[x]
            c = prev[x - 3] if x >= 3 else 0
            if f == 1: line[x] = (line[x] + a) & 255
            elif f == 2: line[x] = (line[x] + b) & 255
            elif f == 3: line[x] = (line[x] + (a + b) // 2) & 255
            elif f == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return w, h, rows


def differing(a, b, x0, x1):
    """Pixels that differ between two pictures in the columns x0..x1."""
    _, h, ra = read_png(a)
    _, _, rb = read_png(b)
    n = 0
    for y in range(h):
        for x in range(x0, x1):
            if ra[y][3 * x:3 * x + 3] != rb[y][3 * x:3 * x + 3]:
                n += 1
    return n


def converted_plan(panelhost, source, work, name):
    """The FMC's plan the host makes of a plan file or route string (its --plan)."""
    out = os.path.join(work, "plan-" + name)
    subprocess.run([panelhost, "run", "--plan", source, "--seconds", "0", "--out", out], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    folder = os.path.join(out, "root", "NavData", "FlightPlans")
    (only,) = [f for f in os.listdir(folder) if f.lower().endswith(".pln")]
    return open(os.path.join(folder, only), newline="").read()


def offer_plan(folder, name, text):
    """The plan as the only one in the FMC's plan folder, the first line of its LOAD page."""
    for f in os.listdir(folder):
        os.remove(os.path.join(folder, f))
    open(os.path.join(folder, name + ".pln"), "w", newline="").write(text)


def main():
    panelhost, port, work, fg_pid = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
    ok = True

    def check(cond, what):
        nonlocal ok
        print(("PASS: " if cond else "FAIL: ") + what, flush=True)
        ok = ok and cond

    props = Props(port)
    print("waiting for FlightGear's property server on port", port, flush=True)
    end = time.time() + 900
    while True:
        try:
            if num(props.get(["/sim/time/elapsed-sec"]).get("/sim/time/elapsed-sec")) > 0:
                break
        except OSError:
            props.s = None
        if time.time() > end:
            print("FAIL: FlightGear did not answer within 15 minutes")
            return 1
        time.sleep(2)
    start = props.get(["/position/latitude-deg", "/position/longitude-deg"])
    lat, lon = num(start["/position/latitude-deg"]), num(start["/position/longitude-deg"])
    print(f"FlightGear answers; the ufo is at {lat:.4f} {lon:.4f}", flush=True)
    for lock in ("heading", "altitude", "speed"):
        props.set(f"/autopilot/locks/{lock}", "")

    # A root with the one plan, copied for the linked run and for the reference run.
    prep = os.path.join(work, "prep")
    panel_file = os.path.join(work, "check.cfg")
    open(panel_file, "w").write(PANEL)
    subprocess.run([panelhost, "run", "--panel", panel_file, "--seconds", "0", "--out", prep], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The FMC's and the ND's state files of that empty run would override their defaults (HRZ, VRT
    # and SPD on).
    for state in ("fp.tmp", "NDmode.tmp"):
        if os.path.exists(os.path.join(prep, "root", "Gauges", state)):
            os.remove(os.path.join(prep, "root", "Gauges", state))
    plans = os.path.join(prep, "root", "NavData", "FlightPlans")
    shutil.rmtree(plans)
    os.makedirs(plans)
    open(os.path.join(plans, "EAST.pln"), "w").write(plan_text(lat, lon))
    for name in ("root_fg", "root_ref"):
        shutil.copytree(os.path.join(prep, "root"), os.path.join(work, name))
    east_plan = open(os.path.join(plans, "EAST.pln"), newline="").read()
    route_file = os.path.join(work, "klas-kpae.route")
    open(route_file, "w").write(ROUTE_STRING + "\n")
    # Each later plan is loaded while the one before is flown, with the ufo moved to a few miles
    # before its departure first (FlightGear's GPS moves the current waypoint on past points the
    # aircraft has passed).
    later_plans = [("KLAS-KPAE", converted_plan(panelhost, route_file, work, "route-string"), 82),
                   ("KSFO-KLAX", converted_plan(panelhost, OTHER_TOOL_PLAN, work, "msfs"), 96)]
    fg_plans = os.path.join(work, "root_fg", "NavData", "FlightPlans")

    # The linked run: steady at 20 s, MENU, LOAD the plan, SPD off, EXEC, steady again at 80 s;
    # then the later plans, each offered and loaded (MENU, LOAD, its line) and read back 8 s later.
    t_a, t_exec, t_b, t_kill, t_end = 20, 26, 80, 112, 126
    def load(t):
        return [f"at {t} click fmcomputer 45 234", f"at {t + 1} click fmcomputer 16 43", f"at {t + 2} click fmcomputer 16 43"]

    fg_scenario = os.path.join(work, "fg.txt")
    open(fg_scenario, "w").write("\n".join(
        [f"at {t_a} snap a"] + load(22) + ["at 25 click fmcomputer 190 260", f"at {t_exec} click fmcomputer 83 260",
                                          f"at {t_b} snap b"] +
        [line for _, _, t in later_plans for line in load(t + 2)] + [f"at {t_end - 6} snap c"]) + "\n")
    # (name, text, when it is read back): what FlightGear's route manager holds then is checked.
    readings = [("EAST", east_plan, 30)] + [(name, text, t + 12) for name, text, t in later_plans]
    routes = {}
    out_fg = os.path.join(work, "out_fg")
    log = open(os.path.join(work, "panelhost_fg.log"), "w")
    run = subprocess.Popen([panelhost, "run", "--sim", f"flightgear=127.0.0.1:{port}", "--root",
                            os.path.join(work, "root_fg"), "--panel", panel_file, "--scenario", fg_scenario,
                            "--seconds", str(t_end), "--out", out_fg], stdout=log, stderr=subprocess.STDOUT)
    t0 = time.time()
    headings, at_a, at_b = [], None, None
    offered = set()
    killed = False
    while run.poll() is None:
        t = time.time() - t0
        if not killed:
            try:
                p = props.get(PATHS)
            except OSError:
                p = None
            if p:
                if at_a is None and t >= t_a - 0.5:
                    at_a = p
                if at_b is None and t >= t_b - 0.5:
                    at_b = p
                if t <= t_b:
                    headings.append((t, num(p["/orientation/heading-deg"])))
            for name, text, when in later_plans:
                if name not in offered and t >= when:
                    offered.add(name)
                    la, lo = fg_route.before_departure(text)
                    props.set("/position/latitude-deg", f"{la:.6f}")
                    props.set("/position/longitude-deg", f"{lo:.6f}")
                    offer_plan(fg_plans, name, text)
            for name, _, when in readings:
                if name not in routes and t >= when:
                    try:
                        routes[name] = fg_route.read_route(props, num)
                    except OSError:
                        pass
            if t >= t_kill:
                os.kill(fg_pid, 15)
                killed = True
                print(f"FlightGear killed at {t:.0f} s of the run", flush=True)
        time.sleep(0.5)
    log.close()
    check(run.returncode == 0, f"panelhost ran to its end after FlightGear went away (exit {run.returncode})")
    if at_a is None or at_b is None:
        print("FAIL: no property read-back at the two moments")
        return 1

    # Every plan the FMC loaded, in FlightGear's route manager: each leg at its index, the airports
    # (their runways) first and last, nothing left of the plan before, active, bound for the first
    # point after the departure.
    for name, text, when in readings:
        if name not in routes:
            check(False, f"FlightGear's route manager read back after loading {name}")
            continue
        legs, current, active = routes[name]
        same, rows = fg_route.compare(fg_route.expected_legs(text), legs)
        print(f"route manager {when} s into the run, after loading {name}:", flush=True)
        print("\n".join(rows), flush=True)
        check(same, f"{name}: the route manager holds the plan's {len(fg_route.expected_legs(text))} legs in order")
        check(active in ("true", "1"), f"{name}: the route is active ({active})")
        check(current == "1", f"{name}: the current waypoint is the first point after the departure ({current})")

    before = [h for t, h in headings if t <= t_exec]
    after = [h for t, h in headings if t_exec + 5 <= t <= t_exec + 60]
    h0 = before[-1] if before else float("nan")
    print(f"true heading at EXEC {h0:.1f}; within a minute: " +
          " ".join(f"{h:.0f}" for h in after[::8]), flush=True)
    course = 90.0
    off0 = abs((course - h0 + 180) % 360 - 180)
    best = min((abs((course - h + 180) % 360 - 180) for h in after), default=999)
    check(best < off0 - 30, f"EXEC turned FlightGear's aircraft toward the waypoint east "
                            f"(off course {off0:.0f} degrees at EXEC, {best:.0f} at best within 60 s)")

    # The reference run: the host's own drawing of the same moments from the read-back tokens.
    ref_scenario = os.path.join(work, "ref.txt")
    lines = scenario_lines(t_a - 2, at_a) + [f"at {t_a} snap a", "at 22 click fmcomputer 45 234",
                                             "at 23 click fmcomputer 16 43", "at 24 click fmcomputer 16 43"]
    lines += scenario_lines(t_b - 2, at_b) + [f"at {t_b} snap b"]
    open(ref_scenario, "w").write("\n".join(lines) + "\n")
    out_ref = os.path.join(work, "out_ref")
    subprocess.run([panelhost, "run", "--root", os.path.join(work, "root_ref"), "--panel", panel_file, "--scenario",
                    ref_scenario, "--seconds", str(t_b + 1), "--out", out_ref], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print(f"read back at A: heading {num(at_a['/orientation/heading-magnetic-deg']):.1f} magnetic, altitude "
          f"{num(at_a['/position/altitude-ft']):.0f} ft; at B: heading "
          f"{num(at_b['/orientation/heading-magnetic-deg']):.1f}, altitude {num(at_b['/position/altitude-ft']):.0f} ft",
          flush=True)
    for name, x0, x1 in (("PFD", 0, 256), ("ND", 276, 532)):
        a_a = differing(f"{out_fg}/a-window00.png", f"{out_ref}/a-window00.png", x0, x1)
        a_b = differing(f"{out_fg}/a-window00.png", f"{out_ref}/b-window00.png", x0, x1)
        b_b = differing(f"{out_fg}/b-window00.png", f"{out_ref}/b-window00.png", x0, x1)
        b_a = differing(f"{out_fg}/b-window00.png", f"{out_ref}/a-window00.png", x0, x1)
        print(f"{name}: pixels differing from the reference of its own moment: {a_a} (A), {b_b} (B); "
              f"of the other moment: {a_b} (A), {b_a} (B)", flush=True)
        check(a_a < a_b and b_b < b_a, f"the {name} follows FlightGear's heading and altitude")

    messages = open(os.path.join(out_fg, "messages.log")).read()
    check("Connected to FlightGear at" in messages, "messages.log says the link came up")
    check("Lost FlightGear at" in messages, "messages.log says the link was lost")
    check(os.path.exists(f"{out_fg}/c-window00.png"), "the panel kept running (a picture after the loss)")
    print(messages, end="")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
