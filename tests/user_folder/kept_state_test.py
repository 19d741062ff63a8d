#!/usr/bin/python3
"""The user's own simulator folder keeps the modules' state from one run to the next.

A first run, `panelhost view` under Xvfb with no --root and no --out, makes the folder under
XDG_DATA_HOME, and its scenario changes the ND selections, loads a flight plan on the FMC and moves
the airspeed bugs; the viewer is then closed as a window manager closes it. A second run,
`panelhost run --keep-state`, must find all three as the first left them: the ND block and the
FMC's published plan and page in its dump, and the same state files written back at its end.

Beside that: a run without --keep-state leaves the folder alone (its state is the defaults that
show the clicks took effect); the modules run from where they are installed, known as the
folder's Gauges/ files, and a damaged module copy left there by an earlier version is replaced by
the installed one; a shipped plan the user deleted stays deleted.

Usage: kept_state_test.py PANELHOST WORK_DIR
"""

import os
import shutil
import subprocess
import sys
import time

# The gauges that keep state files, shared with the kill test.
PANEL = open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "state", "panel.cfg")).read()

# The navigation display takes up the selections after its 4-second start-up delay. Clicks in
# each gauge's own pixels: the ND switch, the map mode and range knobs, bug 1 and bug 3 up, then
# MENU and the first line key twice (the plan list, then its first plan).
CHANGES = """at 5 click Lumiscope-Brightline-NDSW 20 35
at 5.2 click ndmodeselect 48 40
at 5.4 click ndmodeselect 95 40
at 5.6 click ndmodeselect 95 40
at 5.8 click airspeed 180 10
at 6.0 click airspeed 180 10
at 6.2 click airspeed 180 90
at 6.4 click fmcomputer 45 234
at 6.8 click fmcomputer 16 43
at 7.2 click fmcomputer 16 43
at 9 dump first
"""
LOOK = "at 8 dump second\n"
QUIET = "at 8 dump fresh\n"

ND_FILE = "Gauges/NDmode.tmp"
FMC_FILE = "Gauges/fp.tmp"
BUGS_FILE = "737aspdbugs.txt"
STATE_FILES = (ND_FILE, FMC_FILE, BUGS_FILE)


def fail(why):
    print("FAIL: " + why, flush=True)
    sys.exit(1)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def state(root):
    return {name: read(os.path.join(root, name)) for name in STATE_FILES}


def dump_lines(path, name):
    """The lines of a dump file whose first word (a block's or a module's name) begins with name."""
    with open(path, encoding="latin-1") as f:
        return [line for line in f.read().splitlines() if line.split(" ", 1)[0].startswith(name)]


def run(cmd, env, what):
    done = subprocess.run(cmd, env=env, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        fail("%s exited %d:\n%s" % (what, done.returncode, done.stderr))
    return done


def program_of(pid):
    """The program a process runs, or None when it has ended meanwhile (xvfb-run's helpers come and go)."""
    try:
        return os.path.realpath(os.readlink("/proc/%s/exe" % pid))
    except OSError:
        return None


def wait_for(what, check, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        if check():
            return
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def view_first(panelhost, panel, scenario, env, output):
    """Runs `panelhost view` under Xvfb until its dump is written, then closes it with SIGTERM,
    which SDL turns into the window's close, so the run ends as a closed window ends it."""
    proc = subprocess.Popen(["xvfb-run", "-a", "-s", "-screen 0 1000x600x24", panelhost, "view", "--panel", panel,
                             "--scenario", scenario], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True, text=True)
    try:
        wait_for("the viewer's dump", lambda: os.path.exists(os.path.join(output, "first-areas.txt"))
                 or proc.poll() is not None)
        if proc.poll() is not None:
            fail("view ended early:\n" + proc.stdout.read())
        # panelhost itself, not xvfb-run, whose command line names it too.
        candidates = subprocess.run(["pgrep", "-s", str(proc.pid)], capture_output=True, text=True).stdout.split()
        viewers = [pid for pid in candidates if program_of(pid) == os.path.realpath(panelhost)]
        if not viewers:
            fail("no viewer process found")
        for pid in viewers:
            os.kill(int(pid), 15)
        out, _ = proc.communicate(timeout=60)
    except BaseException:
        os.killpg(proc.pid, 9)
        raise
    if proc.returncode != 0:
        fail("view exited %d:\n%s" % (proc.returncode, out))


def main():
    panelhost, work = sys.argv[1:3]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    xdg = os.path.join(work, "xdg")
    user = os.path.join(xdg, "cockpit-panel")
    root = os.path.join(user, "simulator")
    output = os.path.join(user, "output")
    env = {k: v for k, v in os.environ.items() if not k.startswith("PANEL_")}
    env["XDG_DATA_HOME"] = xdg
    # view opens a real sound device: with no sound server on a virtual screen, the dummy one.
    env["SDL_AUDIODRIVER"] = "dummy"
    # In the sanitizer build, SDL's video leaves dbus connections and the memory of libraries it
    # loads and unloads at run time (no names left to suppress them by) at exit: the leak check is
    # off for this test's runs; every other check of the sanitizers stays.
    env["ASAN_OPTIONS"] = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS", ""), "detect_leaks=0"]))
    files = {}
    for name, text in (("panel.cfg", PANEL), ("changes.txt", CHANGES), ("look.txt", LOOK), ("quiet.txt", QUIET)):
        files[name] = os.path.join(work, name)
        with open(files[name], "w") as f:
            f.write(text)

    # A fresh root under --out, as run makes by default: the defaults, and no user folder.
    fresh_out = os.path.join(work, "fresh")
    run([panelhost, "run", "--panel", files["panel.cfg"], "--scenario", files["quiet.txt"], "--seconds", "9",
         "--out", fresh_out], env, "the run on a fresh root")
    if os.path.exists(user):
        fail("a run without --keep-state made the user's folder")
    defaults = state(os.path.join(fresh_out, "root"))

    view_first(panelhost, files["panel.cfg"], files["changes.txt"], env, output)
    for sub in ("Gauges", "NavData/idx.dat", "NavData/FlightPlans/KSFO-KLAX.pln", "Sound/talkup.wav",
                "FS2002.cfg"):
        if not os.path.exists(os.path.join(root, sub)):
            fail("the user's folder was made without " + sub)
    first = state(root)
    for name in STATE_FILES:
        if first[name] == defaults[name]:
            fail("%s after the clicks is the default %r" % (name, first[name]))
    if not first[FMC_FILE].split(b"\n")[0].endswith(b".pln"):
        fail("the FMC saved no plan: %r" % first[FMC_FILE])
    first_dump = {f: os.path.join(output, "first-%s.txt" % f) for f in ("blocks", "strings")}

    if [n for n in os.listdir(os.path.join(root, "Gauges")) if n.endswith(".gau")]:
        fail("the user's folder was given copies of the installed modules")
    # The user's changes to the folder: a module copy an earlier version made, damaged (as by a
    # crash while copying), a plan deleted.
    installed_airspeed = os.path.join(os.path.dirname(os.path.dirname(os.path.realpath(panelhost))), "lib",
                                      "cockpit-panel", "gauges", "airspeed.gau")
    with open(installed_airspeed, "rb") as f:
        damaged = f.read(100)
    with open(os.path.join(root, "Gauges", "airspeed.gau"), "wb") as f:
        f.write(damaged)
    os.remove(os.path.join(root, "NavData", "FlightPlans", "YSSY-YMML.pln"))

    run([panelhost, "run", "--keep-state", "--panel", files["panel.cfg"], "--scenario", files["look.txt"],
         "--seconds", "9"], env, "the second run")
    second_blocks = os.path.join(output, "second-blocks.txt")
    # The FMC publishes its plan in one of two blocks, fltplanMap0 or fltplanMap1.
    for block in ("NDPassData", "fltplanMap"):
        was, now = dump_lines(first_dump["blocks"], block), dump_lines(second_blocks, block)
        if not was or was != now:
            fail("block %s: the second run has %r, the first left %r" % (block, now, was))
    was = dump_lines(first_dump["strings"], "fmcomputer")
    now = dump_lines(os.path.join(output, "second-strings.txt"), "fmcomputer")
    if was != now:
        fail("the FMC's screen: the second run shows %r, the first left %r" % (now, was))
    second = state(root)
    for name in STATE_FILES:
        if second[name] != first[name]:
            fail("%s: the second run wrote %r, the first %r" % (name, second[name], first[name]))

    modules = os.path.join(output, "modules.log")
    with open(modules) as f:
        lines = f.read().splitlines()
    if len(lines) != 6:
        fail("modules.log lists %d modules, the panel has 6:\n%s" % (len(lines), "\n".join(lines)))
    for line in lines:
        words = line.split(" ")
        if (len(words) != 4 or words[2] != "as" or words[3] != os.path.join(root, "Gauges", words[0] + ".gau")
                or os.path.realpath(words[1]) != os.path.realpath(os.path.join(os.path.dirname(installed_airspeed),
                                                                               words[0] + ".gau"))):
            fail("modules.log: %s is not the installed module, known as the user's folder's" % line)
    if os.path.exists(os.path.join(root, "NavData", "FlightPlans", "YSSY-YMML.pln")):
        fail("a shipped plan the user deleted came back")
    print("ok: the ND selections, the FMC's plan and page and the bugs survived view and run --keep-state")


if __name__ == "__main__":
    main()
