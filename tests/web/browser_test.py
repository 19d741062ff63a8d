#!/usr/bin/python3
"""The panel in a real browser: headless Chromium driven by Selenium against `panelhost run --web`.

  - the FMC window's page shows exactly the host's own snapshot of that window;
  - L1 clicked in one browser brings up the LOAD page in both browsers (one a desktop's, one a
    phone's) and in the host's dump;
  - the page shows that it is disconnected when the host stops, and reconnects by itself when a
    new host serves the same port;
  - garbage, oversized and hostile messages on raw sockets close only their own connection: the
    pages keep following the panel and clicks still work;
  - with --web-token, pages, pictures and the WebSocket need the token.

Usage: browser_test.py PANELHOST PANEL_FILE SCENARIO WORK_DIR
"""
import base64
import io
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import time
import urllib.error
import urllib.request

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FMC_WINDOW = 1
L1 = (16, 43)  # the FMC's first left line key, in window pixels
# The page title line as the host's strings dump shows it.
MENU_TITLE = 'fmcomputer 2 "             MENU '
LOAD_TITLE = 'fmcomputer 2 "      LOAD A FLIGHT PLAN'


def fail(why):
    print("FAIL:", why, flush=True)
    sys.exit(1)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, check, seconds=30.0, step=0.1):
    end = time.time() + seconds
    while time.time() < end:
        value = check()
        if value:
            return value
        time.sleep(step)
    fail("timed out waiting for " + what)


class Host:
    """One panelhost run serving the browser."""

    def __init__(self, panelhost, panel, scenario, out, port, seconds=120, token=None):
        self.out = out
        args = [panelhost, "run", "--panel", panel, "--out", out, "--seconds", str(seconds),
                "--web", "127.0.0.1:%d" % port]
        if scenario:
            args += ["--scenario", scenario]
        if token:
            args += ["--web-token", token]
        self.log = open(out + ".log", "w")
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=self.log, text=True)
        self.url = self.proc.stdout.readline().strip().split(": ", 1)[-1]
        if not self.url.startswith("http://"):
            fail("panelhost did not print the page address: %r (log %s.log)" % (self.url, out))

    def alive(self):
        return self.proc.poll() is None

    def stop(self):
        self.proc.send_signal(signal.SIGTERM)
        if self.proc.wait(timeout=60) != 0:
            fail("panelhost exited with %d after a stop request" % self.proc.returncode)
        self.log.close()


def browser(phone=False):
    """Headless Chromium; as a phone, a narrow touch screen of three device pixels to the CSS pixel."""
    o = webdriver.ChromeOptions()
    if phone:
        o.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 3.0, "touch": True},
            "userAgent": "Mozilla/5.0 (Linux; Android 14; Pixel 8) Mobile"})
    o.binary_location = "/usr/bin/chromium"
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
              "--window-size=700,700", "--no-first-run", "--disable-background-networking",
              "--disable-component-update", "--disable-sync", "--force-color-profile=srgb"]:
        o.add_argument(a)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)


def page_state(d):
    return d.execute_script(
        "const c = document.getElementById('panel');"
        "return [Number(c.dataset.frames), document.body.dataset.state, document.getElementById('status').hidden];")


def canvas(d):
    url = d.execute_script("return document.getElementById('panel').toDataURL('image/png')")
    return Image.open(io.BytesIO(base64.b64decode(url.split(",", 1)[1]))).convert("RGB")


def differing_pixels(a, b):
    if a.size != b.size:
        return a.size[0] * a.size[1]
    return sum(1 for p in ImageChops.difference(a, b).getdata() if p != (0, 0, 0))


def click(d, x, y, touch=False):
    """A real left click (or a tap) at window pixel (x, y): input events through the browser's own
    input pipeline, as a mouse or a finger gives them."""
    r = d.execute_script(
        "const r = document.getElementById('panel').getBoundingClientRect();"
        "const c = document.getElementById('panel'); return [r.left, r.top, r.width / c.width, r.height / c.height];")
    px, py = r[0] + (x + 0.5) * r[2], r[1] + (y + 0.5) * r[3]
    if touch:
        d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [{"x": px, "y": py}]})
        d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        return
    for kind in ("mousePressed", "mouseReleased"):
        d.execute_cdp_cmd("Input.dispatchMouseEvent",
                          {"type": kind, "x": px, "y": py, "button": "left", "buttons": 1, "clickCount": 1})


def strings(path):
    with open(path, encoding="latin-1") as f:
        return [line.rstrip("\n") for line in f if line.startswith("fmcomputer ")]


def ws_handshake(port, path, extra=b""):
    s = socket.create_connection(("127.0.0.1", port), timeout=5)
    s.sendall(b"GET " + path.encode() + b" HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nUpgrade: websocket\r\n"
              b"Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
              b"Sec-WebSocket-Version: 13\r\n" % port + extra + b"\r\n")
    answer = b""
    while b"\r\n\r\n" not in answer:
        chunk = s.recv(4096)
        if not chunk:
            break
        answer += chunk
    return s, answer.split(b"\r\n", 1)[0]


def ws_frame(opcode, payload, fin=True, declared=None):
    """A masked client frame; `declared` overrides the length the header claims."""
    n = len(payload) if declared is None else declared
    head = bytes([(0x80 if fin else 0) | opcode])
    if n < 126:
        head += bytes([0x80 | n])
    elif n < 65536:
        head += bytes([0x80 | 126]) + struct.pack(">H", n)
    else:
        head += bytes([0x80 | 127]) + struct.pack(">Q", n)
    mask = b"\x11\x22\x33\x44"
    return head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload))


def closed_by_server(s, seconds=5):
    """True when the server ends the connection (a close frame or the socket closed)."""
    s.settimeout(seconds)
    try:
        while True:
            data = s.recv(65536)
            if not data:
                return True
            if data[0] & 0x0F == 0x8:
                return True
    except (ConnectionResetError, BrokenPipeError):
        return True
    except socket.timeout:
        return False
    finally:
        s.close()


def hostile_clients(port):
    # Not HTTP at all.
    s = socket.create_connection(("127.0.0.1", port), timeout=5)
    s.sendall(os.urandom(3000) + b"\r\n\r\n")
    s.close()
    # A request header beyond any page's.
    s = socket.create_connection(("127.0.0.1", port), timeout=5)
    try:
        s.sendall(b"GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + b"a" * 100000 + b"\r\n\r\n")
    except OSError:
        pass
    s.close()
    # WebSockets that misbehave: each must be closed by the server.
    bad = {
        "garbage text": ws_frame(0x1, b"launch the missiles 1 2 3"),
        "press off the message form": ws_frame(0x1, b"press -1 99999999"),
        "binary data": ws_frame(0x2, os.urandom(200)),
        "an oversized message": ws_frame(0x1, b"press " + b"9" * 70000),
        "a fragment": ws_frame(0x1, b"press 1", fin=False),
        "a frame claiming a terabyte": ws_frame(0x1, b"xxxx", declared=1 << 40),
    }
    for what, frame in bad.items():
        s, status = ws_handshake(port, "/ws/%d" % FMC_WINDOW)
        if b" 101 " not in status + b" ":
            fail("the WebSocket handshake failed before sending %s: %r" % (what, status))
        try:
            s.sendall(frame)
        except OSError:
            pass
        if not closed_by_server(s):
            fail("the server kept a connection that sent " + what)
    # A window that does not exist, and another site's page, are refused at the handshake.
    for path, extra in (("/ws/77", b""), ("/ws/%d" % FMC_WINDOW, b"Origin: http://evil.example\r\n")):
        s, status = ws_handshake(port, path, extra)
        s.close()
        if b" 101 " in status + b" ":
            fail("a WebSocket for %s %r was accepted" % (path, extra))
    # More pages than the server takes: the surplus is refused, the rest work.
    many = []
    refused = 0
    for _ in range(40):
        s, status = ws_handshake(port, "/ws/%d" % FMC_WINDOW)
        many.append(s)
        if b" 101 " not in status + b" ":
            refused += 1
    for s in many:
        s.close()
    # The two browsers hold two of the 32 while connected; a page that is
    # between reconnects holds none, so up to all 32 may go to these.
    if not 40 - 32 <= refused <= 40 - 32 + 2:
        fail("%d of 40 extra WebSockets were refused with up to two pages connected" % refused)


def expect_picture(d, reference, what):
    wait_for(what, lambda: differing_pixels(canvas(d), reference) == 0, seconds=15)


def main():
    panelhost, panel, scenario, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    port = free_port()
    first = Host(panelhost, panel, scenario, os.path.join(work, "first"), port)
    a = b = None
    try:
        a, b = browser(), browser(phone=True)
        page = "http://127.0.0.1:%d/window/%d" % (port, FMC_WINDOW)
        for d in (a, b):
            d.get(page)
            wait_for("the first picture", lambda: page_state(d)[0] > 0)
        early = os.path.join(first.out, "early-window%02d.png" % FMC_WINDOW)
        wait_for("the host's early snapshot", lambda: os.path.exists(os.path.join(first.out, "early-strings.txt")))
        time.sleep(0.5)
        reference = Image.open(early).convert("RGB")
        for d in (a, b):
            expect_picture(d, reference, "the page to show the host's snapshot")
        if MENU_TITLE not in "\n".join(strings(os.path.join(first.out, "early-strings.txt"))):
            fail("the host's early dump does not show the MENU page")
        print("page equals the host's snapshot (%dx%d)" % reference.size, flush=True)

        click(a, *L1)
        for d in (a, b):
            wait_for("the LOAD page in both browsers", lambda: differing_pixels(canvas(d), reference) > 1000)
        wait_for("the host's late dump", lambda: os.path.exists(os.path.join(first.out, "late-strings.txt")),
                 seconds=60)
        time.sleep(0.5)
        late = Image.open(os.path.join(first.out, "late-window%02d.png" % FMC_WINDOW)).convert("RGB")
        for d in (a, b):
            expect_picture(d, late, "both pages to show the host's late snapshot")
        shown = "\n".join(strings(os.path.join(first.out, "late-strings.txt")))
        if LOAD_TITLE not in shown or MENU_TITLE in shown:
            fail("the host's dump does not show the LOAD page after the click: " + shown[:300])
        print("L1 from the browser: LOAD page in both browsers and in the host's dump", flush=True)

        first.stop()
        for d in (a, b):
            wait_for("the page to show it is disconnected",
                     lambda: page_state(d)[1] == "disconnected" and not page_state(d)[2])
        second = Host(panelhost, panel, scenario, os.path.join(work, "second"), port)
        try:
            frames = page_state(a)[0]
            for d in (a, b):
                wait_for("the page to reconnect", lambda: page_state(d)[1] == "connected" and page_state(d)[0] > frames)
            wait_for("the second run's early snapshot",
                     lambda: os.path.exists(os.path.join(second.out, "early-strings.txt")))
            time.sleep(0.5)
            reference = Image.open(os.path.join(second.out, "early-window%02d.png" % FMC_WINDOW)).convert("RGB")
            for d in (a, b):
                expect_picture(d, reference, "the reconnected page to show the new run")
            print("pages reconnected by themselves", flush=True)

            hostile_clients(port)
            if not second.alive():
                fail("panelhost died under hostile clients")
            for d in (a, b):
                if page_state(d)[1] != "connected":
                    fail("a browser page lost its connection to hostile clients")
            click(b, *L1, touch=True)
            for d in (a, b):
                wait_for("a click to work after the hostile clients",
                         lambda: differing_pixels(canvas(d), reference) > 1000)
            print("hostile clients closed, pages and panel unharmed; a tap on the phone works", flush=True)
            width = b.execute_script("return document.getElementById('panel').getBoundingClientRect().width")
            if not 380 <= width <= 390:
                fail("the page does not fill the phone's width: %r CSS pixels" % width)
        finally:
            second.stop()
    finally:
        for d in (a, b):
            if d:
                d.quit()
        if first.alive():
            first.proc.kill()

    # The token: without it nothing but the script and style; with it the index and the pictures.
    port = free_port()
    guarded = Host(panelhost, panel, None, os.path.join(work, "token"), port, token="s3cret")
    try:
        if "?token=s3cret" not in guarded.url:
            fail("the printed address lacks the token: " + guarded.url)
        base = "http://127.0.0.1:%d" % port
        for path in ("/", "/window/1", "/windows.json", "/thumbnail/1.png", "/?token=wrong"):
            try:
                urllib.request.urlopen(base + path, timeout=10)
                fail(path + " answered without the token")
            except urllib.error.HTTPError as e:
                if e.code != 403:
                    fail("%s answered %d, not 403" % (path, e.code))
        for path in ("/?token=s3cret", "/windows.json?token=s3cret", "/thumbnail/1.png?token=s3cret", "/panel.js"):
            with urllib.request.urlopen(base + path, timeout=10) as r:
                if r.status != 200:
                    fail(path + " answered %d" % r.status)
        s, status = ws_handshake(port, "/ws/1")
        s.close()
        if b" 101 " in status + b" ":
            fail("a WebSocket without the token was accepted")
        s, status = ws_handshake(port, "/ws/1?token=s3cret")
        s.close()
        if b" 101 " not in status + b" ":
            fail("a WebSocket with the token was refused: %r" % status)
        print("the token guards pages, pictures and WebSocket", flush=True)
    finally:
        guarded.stop()
    print("ok")


if __name__ == "__main__":
    main()
