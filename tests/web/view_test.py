#!/usr/bin/python3
"""`panelhost view --web`: the window and the browser server at once, under Xvfb. A click in the X
window (xdotool) and a click from a page (a WebSocket) both reach the FMC, in the order given, and
the page is sent the window's pictures meanwhile.

Usage: view_test.py PANELHOST PANEL_FILE SCENARIO WORK_DIR
"""
import os
import shutil
import socket
import struct
import subprocess
import sys
import time

FMC_WINDOW = 1
FMC_AT = (720, 0)  # the FMC window's position in the panel file, hence in the viewer's window
L1 = (16, 43)
MENU_KEY = (45, 234)


def fail(why):
    print("FAIL:", why, flush=True)
    sys.exit(1)


def wait_for(what, check, seconds=30.0):
    end = time.time() + seconds
    while time.time() < end:
        value = check()
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Page:
    """A page's WebSocket, reduced to what the test needs."""

    def __init__(self, port, window):
        self.s = socket.create_connection(("127.0.0.1", port), timeout=10)
        self.s.sendall(b"GET /ws/%d HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                       b"Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n"
                       % (window, port))
        self.buf = b""
        while b"\r\n\r\n" not in self.buf:
            self.buf += self.s.recv(4096)
        head, self.buf = self.buf.split(b"\r\n\r\n", 1)
        if b" 101 " not in head.split(b"\r\n")[0] + b" ":
            fail("the WebSocket was refused: %r" % head[:80])
        self.pictures = 0

    def send(self, text):
        data = text.encode()
        mask = b"\x01\x02\x03\x04"
        self.s.sendall(bytes([0x81, 0x80 | len(data)]) + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def read_some(self, seconds):
        """Reads what comes within the time; counts the picture messages."""
        self.s.settimeout(seconds)
        try:
            self.buf += self.s.recv(1 << 20)
        except socket.timeout:
            pass
        while len(self.buf) >= 2:
            n, at = self.buf[1] & 0x7F, 2
            if n == 126:
                if len(self.buf) < 4:
                    break
                n, at = struct.unpack(">H", self.buf[2:4])[0], 4
            elif n == 127:
                if len(self.buf) < 10:
                    break
                n, at = struct.unpack(">Q", self.buf[2:10])[0], 10
            if len(self.buf) < at + n:
                break
            if self.buf[0] & 0x0F == 2:
                self.pictures += 1
            self.buf = self.buf[at + n:]


def title(path):
    with open(path, encoding="latin-1") as f:
        for line in f:
            if line.startswith("fmcomputer 2 "):
                return line.split('"')[1].strip()
    fail(path + " has no FMC title line")


def main():
    panelhost, panel, scenario, work = sys.argv[1:5]
    os.makedirs(work, exist_ok=True)
    out = os.path.join(work, "view")
    # view keeps its state in the user's own folder; a fresh one, so every run starts from the same.
    xdg = os.path.join(work, "xdg")
    shutil.rmtree(xdg, ignore_errors=True)
    env = dict(os.environ, XDG_DATA_HOME=xdg, SDL_AUDIODRIVER="dummy")  # no sound server on a virtual screen
    port = free_port()
    log = open(out + ".log", "w")
    proc = subprocess.Popen(["xvfb-run", "-a", "-s", "-screen 0 1400x700x24", panelhost, "view", "--panel", panel,
                             "--scenario", scenario, "--web", "127.0.0.1:%d" % port, "--out", out],
                            stdout=log, stderr=subprocess.STDOUT, start_new_session=True, env=env)
    children = []
    try:
        wait_for("the server", lambda: subprocess.run(["bash", "-c", "exec 3<>/dev/tcp/127.0.0.1/%d" % port],
                                                      capture_output=True).returncode == 0)
        page = Page(port, FMC_WINDOW)
        wait_for("the page's first picture", lambda: page.read_some(0.2) or page.pictures > 0)
        xenv = dict(os.environ)
        # xvfb-run's display and its key: the child panelhost's environment holds them.
        children = subprocess.run(["pgrep", "-f", "-s", str(proc.pid), "panelhost view"], capture_output=True,
                                  text=True).stdout.split()
        for pid in children:
            try:
                env = open("/proc/%s/environ" % pid, "rb").read().split(b"\0")
            except OSError:
                continue
            for e in env:
                for name in (b"DISPLAY", b"XAUTHORITY"):
                    if e.startswith(name + b"="):
                        xenv[name.decode()] = e[len(name) + 1:].decode()
        if "DISPLAY" not in xenv:
            fail("no X display found for the viewer")
        window = wait_for("the viewer's window", lambda: subprocess.run(
            ["xdotool", "search", "--name", "Cockpit panel"], env=xenv, capture_output=True, text=True).stdout.split())
        subprocess.run(["xdotool", "mousemove", "--window", window[0], str(FMC_AT[0] + L1[0]), str(FMC_AT[1] + L1[1]),
                        "click", "1"], env=xenv, check=True)
        before = page.pictures
        wait_for("the window's click to reach the page", lambda: page.read_some(0.2) or page.pictures > before)
        wait_for("the first dump", lambda: os.path.exists(os.path.join(out, "window-click-strings.txt")), 30)
        if not title(os.path.join(out, "window-click-strings.txt")).startswith("LOAD A FLIGHT PLAN"):
            fail("the click in the window did not bring the LOAD page")
        page.send("press %d %d" % MENU_KEY)
        page.send("release")
        wait_for("the second dump", lambda: page.read_some(0.2) or os.path.exists(
            os.path.join(out, "page-click-strings.txt")), 30)
        if not title(os.path.join(out, "page-click-strings.txt")).startswith("MENU"):
            fail("the click from the page did not bring the MENU page")
        print("clicks from the window and from a page both reached the FMC", flush=True)
    finally:
        # The viewer first, so it closes its window and writes its files while X is still there.
        for pid in children:
            subprocess.run(["kill", "-TERM", pid])
        time.sleep(2)
        os.killpg(proc.pid, 15)
        proc.wait(timeout=30)
        log.close()
    print("ok")


if __name__ == "__main__":
    main()
