#!/usr/bin/python3
"""Every example of the manual pages and of the README's install section does what it says.

The commands are taken from the pages' EXAMPLES sections (packaging/man/*.h2m) and from the
README's "Install" section as a user would copy them, and run against the build tree, which is
laid out as the installed prefix: /usr/share/cockpit-panel becomes the build tree's
share/cockpit-panel and the programs come from its bin/. A user's home is made for them with what
the examples name there: an X-Plane 12 folder (the shipped world data in X-Plane 12's folders)
and FlightGear's data folder as Debian installs it (the shipped data is FlightGear's own). /tmp/
becomes a folder of the test's, and the browser example's port a free one.

A `view` example runs under Xvfb until its panel is up (modules.log written), is closed as a
window manager closes it (SIGTERM) and must exit 0; every other example must exit 0 by itself
(a run whose scenario lands exits 1 when the landing does not happen). Each example's own claim is
checked after it: the demo flight stopped on its runway, the X-Plane folder became the user's
navigation data, a plan or database or picture was written where the example says.

Usage: manual_examples_test.py BUILD_DIR SOURCE_DIR WORK_DIR
"""

import glob
import gzip
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "user_folder"))
from kept_state_test import fail, wait_for  # noqa: E402  (the user folder's test runs view alike)


def roff_text(line):
    """The text a reader of the manual page sees (and types) for a line of roff."""
    text = line.replace("\\-", "-").replace("\\e", "\x00").replace("\\ ", " ")
    text = re.sub(r"\\f[BIRP]", "", text)
    return text.replace("\x00", "\\")


def page_examples(h2m):
    """The commands of the page's EXAMPLES section: each .B line after a .TP."""
    examples, in_examples, lines = [], False, open(h2m).read().splitlines()
    for i, line in enumerate(lines):
        if line.startswith("["):
            in_examples = line.strip() == "[EXAMPLES]"
        elif in_examples and line.startswith(".B ") and i > 0 and lines[i - 1] == ".TP":
            examples.append(roff_text(line[3:]))
    return examples


def readme_examples(readme):
    """The commands of the Install section's code blocks that run the programs (not cpack, apt-get
    or man, which need a root or a terminal), with continued lines joined and comments dropped."""
    section = readme.split("\n## Install\n", 1)[1].split("\n## ", 1)[0]
    block = "\n".join(line[4:] for line in section.splitlines() if line.startswith("    "))
    commands = []
    for command in block.replace("\\\n", " ").splitlines():
        command = re.sub(r"\s+#.*$", "", command).strip()
        command = re.sub(r"\s+", " ", command)
        if command.split(" ")[0] in ("panelhost", "routeplan", "navimport", "artwork"):
            commands.append(command)
    return commands


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Home:
    """The user's home, /tmp and the environment the examples run in."""

    def __init__(self, build, source, work):
        self.build, self.work = build, work
        self.home = os.path.join(work, "home")
        self.tmp = os.path.join(work, "tmp")
        self.flightgear = os.path.join(work, "flightgear")
        self.user = os.path.join(self.home, ".local", "share", "cockpit-panel")
        os.makedirs(self.tmp)
        navdata = os.path.join(source, "data", "navdata")
        # X-Plane 12's folders, holding the shipped data as plain files, as X-Plane keeps them.
        xplane = os.path.join(self.home, "X-Plane 12")
        for name, folder in (("nav", "Resources/default data"), ("fix", "Resources/default data"),
                             ("awy", "Resources/default data"), ("apt", "Global Scenery/Global Airports/Earth nav data")):
            os.makedirs(os.path.join(xplane, folder), exist_ok=True)
            target = os.path.join(xplane, folder, "apt.dat" if name == "apt" else "earth_%s.dat" % name)
            with gzip.open(os.path.join(navdata, name + ".dat.gz")) as f, open(target, "wb") as out:
                shutil.copyfileobj(f, out)
        for name, folder in (("nav", "Navaids"), ("fix", "Navaids"), ("awy", "Navaids"), ("apt", "Airports")):
            os.makedirs(os.path.join(self.flightgear, folder), exist_ok=True)
            os.symlink(os.path.join(navdata, name + ".dat.gz"), os.path.join(self.flightgear, folder, name + ".dat.gz"))
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("PANEL_") and k != "XDG_DATA_HOME"}
        self.env.update(HOME=self.home, PATH=os.path.join(build, "bin") + ":" + os.environ["PATH"],
                        SDL_AUDIODRIVER="dummy")
        # SDL's video leaves memory of the libraries it loads at run time in the sanitizer build.
        self.env["ASAN_OPTIONS"] = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS", ""), "detect_leaks=0"]))
        self.port = free_port()

    def localised(self, command):
        """The example as it runs here: installed paths to the build tree's, /tmp to the test's."""
        places = {"/usr/share/games/flightgear": self.flightgear, "/tmp/": self.tmp + "/",
                  "/usr/share/cockpit-panel": os.path.join(self.build, "share", "cockpit-panel")}
        command = re.sub("|".join(map(re.escape, places)), lambda m: places[m.group(0)], command)
        return re.sub(r"--web (\S*:)?8080\b", lambda m: "--web %s%d" % (m.group(1) or "", self.port), command)


def program_of(pid):
    """The program a process runs, or None when it has ended meanwhile (xvfb-run's helpers come and go)."""
    try:
        return os.path.realpath(os.readlink("/proc/%s/exe" % pid))
    except OSError:
        return None


def run_view(home, command):
    """A view example under Xvfb: up with its panel, then closed; its output, or a failure."""
    log = os.path.join(home.user, "output", "modules.log")
    if os.path.exists(log):
        os.remove(log)
    proc = subprocess.Popen(["xvfb-run", "-a", "-s", "-screen 0 1200x800x24", "bash", "-c", command], cwd=home.work,
                            env=home.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            start_new_session=True)
    try:
        wait_for("the panel of '%s'" % command, lambda: os.path.exists(log) or proc.poll() is not None, 120)
        if proc.poll() is not None:
            fail("'%s' ended before its panel was up (exit %d):\n%s" % (command, proc.returncode, proc.stdout.read()))
        time.sleep(1)
        if "--web" in command:
            token = re.search(r"--web-token (\S+)", command)
            url = "http://127.0.0.1:%d/%s" % (home.port, "?token=" + token.group(1) if token else "")
            with urllib.request.urlopen(url, timeout=10) as page:
                if page.status != 200 or b"<html" not in page.read().lower():
                    fail("'%s' serves no index page at %s" % (command, url))
        panelhost = os.path.join(home.build, "bin", "panelhost")
        viewers = [pid for pid in subprocess.run(["pgrep", "-s", str(proc.pid)], capture_output=True,
                                                 text=True).stdout.split()
                   if program_of(pid) == os.path.realpath(panelhost)]
        if not viewers:
            fail("no viewer process for '%s'" % command)
        for pid in viewers:
            os.kill(int(pid), signal.SIGTERM)
        out, _ = proc.communicate(timeout=60)
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        raise
    if proc.returncode != 0:
        fail("'%s' exited %d when closed:\n%s" % (command, proc.returncode, out))
    return out


def run_plain(home, command):
    proc = subprocess.run(["bash", "-c", command], cwd=home.work, env=home.env, capture_output=True, text=True,
                          timeout=240)
    if proc.returncode != 0:
        fail("'%s' exited %d:\n%s%s" % (command, proc.returncode, proc.stdout[-3000:], proc.stderr[-3000:]))
    return proc.stdout + proc.stderr


def check_claim(home, example, out):
    """What the example's text promises, beyond its exit status."""
    words = example.split()
    if words[:2] == ["panelhost", "run"] and "demo.txt" in example:
        landing = open(os.path.join(home.tmp, "demo", "landing.txt")).read()
        if "KLAX" not in landing or "stopped" not in landing:
            fail("the demo flight did not stop at Los Angeles:\n" + landing)
    if words[:2] == ["panelhost", "view"] and "--navdata" in words:
        kept = open(os.path.join(home.user, "navdata.txt")).read()
        if "X-Plane 12" not in kept:
            fail("'%s' did not keep the X-Plane folder as the user's navigation data: %s" % (example, kept))
    if words[0] == "navimport":
        out_dir = home.localised(words[-1]).replace("~", home.home, 1)
        if not os.path.getsize(os.path.join(out_dir, "idx.dat")):
            fail("'%s' wrote no database" % example)
    if words[0] == "routeplan":
        plan = home.localised(words[words.index("--out") + 1]).replace("~", home.home, 1)
        plan = plan if os.path.isabs(plan) else os.path.join(home.work, plan)
        if "KLAX" not in open(plan).read():
            fail("'%s' wrote no plan to Los Angeles" % example)
    if words[0] == "artwork":
        picture = os.path.join(home.work, words[-1])
        if open(picture, "rb").read(8) != b"\x89PNG\r\n\x1a\n":
            fail("'%s' wrote no PNG" % example)


def main():
    build, source, work = (os.path.abspath(a) for a in sys.argv[1:4])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    home = Home(build, source, work)
    examples = []
    # panelhost's first: its view makes the user's folder that routeplan's example writes into.
    for program in ("panelhost", "navimport", "routeplan", "artwork"):
        found = page_examples(os.path.join(source, "packaging", "man", program + ".h2m"))
        if not found:
            fail("the manual page of %s has no examples" % program)
        examples += found
    readme = readme_examples(open(os.path.join(source, "README.md")).read())
    if not any(c.startswith("panelhost run") for c in readme):
        fail("the README's Install section shows no run of the demo")
    examples += [c for c in readme if c not in examples]
    for example in examples:
        command = home.localised(example)
        start = time.time()
        out = run_view(home, command) if example.startswith("panelhost view") else run_plain(home, command)
        check_claim(home, example, out)
        print("ok (%4.1f s): %s" % (time.time() - start, example))
    print("ok: the %d examples of the manual pages and the README ran" % len(examples))


if __name__ == "__main__":
    main()
