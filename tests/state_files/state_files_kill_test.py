#!/usr/bin/python3
"""State files survive a kill.

Runs the built panelhost on one simulator root over and over with a scenario that changes what the
modules save (the ND selections, the FMC's plan, page and switches, the speed bugs and the timers
saved with them) and reloads the panel often, so that the modules write their state files many
times a run. Each run is killed with SIGKILL after a random delay, then the panel is started
again on the same root. After the kill and after the restart, every state file must be absent
only if it never existed, and otherwise hold one whole content as a finished write leaves it; the
restart must exit 0 and keep what it read.

The seed (printed; --seed or PANEL_KILL_SEED to choose it) fixes every scenario and every delay.
Where a kill lands relative to the writes still depends on the machine's speed, so a failure is
reported with the run's number, its delay and its scenario file, which stays in the work folder.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import threading
import time

# The gauges that keep state files, shared with the kept-folder test.
PANEL = open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "state", "panel.cfg")).read()

ND_FILE = "Gauges/NDmode.tmp"
FMC_FILE = "Gauges/fp.tmp"
BUGS_FILE = "737aspdbugs.txt"
LIMITS_FILE = "Gauges/flightdisplay.cfg"
STATE_FILES = (ND_FILE, FMC_FILE, BUGS_FILE, LIMITS_FILE)
TEMPORARY = ".new"

RANGES = {10, 20, 40, 80, 160, 320, 640}
ND_PATTERN = re.compile(rb"\A(-?\d+)\n(-?\d+)\n(-?\d+)\n(-?\d+)\n\Z")
FMC_PATTERN = re.compile(rb"\A([^\n]+\.pln)\n(\d+)\n(\d+)\n([01])\n([01])\n([01])\n([01])\n\Z")
BUGS_PATTERN = re.compile(rb"\A(\d+) (\d+) (\d+) (\d+) (\d+) (-?\d+\.\d{6}) (-?\d+\.\d{6}) (-?\d+) (-?\d+) (-?\d+)\r\n\Z")

# The reload period leaves the navigation display time to pass its 4-second start-up delay and
# take up the selections, so that it writes them at the next unload.
RELOAD_PERIOD = 5.0

# Clicks that change saved state, in each gauge's own pixels.
ND_CLICKS = [
    ("ndmodeselect", 30, 25), ("ndmodeselect", 8, 40), ("ndmodeselect", 48, 40),      # map mode
    ("ndmodeselect", 95, 40), ("ndmodeselect", 70, 40),                                 # range
    ("ndmodeselect", 10, 80), ("ndmodeselect", 36, 80), ("ndmodeselect", 62, 80),       # items
    ("Lumiscope-Brightline-NDSW", 20, 35), ("Lumiscope-Brightline-NDSW", 50, 20),       # ND mode
]
BUG_CLICKS = [("airspeed", x, y) for y in (10, 45, 90, 135, 170) for x in (165, 180)]
# MENU, the first plan (left key 1, twice: the list, then the plan), then page keys and switches.
FMC_LOAD = [("fmcomputer", 45, 234), ("fmcomputer", 16, 43), ("fmcomputer", 16, 43)]
FMC_CLICKS = [("fmcomputer", x, y) for x, y in
              ((45, 234), (83, 234), (121, 234), (159, 234), (197, 234),
               (45, 260), (83, 260), (121, 260), (159, 260), (197, 260))]


class Failure(Exception):
    pass


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def check_nd(data):
    m = ND_PATTERN.match(data)
    if not m:
        return "not four whole lines of numbers"
    nd_mode, map_mode, items, rng = (int(g) for g in m.groups())
    if nd_mode not in (0, 1) or map_mode not in (0, 1, 2) or not 0 <= items <= 0xFF or rng not in RANGES:
        return "values out of range"
    return None


def check_fmc(data):
    if data == b"":
        return None  # no plan known when it was written
    m = FMC_PATTERN.match(data)
    if not m:
        return "not a plan path and six whole lines of numbers"
    return None


def check_bugs(data):
    m = BUGS_PATTERN.match(data)
    if not m:
        return "not one whole line of ten numbers"
    if not all(1 <= int(m.group(i)) <= 449 for i in range(1, 6)):
        return "a bug speed out of range"
    return None


class Checker:
    def __init__(self, root, limits_reference):
        self.root = root
        self.limits_reference = limits_reference
        self.seen = set()  # files that have existed: from then on they must

    def check(self, when):
        contents = {}
        for name in STATE_FILES:
            data = read(os.path.join(self.root, name))
            if data is None:
                if name in self.seen and name != LIMITS_FILE:
                    raise Failure(f"{when}: {name} has gone")
                contents[name] = None
                continue
            self.seen.add(name)
            if name == ND_FILE:
                why = check_nd(data)
            elif name == FMC_FILE:
                why = check_fmc(data)
            elif name == BUGS_FILE:
                why = check_bugs(data)
            else:
                why = None if data == self.limits_reference else "not the defaults as a finished write leaves them"
            if why:
                raise Failure(f"{when}: {name}: {why}: {data!r}")
            contents[name] = data
        return contents


def scenario(rng, seconds):
    lines = ["# generated by state_files_kill_test.py"]
    t = 0.0
    first = True
    while t < seconds:
        start = t + 4.2
        clicks = []
        if first or rng.random() < 0.2:
            clicks += FMC_LOAD
        first = False
        clicks += rng.sample(ND_CLICKS, 3) + rng.sample(BUG_CLICKS, 3) + rng.sample(FMC_CLICKS, 2)
        rng.shuffle(clicks)
        for i, (g, x, y) in enumerate(clicks):
            lines.append(f"at {start + 0.07 * i:.2f} click {g} {x} {y}")
        lines.append(f"at {start:.2f} poke NDPassData 0 NDMode={rng.randint(0, 1)}")
        for name in ("737_ET", "737_CT", "737_ER", "737_CR", "737_DH"):
            lines.append(f"at {start:.2f} named {name} {rng.uniform(0, 5000):.3f}")
        t += RELOAD_PERIOD
        lines.append(f"at {t:.2f} reload")
    return "\n".join(lines) + "\n"


def panelhost_command(args, root, panel, out, seconds, scenario_path=None):
    cmd = [args.panelhost, "run", "--root", root, "--panel", panel, "--out", out, "--seconds", str(seconds)]
    if scenario_path:
        cmd += ["--scenario", scenario_path]
    return cmd


def run_to_end(cmd, what, log):
    with open(log, "wb") as out:
        r = subprocess.run(cmd, stdout=out, stderr=subprocess.STDOUT, timeout=120)
    if r.returncode != 0:
        raise Failure(f"{what} exited with {r.returncode} (log {log})")


def signature(path):
    try:
        st = os.stat(path)
        return (st.st_ino, st.st_size, st.st_mtime_ns)
    except FileNotFoundError:
        return None


def temporaries(root):
    return [name for name in STATE_FILES if os.path.exists(os.path.join(root, name + TEMPORARY))]


class Tally:
    def __init__(self):
        self.lock = threading.Lock()
        self.runs = 0
        self.hit = {name: 0 for name in STATE_FILES}
        self.kills_in_writes = 0
        self.finished_first = 0
        self.fresh_limits = 0
        self.failures = []


def kill_and_restart(args, run, chain, timing, tally):
    """One run: the kill, the checks after it, the restart, the checks after that."""
    rng = random.Random(args.seed * 1000003 + run)
    root, panel, work = chain["root"], chain["panel"], chain["work"]
    checker = chain["checker"]
    scenario_path = os.path.join(work, "scenario.txt")
    out, restart_out = os.path.join(work, "run"), os.path.join(work, "restart")
    # One run in four starts without the speed-limit file, so that it is created at the start.
    # Half the runs are killed after a delay anywhere in the run (in its start for those); the
    # rest pick one state file, wait after their delay for its next save to begin and are killed
    # up to 3 ms into that save.
    fresh_limits = rng.random() < 0.25
    watch = rng.random() < 0.5
    target = LIMITS_FILE if fresh_limits else rng.choice((ND_FILE, FMC_FILE, BUGS_FILE))
    # A watch begun near the end may find no further save of its file.
    delay = rng.uniform(0, timing["bare"] if fresh_limits else timing["whole"] * (0.8 if watch else 1.0))
    if fresh_limits and watch:
        delay = 0.0
    into_save = rng.uniform(0, 0.003)
    with open(scenario_path, "w") as f:
        f.write(scenario(rng, args.seconds))
    for name in temporaries(root):
        os.remove(os.path.join(root, name + TEMPORARY))
    if fresh_limits:
        os.remove(os.path.join(root, LIMITS_FILE))
    what = (f"run {run} (seed {args.seed}, delay {delay:.3f} s{', then at the next save of ' + target if watch else ''}, "
            f"scenario {scenario_path})")
    with open(os.path.join(work, "killed.log"), "wb") as log:
        proc = subprocess.Popen(panelhost_command(args, root, panel, out, args.seconds, scenario_path),
                                stdout=log, stderr=subprocess.STDOUT)
        time.sleep(delay)
        if watch:
            # A save shows as its temporary appearing or, were the file written in place, as the
            # file itself changing.
            temporary = os.path.join(root, target + TEMPORARY)
            before = signature(os.path.join(root, target))
            while proc.poll() is None and not os.path.exists(temporary) and \
                    signature(os.path.join(root, target)) == before:
                time.sleep(0.0002)
            time.sleep(into_save)
        proc.send_signal(signal.SIGKILL)
        code = proc.wait()
    landed = temporaries(root)
    after_kill = checker.check(f"{what}, after the kill")
    with tally.lock:
        tally.runs += 1
        if code != -signal.SIGKILL:
            tally.finished_first += 1
        for name in landed:
            tally.hit[name] += 1
        tally.kills_in_writes += bool(landed)
        tally.fresh_limits += fresh_limits
    if code not in (0, -signal.SIGKILL):
        raise Failure(f"{what}: exited with {code} before the kill")

    run_to_end(panelhost_command(args, root, panel, restart_out, RELOAD_PERIOD), f"{what}: the restart",
               os.path.join(work, "restart.log"))
    after_restart = checker.check(f"{what}, after the restart")
    # The restart reads every file and, without clicks, saves what it read.
    if after_kill[ND_FILE] is not None and after_restart[ND_FILE] != after_kill[ND_FILE]:
        raise Failure(f"{what}: the restart did not keep the ND selections: "
                      f"{after_kill[ND_FILE]!r} became {after_restart[ND_FILE]!r}")
    # A page that the FMC does not open at a start (the plan list, a waypoint's details) comes
    # back as the MENU page; the plan and the four switches come back as saved.
    def fmc_kept(data):
        lines = data.split(b"\n")
        return [lines[0]] + lines[3:] if len(lines) > 1 else lines

    if after_kill[FMC_FILE] is not None and fmc_kept(after_restart[FMC_FILE]) != fmc_kept(after_kill[FMC_FILE]):
        raise Failure(f"{what}: the restart did not keep the FMC's plan and switches: "
                      f"{after_kill[FMC_FILE]!r} became {after_restart[FMC_FILE]!r}")
    if after_kill[BUGS_FILE] is not None and \
            after_restart[BUGS_FILE].split(b" ")[:5] != after_kill[BUGS_FILE].split(b" ")[:5]:
        raise Failure(f"{what}: the restart did not keep the bugs: "
                      f"{after_kill[BUGS_FILE]!r} became {after_restart[BUGS_FILE]!r}")
    if after_restart[LIMITS_FILE] is None:
        raise Failure(f"{what}: the restart did not create {LIMITS_FILE}")


def run_chain(args, runs, chain, timing, tally):
    try:
        for run in runs:
            kill_and_restart(args, run, chain, timing, tally)
    except Exception as e:  # noqa: BLE001 - a chain's failure of any kind fails the test
        with tally.lock:
            tally.failures.append(f"{type(e).__name__}: {e}" if not isinstance(e, Failure) else str(e))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--panelhost", required=True)
    ap.add_argument("--work", required=True, help="work folder (emptied first)")
    ap.add_argument("--runs", type=int, default=100)
    ap.add_argument("--first-run", type=int, default=0, help="number of the first run (to repeat one)")
    ap.add_argument("--seed", type=int, default=int(os.environ.get("PANEL_KILL_SEED", "20261208")))
    ap.add_argument("--seconds", type=float, default=14.5,
                    help="simulated length of a killed run (the end more than 4 s after a reload, so "
                         "that the navigation display saves there too)")
    ap.add_argument("--jobs", type=int, default=2, help="runs at once, each on its own root")
    args = ap.parse_args()
    print(f"seed {args.seed} (--seed or PANEL_KILL_SEED to repeat), {args.runs} runs", flush=True)

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    panel = os.path.join(args.work, "panel.cfg")
    with open(panel, "w") as f:
        f.write(PANEL)
    # A fresh root from the host's own preparation: modules, navigation data and flight plans.
    setup = os.path.join(args.work, "setup")
    run_to_end([args.panelhost, "run", "--panel", panel, "--out", setup, "--seconds", "0"], "setting up the root",
               os.path.join(args.work, "setup.log"))
    limits_reference = read(os.path.join(setup, "root", LIMITS_FILE))
    if limits_reference is None or b"StallSpeedFlap40=" not in limits_reference:
        raise Failure(f"the first start did not create {LIMITS_FILE}")

    chains = []
    for n in range(max(1, args.jobs)):
        work = os.path.join(args.work, f"chain{n}")
        root = os.path.join(work, "root")
        shutil.copytree(os.path.join(setup, "root"), root, symlinks=True)
        checker = Checker(root, limits_reference)
        checker.check("after the first start")
        chains.append(dict(work=work, root=root, panel=panel, checker=checker))

    # How long a whole run and a bare start take here, so that the delays cover them.
    chain = chains[0]
    scenario_path = os.path.join(chain["work"], "scenario.txt")
    with open(scenario_path, "w") as f:
        f.write(scenario(random.Random(args.seed), args.seconds))
    begin = time.monotonic()
    run_to_end(panelhost_command(args, chain["root"], panel, os.path.join(chain["work"], "run"), args.seconds,
                                 scenario_path), "a whole run", os.path.join(args.work, "whole-run.log"))
    timing = dict(whole=time.monotonic() - begin)
    begin = time.monotonic()
    run_to_end(panelhost_command(args, chain["root"], panel, os.path.join(chain["work"], "restart"), 0),
               "a bare start", os.path.join(args.work, "start.log"))
    timing["bare"] = time.monotonic() - begin
    chain["checker"].check("after the timing runs")
    print(f"a whole run takes {timing['whole']:.2f} s, a bare start {timing['bare']:.2f} s", flush=True)

    tally = Tally()
    runs = list(range(args.first_run, args.first_run + args.runs))
    threads = [threading.Thread(target=run_chain, args=(args, runs[n::len(chains)], c, timing, tally))
               for n, c in enumerate(chains)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    print(f"{tally.runs} runs: {tally.kills_in_writes} kills while a temporary existed "
          f"({', '.join(f'{n} {c}' for n, c in tally.hit.items())}); {tally.fresh_limits} runs without a "
          f"speed-limit file; {tally.finished_first} runs finished before their kill", flush=True)
    if tally.failures:
        raise Failure("\n".join(tally.failures))
    if tally.runs != args.runs:
        raise Failure(f"only {tally.runs} of {args.runs} runs took place")
    if tally.kills_in_writes == 0:
        raise Failure("no kill landed during a write: the test proved nothing")
    print("every state file was whole after every kill and every restart")


if __name__ == "__main__":
    try:
        main()
    except (Failure, subprocess.TimeoutExpired) as e:
        print(f"FAIL: {e}", file=sys.stderr, flush=True)
        sys.exit(1)
