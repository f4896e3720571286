#!/usr/bin/python3
# The collection and the engine as a screen reader meets them over AT-SPI:
# the list's entries by their names, and the engine's line below the
# legality line: an evaluation after F2, again after a step to another
# entry, standing still after F2 again ("legal": the editor runs with a collection of
# a mate in 1 and the standard position); or, for an illegal position, its
# reason and no engine started ("illegal": a collection of one illegal entry).
#   atspi_workspace.py PID legal|illegal
import re
import subprocess
import sys
import time

import pyatspi

pid = int(sys.argv[1])
mode = sys.argv[2]
passed = failed = 0


def check(name, expected, actual):
    global passed, failed
    if expected == actual:
        passed += 1
        print(f"ok   {name}")
    else:
        failed += 1
        print(f"FAIL {name}\n  expected: {expected!r}\n  actual:   {actual!r}")


def every(node, role):
    if node is None:
        return
    if node.getRole() == role:
        yield node
    for i in range(node.childCount):
        yield from every(node.getChildAtIndex(i), role)


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys])
    time.sleep(0.3)


def list_items():
    for view in every(app, pyatspi.ROLE_LIST):
        if view.name == "Stellungen der Sammlung":
            return [item.name for item in every(view, pyatspi.ROLE_LIST_ITEM)]
    return []


def engine_line():
    for label in every(app, pyatspi.ROLE_LABEL):
        if re.search(r"Tiefe|^Nicht analysiert", label.name or ""):
            return label.name
    return ""


def wait_for(test, seconds=20.0):
    end = time.time() + seconds
    got = ""
    while time.time() < end:
        try:
            got = engine_line()
        except Exception:  # the tree is being rebuilt
            got = ""
        if test(got):
            break
        time.sleep(0.2)
    return got


def engines_running():
    children = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout
    return len(children.split())


desktop = pyatspi.Registry.getDesktop(0)
app = None
for _ in range(100):
    found = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    found = [a for a in found if a is not None and a.get_process_id() == pid]
    if found:
        app = found[0]
        if list_items():
            break
    time.sleep(0.2)
else:
    print("FAIL the editor's collection did not appear on the accessibility bus")
    sys.exit(1)

items = list_items()
if mode == "illegal":
    check("the list's entry by name", ["1. Check, Weiß am Zug"], items[:1])
    key("F2")
    reason = wait_for(lambda line: line.startswith("Nicht analysiert"), 5)
    check("F2 on an illegal position: its reason instead of an evaluation",
          "Nicht analysiert: Der schwarze König auf e8 steht im Schach durch den Turm auf e1, "
          "aber Weiß ist am Zug.", reason)
    time.sleep(1)
    check("and no engine was started for it", 0, engines_running())
    key("F2")
    time.sleep(1)
    check("F2 again: still no engine", 0, engines_running())
else:
    check("the list's entries by name", ["1. Back rank, Weiß am Zug, matt in 1",
                                         "2. Stellung 2, Weiß am Zug"], items[:2])
    key("F2")
    evaluation = wait_for(lambda line: line.startswith("#1"))
    check("F2: the mate in 1 from White's side, its depth and line (German SAN)", True,
          evaluation.startswith("#1") and "Tiefe" in evaluation and "Ta8#" in evaluation)
    check("an engine runs for it", 1, engines_running())
    key("ctrl+Next")
    restarted = wait_for(lambda line: re.match(r"^[+-]\d+\.\d\d", line) is not None)
    check("a step to the standard position restarts the search", True,
          re.match(r"^[+-]\d+\.\d\d .*Tiefe", restarted) is not None)
    key("F2")
    time.sleep(0.5)
    stopped = engine_line()
    time.sleep(2)
    check("F2 again stops it: the line says what it found and no longer changes", stopped,
          engine_line())

print(f"{passed} passed, {failed} failed")
sys.exit(0 if failed == 0 else 1)
