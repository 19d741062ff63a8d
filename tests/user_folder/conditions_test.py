#!/usr/bin/python3
"""The panel host under the conditions users meet, through the real program.

- `run --out DIR` never deletes a DIR/root it did not make.
- Two programs on one user folder: the second says which process has it, or waits with --wait;
  two first uses at once both end well.
- `view` with no display says so and changes nothing; stopped by SIGTERM or Ctrl-C on SDL's
  offscreen driver it exits 0; without a sound device one line says so, none of ALSA's.
- Clicks in a --keep-state run's first second are kept, not undone by the saved ND selections.
- In a mount namespace (skipped where none can be made): a user folder on a noexec file system
  runs the installed modules, and a module of the user's own that cannot load there fails the
  run naming it; a full disk is reported as such, naming a file in the user's folder; a state file
  that cannot be saved in a read-only folder is said once and the run exits non-zero.

Usage: conditions_test.py PANELHOST WORK_DIR [--inside]
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PANEL = os.path.join(HERE, "..", "data", "state", "panel.cfg")
ND_FILE = os.path.join("Gauges", "NDmode.tmp")


def fail(why):
    print("FAIL: " + why, flush=True)
    sys.exit(1)


def base_env(xdg):
    env = {k: v for k, v in os.environ.items() if not k.startswith("PANEL_")}
    env["XDG_DATA_HOME"] = xdg
    env["ASAN_OPTIONS"] = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS", ""), "detect_leaks=0"]))
    return env


def panelhost_run(panelhost, args, env, timeout=180):
    return subprocess.run([panelhost] + args, env=env, capture_output=True, text=True, timeout=timeout)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def read(path):
    with open(path) as f:
        return f.read()


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def wait_for(what, check, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        if check():
            return
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def foreign_root_is_kept(panelhost, work):
    out = os.path.join(work, "out-foreign")
    write(os.path.join(out, "root", "thesis.txt"), "three years of work\n")
    done = panelhost_run(panelhost, ["run", "--seconds", "1", "--out", out], base_env(os.path.join(work, "xdg0")))
    if done.returncode == 0:
        fail("a run over a DIR/root it did not make succeeded")
    if os.path.join(out, "root") not in done.stderr:
        fail("the refusal does not name the folder: " + done.stderr)
    if read(os.path.join(out, "root", "thesis.txt")) != "three years of work\n":
        fail("the folder's file is gone")
    # A root a run made is made again by the next run with the same --out.
    again = os.path.join(work, "out-again")
    shutil.rmtree(again, ignore_errors=True)
    for n in (1, 2):
        done = panelhost_run(panelhost, ["run", "--seconds", "1", "--out", again], base_env(os.path.join(work, "xdg0")))
        if done.returncode != 0:
            fail("run %d over its own root failed: %s" % (n, done.stderr))
    print("ok: a DIR/root a run did not make is refused and kept; its own is made again", flush=True)


def one_program_per_user_folder(panelhost, work):
    xdg = os.path.join(work, "xdg-lock")
    shutil.rmtree(xdg, ignore_errors=True)
    env = base_env(xdg)
    # Two first uses at once: one makes the folder, the other waits for it.
    both = [subprocess.Popen([panelhost, "run", "--keep-state", "--wait", "--seconds", "1", "--out",
                              os.path.join(work, "lock-first-%d" % n)], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, text=True) for n in (1, 2)]
    for proc in both:
        _, err = proc.communicate(timeout=180)
        if proc.returncode != 0:
            fail("two first uses at once: one exited %d: %s" % (proc.returncode, err))

    # A run in real time (it serves the browser) holds the folder.
    holder = subprocess.Popen([panelhost, "run", "--keep-state", "--seconds", "600", "--web",
                               "127.0.0.1:%d" % free_port(), "--out", os.path.join(work, "lock-holder")], env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    waiter = None
    try:
        lock = os.path.join(xdg, "cockpit-panel", "panelhost.lock")
        wait_for("the holder's lock", lambda: os.path.exists(lock) and read(lock).startswith("%d " % holder.pid))
        done = panelhost_run(panelhost, ["run", "--keep-state", "--seconds", "1", "--out",
                                         os.path.join(work, "lock-second")], env)
        if done.returncode == 0:
            fail("a second run --keep-state ran beside the first")
        said = "in use by process %d (panelhost run)" % holder.pid
        if said not in done.stderr or "--wait" not in done.stderr:
            fail("the second run does not say %r and --wait: %s" % (said, done.stderr))
        if os.path.exists(os.path.join(work, "lock-second")):
            fail("the refused run made its output folder")
        waiter = subprocess.Popen([panelhost, "run", "--keep-state", "--wait", "--seconds", "1", "--out",
                                   os.path.join(work, "lock-waiter")], env=env, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, text=True)
        time.sleep(2)
        if waiter.poll() is not None:
            fail("--wait did not wait: " + waiter.stderr.read())
        holder.send_signal(signal.SIGTERM)
        holder.communicate(timeout=60)
        _, err = waiter.communicate(timeout=180)
        if waiter.returncode != 0 or "waiting for process %d" % holder.pid not in err:
            fail("the waiting run exited %d: %s" % (waiter.returncode, err))
    finally:
        for proc in (holder, waiter):
            if proc and proc.poll() is None:
                proc.kill()
                proc.wait()
    print("ok: a second program on the user's folder is told who has it, or waits for it", flush=True)


def view_without_display(panelhost, work):
    xdg = os.path.join(work, "xdg-view")
    shutil.rmtree(xdg, ignore_errors=True)
    env = base_env(xdg)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"):
        env.pop(name, None)
    done = panelhost_run(panelhost, ["view"], env, timeout=60)
    if done.returncode == 0 or "needs a display" not in done.stderr:
        fail("view without a display exited %d: %s" % (done.returncode, done.stderr))
    if os.path.exists(os.path.join(xdg, "cockpit-panel")):
        fail("view without a display made the user's folder")
    # Asked for by name, the offscreen driver is taken; every stop of it ends well. The sound
    # device is the machine's own: without one, one line says so.
    env["SDL_VIDEODRIVER"] = "offscreen"
    output = os.path.join(xdg, "cockpit-panel", "output")
    for stop in (signal.SIGTERM, signal.SIGINT):
        proc = subprocess.Popen([panelhost, "view", "--panel", PANEL], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True)
        wait_for("the view to start", lambda: os.path.exists(os.path.join(output, "modules.log")) or
                 proc.poll() is not None)
        time.sleep(1)
        proc.send_signal(stop)
        _, err = proc.communicate(timeout=60)
        if proc.returncode != 0:
            fail("view stopped by %s exited %d: %s" % (signal.Signals(stop).name, proc.returncode, err))
        alsa = [line for line in err.splitlines() if line.startswith("ALSA lib")]
        audio = [line for line in err.splitlines() if line.startswith("audio:")]
        if alsa or len(audio) > 1:
            fail("the sound device's absence took %d lines:\n%s" % (len(alsa) + len(audio), err))
        os.remove(os.path.join(output, "modules.log"))
    print("ok: view without a display says so; SIGTERM and Ctrl-C end it cleanly", flush=True)


def early_clicks_are_kept(panelhost, work):
    xdg = os.path.join(work, "xdg-early")
    shutil.rmtree(xdg, ignore_errors=True)
    env = base_env(xdg)
    root = os.path.join(xdg, "cockpit-panel", "simulator")
    first, second = os.path.join(work, "early-1.txt"), os.path.join(work, "early-2.txt")
    write(first, "at 5 click ndmodeselect 48 40\n")   # the map mode knob
    write(second, "at 0.2 click ndmodeselect 95 40\n")  # the range knob, in the first second
    for scenario in (first, second):
        done = panelhost_run(panelhost, ["run", "--keep-state", "--panel", PANEL, "--scenario", scenario,
                                         "--seconds", "8"], env)
        if done.returncode != 0:
            fail("the --keep-state run exited %d: %s" % (done.returncode, done.stderr))
        if scenario == first:
            saved = read(os.path.join(root, ND_FILE)).split()
    now = read(os.path.join(root, ND_FILE)).split()
    if now[1] != saved[1] or now[3] == saved[3]:
        fail("after a click at 0.2 s the saved selections are %r, the first run left %r" % (now, saved))
    print("ok: a click in the first second is kept over the saved selections (%s)" % " ".join(now), flush=True)


def mounted(target, options):
    os.makedirs(target, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", target], check=True)


def noexec_folder(panelhost, work):
    xdg = os.path.join(work, "noexec")
    mounted(xdg, "noexec,size=64m")
    env = base_env(xdg)
    root = os.path.join(xdg, "cockpit-panel", "simulator")
    out = os.path.join(work, "noexec-out")
    done = panelhost_run(panelhost, ["run", "--keep-state", "--seconds", "1", "--out", out], env)
    if done.returncode != 0:
        fail("a run in a noexec user folder exited %d: %s" % (done.returncode, done.stderr))
    for line in read(os.path.join(out, "modules.log")).splitlines():
        name, loaded, word, known = line.split(" ")
        if loaded.startswith(xdg) or word != "as" or known != os.path.join(root, "Gauges", name + ".gau"):
            fail("modules.log: " + line)
    # A module of the user's own in the folder cannot run from there: the run says so and fails.
    installed = os.path.join(os.path.dirname(os.path.dirname(os.path.realpath(panelhost))), "lib", "cockpit-panel",
                             "gauges", "airspeed.gau")
    shutil.copyfile(installed, os.path.join(root, "Gauges", "myairspeed.gau"))
    panel = os.path.join(work, "mine.cfg")
    write(panel, "[Window00]\nsize=300,300\nposition=0,0\nvisible=1\nident=0\ngauge00=myairspeed!airspeed, 0, 0\n")
    done = panelhost_run(panelhost, ["run", "--keep-state", "--panel", panel, "--seconds", "1", "--out", out], env)
    if done.returncode == 0 or "myairspeed" not in done.stderr or "could not be loaded" not in done.stderr:
        fail("a module that could not load: exit %d: %s" % (done.returncode, done.stderr))
    print("ok: a noexec user folder runs the installed modules; a module that cannot load fails the run",
          flush=True)


def full_disk(panelhost, work):
    xdg = os.path.join(work, "full")
    mounted(xdg, "size=1m")
    done = panelhost_run(panelhost, ["run", "--keep-state", "--seconds", "1", "--out", os.path.join(work, "full-out")],
                         base_env(xdg))
    if done.returncode == 0:
        fail("first use on a full disk succeeded")
    said = done.stderr.strip().splitlines()[-1]
    if "No space left on device" not in said or xdg not in said:
        fail("a full disk is reported as: " + said)
    print("ok: a full disk is said as such: " + said, flush=True)


def read_only_folder(panelhost, work):
    xdg = os.path.join(work, "readonly")
    mounted(xdg, "size=64m")
    env = base_env(xdg)
    out = os.path.join(work, "readonly-out")
    done = panelhost_run(panelhost, ["run", "--keep-state", "--panel", PANEL, "--seconds", "1", "--out", out], env)
    if done.returncode != 0:
        fail("the first use exited %d: %s" % (done.returncode, done.stderr))
    subprocess.run(["mount", "-o", "remount,ro", xdg], check=True)
    scenario = os.path.join(work, "readonly.txt")
    write(scenario, "at 5 click ndmodeselect 48 40\nat 5.5 click ndmodeselect 95 40\n")
    done = panelhost_run(panelhost, ["run", "--keep-state", "--panel", PANEL, "--scenario", scenario, "--seconds", "8",
                                     "--out", out], env)
    nd = [line for line in done.stderr.splitlines() if "not saved" in line and "NDmode.tmp" in line]
    if done.returncode == 0 or len(nd) != 1 or "Read-only file system" not in nd[0]:
        fail("a state file that cannot be saved: exit %d, said %d times:\n%s" % (done.returncode, len(nd), done.stderr))
    print("ok: a read-only folder's lost state is said once and fails the run", flush=True)


def inside(panelhost, work):
    subprocess.run(["mount", "--make-rprivate", "/"], check=True)
    noexec_folder(panelhost, work)
    full_disk(panelhost, work)
    read_only_folder(panelhost, work)


def main():
    panelhost, work = os.path.realpath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if len(sys.argv) > 3 and sys.argv[3] == "--inside":
        inside(panelhost, work)
        return
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    foreign_root_is_kept(panelhost, work)
    one_program_per_user_folder(panelhost, work)
    view_without_display(panelhost, work)
    early_clicks_are_kept(panelhost, work)
    if subprocess.run(["unshare", "-m", "true"], capture_output=True).returncode != 0:
        print("SKIP: no mount namespace here: the noexec, full and read-only folders are not tried", flush=True)
        sys.exit(77)
    done = subprocess.run(["unshare", "-m", sys.executable, os.path.abspath(__file__), panelhost, work, "--inside"])
    if done.returncode != 0:
        sys.exit(done.returncode)


if __name__ == "__main__":
    main()
