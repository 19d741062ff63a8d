#!/usr/bin/python3
"""Boards and scripts against the real host: `panelhost run --io` on the panel of screens.

  - a client clicks the FMC's LOAD key (L1) and reads the page's new title from its watch;
  - a held press on the airspeed indicator's speed knob repeats until released, and stops when the
    client that held it leaves;
  - a watch of the gear's nose light follows the aircraft as the gear goes down (the gear lever's
    key event sent by name), with the lever's variable watched by name;
  - hostile clients (garbage, long lines, thousands of watches, a reader that never reads) are
    closed alone while a good client keeps working;
  - with --io-token, the first line must be the token;
  - `panelhost --list-controls` lists the devices connected (none, or each with its buttons and axes).

Usage: io_test.py PANELHOST PANEL_FILE WORK_DIR
"""
import os
import re
import shutil
import socket
import subprocess
import sys
import time

FMC_WINDOW = 1
L1 = (16, 43)  # the FMC's first left line key, in window pixels
SPEED_UP = (20, 190)  # the airspeed indicator's speed knob (up) in window 0's pixels


def fail(why):
    print("FAIL:", why, flush=True)
    sys.exit(1)


class Host:
    def __init__(self, panelhost, panel, work, name, extra=()):
        out = os.path.join(work, name)
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        scenario = os.path.join(out, "airborne.txt")
        with open(scenario, "w") as f:
            # In the air with the gear up, so the lever's event lowers it.
            f.write("at 0 aircraft lat=37.7 lon=-122.6 alt-ft=4000 ias=200 hdg=100 on-ground=0 gear=up throttle=0.6\n")
        self.proc = subprocess.Popen(
            [panelhost, "run", "--io", "0", "--panel", panel, "--scenario", scenario, "--seconds", "120",
             "--out", out, *extra],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.port = None
        end = time.time() + 60
        while time.time() < end and self.port is None:
            line = self.proc.stdout.readline()
            if not line:
                fail("panelhost ended before listening")
            m = re.match(r"line protocol at 127\.0\.0\.1:(\d+)", line)
            if m:
                self.port = int(m.group(1))
        if self.port is None:
            fail("no line protocol address printed")

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=60)


class Client:
    def __init__(self, port, rcvbuf=None):
        self.sock = socket.socket()
        if rcvbuf:
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, rcvbuf)
        self.sock.connect(("127.0.0.1", port))
        self.buffer = b""
        self.closed = False

    def send(self, text):
        self.sock.sendall(text.encode() if isinstance(text, str) else text)

    def lines(self, wait=0.0):
        """Every line that arrived so far (waiting up to `wait` seconds for more)."""
        self.sock.settimeout(max(wait, 0.001))
        try:
            while True:
                data = self.sock.recv(65536)
                if not data:
                    self.closed = True
                    break
                self.buffer += data
                self.sock.settimeout(0.001)
        except (socket.timeout, BlockingIOError):
            pass
        except ConnectionResetError:
            self.closed = True
        return self.buffer.decode(errors="replace").splitlines()

    def wait_for(self, pattern, seconds=20.0):
        end = time.time() + seconds
        while time.time() < end:
            for line in self.lines(0.1):
                m = re.fullmatch(pattern, line)
                if m:
                    return m
            if self.closed:
                break
        fail("no line %r; got %r" % (pattern, self.lines()[-5:]))

    def values(self, label):
        prefix = "value " + label + " "
        return [line[len(prefix):] for line in self.lines() if line.startswith(prefix)]

    def wait_closed(self, seconds=20.0):
        end = time.time() + seconds
        while time.time() < end and not self.closed:
            self.lines(0.1)
        if not self.closed:
            fail("the host did not close a hostile client")

    def close(self):
        self.sock.close()


def fmc_and_gear(host):
    c = Client(host.port)
    c.send("windows\n")
    c.wait_for(r'window 1 "FMC" 282 280')
    c.send("watch fmcomputer 2\n")
    c.wait_for(r'value fmcomputer 2 "\s+MENU.*"')
    c.send("click %d %d %d\n" % (FMC_WINDOW, *L1))
    c.wait_for(r'value fmcomputer 2 "\s+LOAD A FLIGHT PLAN.*"')

    c.send("watch geartalk 2\nwatch token gear_lever\n")
    c.wait_for(r"value token gear_lever 0")
    c.wait_for(r"value geartalk 2 1")  # up
    c.send("event gear_toggle\n")
    c.wait_for(r"value token gear_lever 16383")
    c.wait_for(r"value geartalk 2 0", seconds=40)  # down and locked
    seen = c.values("geartalk 2")
    if "2" not in seen:
        fail("the nose light was never in transit on its way down: %r" % seen)
    c.send("event no_such_event\nwatch geartalk 99\n")
    c.wait_for(r"error unknown event no_such_event")
    c.wait_for(r"error no element 99 of a gauge geartalk")
    c.close()


def held_press(host):
    c = Client(host.port)
    c.send("watch token ap_speed\n")
    first = float(c.wait_for(r"value token ap_speed (\S+)").group(1))
    c.send("press 0 %d %d\n" % SPEED_UP)
    time.sleep(1.5)
    c.send("release\n")
    time.sleep(0.5)
    held = float(c.values("token ap_speed")[-1])
    # 18 repeats a second for 1.5 s, less what the clock and the load take.
    if held - first < 8:
        fail("a held press did not repeat: %g to %g" % (first, held))
    time.sleep(1.0)
    if float(c.values("token ap_speed")[-1]) != held:
        fail("the speed went on after the release")

    # A client that leaves holding the knob lets go of it.
    d = Client(host.port)
    d.send("press 0 %d %d\n" % SPEED_UP)
    time.sleep(0.5)
    d.close()
    time.sleep(0.5)
    left = float(c.values("token ap_speed")[-1])
    if left <= held:
        fail("the second client's press did nothing")
    time.sleep(1.0)
    if float(c.values("token ap_speed")[-1]) != left:
        fail("the press went on after its client left")
    c.close()


def hostile_clients(host):
    good = Client(host.port)
    good.send("watch token ap_speed\n")
    good.wait_for(r"value token ap_speed \S+")
    long_line = Client(host.port)
    long_line.send("click " + "1" * 400 + "\n")
    garbage = Client(host.port)
    garbage.send(bytes(range(256)) * 4)
    floods = Client(host.port)
    floods.send("".join("watch token %d\n" % i for i in range(3000)))
    slow = Client(host.port, rcvbuf=4096)
    slow.send("".join("watch token %d\n" % i for i in range(200)))  # answers it never reads
    words = Client(host.port)
    words.send("".join("hello %d\n" % i for i in range(100)))
    for c in (long_line, garbage, floods, words):
        c.wait_closed()
    if not any("error line longer than 256 bytes" in l for l in long_line.lines()):
        fail("the long line was not named")
    if not any("more than 256 watches" in l for l in floods.lines()):
        fail("the flood of watches was not named")
    # The good client still clicks and reads while the slow one's answers pile up.
    before = float(good.values("token ap_speed")[-1])
    for _ in range(3):
        good.send("click 0 %d %d\n" % SPEED_UP)
    good.wait_for(r"value token ap_speed %g" % (before + 3))
    slow.close()
    good.close()


def token(panelhost, panel, work):
    host = Host(panelhost, panel, work, "token", ["--io-token", "s3cret"])
    try:
        wrong = Client(host.port)
        wrong.send("windows\n")
        wrong.wait_closed()
        right = Client(host.port)
        right.send("token s3cret\nwindows\n")
        right.wait_for(r'window 1 "FMC" 282 280')
        right.close()
    finally:
        host.stop()


def list_controls(panelhost):
    done = subprocess.run([panelhost, "--list-controls"], capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        fail("--list-controls ended with %d: %s" % (done.returncode, done.stderr))
    lines = done.stdout.splitlines()
    device = re.compile(r'\d+ ".*": \d+ buttons \(0 to \d+\), \d+ axes \(0 to \d+\)(, \d+ hats)?')
    if lines != ["no joysticks, button boxes or game controllers are connected"] and not all(
            device.fullmatch(l) for l in lines):
        fail("--list-controls printed %r" % lines)


def main():
    panelhost, panel, work = sys.argv[1:4]
    list_controls(panelhost)
    os.makedirs(work, exist_ok=True)
    host = Host(panelhost, panel, work, "run")
    try:
        fmc_and_gear(host)
        held_press(host)
        hostile_clients(host)
    finally:
        host.stop()
    if host.proc.returncode != 0:
        fail("panelhost ended with %d" % host.proc.returncode)
    token(panelhost, panel, work)
    print("line protocol: all checks passed")


if __name__ == "__main__":
    main()
