#!/usr/bin/env python3
"""The project's import directions, checked over every source file's includes.

Each top-level folder may include only the folders its row below names (and itself). The rows are
the layering: the platform knows nothing of the rest; the host binding and the libraries stand on
it; the aircraft on those; the panel host, the tools and the tests on top. Modules see only the
host binding, the platform and the display surface, never each other (but for the navigation
display's control-block field rules, which the panel switches share by design). It also fails on
any two folders that include each other, and on a source file outside the tests over 600 lines.

    layers_test.py SOURCE_DIR
"""
import os
import re
import sys

MODULES = ["navdisplay", "ndmodeselect", "switches", "flightdisplay", "airspeed", "fmcomputer",
           "gauges", "dmegauge", "sound"]
LIBRARIES = ["platform", "host", "install", "worlddata", "sim", "flightplan", "navimport", "reports",
             "simlink", "web", "surface", "homeio"]

ALLOWED = {
    "platform": [],
    "host": ["platform"],
    "install": ["platform"],
    "worlddata": ["platform"],
    "sim": ["host", "worlddata", "platform"],
    "flightplan": ["sim", "worlddata", "install", "platform"],
    "navimport": ["sim", "worlddata", "platform"],
    "reports": ["sim", "flightplan", "platform"],
    "simlink": ["sim", "host", "flightplan", "platform"],
    "web": ["platform"],
    "homeio": ["host", "platform"],
    "surface": ["host", "platform"],
    "panelhost": LIBRARIES,
    "tools": LIBRARIES + ["panelhost", "tools"] + MODULES,
}
for module in MODULES:
    ALLOWED[module] = ["host", "platform", "surface"]
# The control block's field rules, shared by the navigation display and its switches.
SHARED_HEADERS = {"navdisplay/control_block.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCE = (".cpp", ".h", ".c", ".hpp")
FREE = {"tests", "bench", "fuzz"}
MAX_LINES = 600


def sources(root):
    for top in sorted(os.listdir(root)):
        if top.startswith(".") or top.startswith("build") or top in ("out", "data", "docs"):
            continue
        path = os.path.join(root, top)
        if not os.path.isdir(path):
            continue
        for folder, _, files in os.walk(path):
            for name in files:
                if name.endswith(SOURCE):
                    yield top, os.path.join(folder, name)


def main(root):
    faults = []
    imports = {}
    for top, path in sources(root):
        rel = os.path.relpath(path, root)
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        if top not in FREE and text.count("\n") > MAX_LINES:
            faults.append(f"{rel}: {text.count(chr(10))} lines (at most {MAX_LINES} outside the tests)")
        for included in INCLUDE.findall(text):
            if "/" not in included:
                continue
            target = included.split("/", 1)[0]
            if target == top or not os.path.isdir(os.path.join(root, target)):
                continue
            imports.setdefault(top, set()).add(target)
            if top in FREE or included in SHARED_HEADERS:
                continue
            allowed = ALLOWED.get(top)
            if allowed is None:
                faults.append(f"{rel}: folder '{top}' has no place in the layering (add it to this test)")
            elif target not in allowed:
                faults.append(f"{rel}: '{top}' may not include '{included}'")
    for a, targets in imports.items():
        for b in targets:
            if a < b and a in imports.get(b, set()) and a not in FREE and b not in FREE:
                faults.append(f"'{a}' and '{b}' include each other")
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
