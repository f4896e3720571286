#!/usr/bin/python3
# The board as a screen reader reads it over the accessibility bus (AT-SPI):
# the table of 8 x 8 cells, a cell's name before and after an edit, the
# focused cell after the arrow keys, and the cells after the board is
# flipped. The editor runs in an X server already, on a session bus with the
# AT-SPI bus, and the keys and the mouse go to it through xdotool.
#   atspi_board.py PID
import subprocess
import sys
import time

import pyatspi

pid = sys.argv[1]
passed = failed = 0


def check(name, expected, actual):
    global passed, failed
    if expected == actual:
        passed += 1
        print(f"ok   {name}")
    else:
        failed += 1
        print(f"FAIL {name}\n  expected: {expected!r}\n  actual:   {actual!r}")


def wait_for(read, want, seconds=5.0):
    """What read() gives once it gives want, or at the end of the time."""
    got = None
    end = time.time() + seconds
    while time.time() < end:
        try:
            got = read()
        except Exception as e:  # the tree is being rebuilt
            got = repr(e)
        if got == want:
            break
        time.sleep(0.1)
    return got


def find(node, role):
    if node is None:
        return None
    if node.getRole() == role:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), role)
        if found is not None:
            return found
    return None


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


desktop = pyatspi.Registry.getDesktop(0)
app = None
for _ in range(100):
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    apps = [a for a in apps if a is not None and a.get_process_id() == int(pid)]
    if apps:
        app = apps[0]
        board = find(app, pyatspi.ROLE_TABLE)
        if board is not None:
            break
    time.sleep(0.2)
else:
    print("FAIL the editor did not appear on the accessibility bus")
    sys.exit(1)

table = board.queryTable()
check("the board is a table of 8 x 8 cells", (8, 8, 64), (table.nRows, table.nColumns, board.childCount))
check("the board's name", "Schachbrett", board.name)
cell = lambda row, column: table.getAccessibleAt(row, column).name
check("e4 before an edit", "e4, leer", cell(4, 4))
check("e2 holds a white pawn", "e2, weißer Bauer", cell(6, 4))

# Where the board's squares are on the screen (as the end-to-end test finds them).
win = xdotool("search", "--onlyvisible", "--pid", pid).split()[0]
geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", win).split())
menu = int(geometry["HEIGHT"]) - 573
left, top = int(geometry["X"]) + 14, int(geometry["Y"]) + menu + 21
square = lambda file, row: (str(left + 32 + file * 34 + 17), str(top + 32 + row * 34 + 17))
xdotool("windowfocus", "--sync", win)

xdotool("mousemove", *square(4, 4))  # Ctrl + click on e4: a mark, and the focus
xdotool("keydown", "ctrl", "click", "1", "keyup", "ctrl")
check("e4 after the mark", "e4, leer, markiert", wait_for(lambda: cell(4, 4), "e4, leer, markiert"))

def focused():
    for i in range(board.childCount):
        c = board.getChildAtIndex(i)
        if c.getState().contains(pyatspi.STATE_FOCUSED):
            return c.name
    return None

xdotool("key", "--clearmodifiers", "Left", "Left")
check("the focused cell after two arrow keys", "c4, leer", wait_for(focused, "c4, leer"))
xdotool("key", "--clearmodifiers", "shift+n")
check("a knight typed on the cursor square", "c4, weißer Springer",
      wait_for(lambda: cell(4, 2), "c4, weißer Springer"))

xdotool("key", "--clearmodifiers", "ctrl+f")
check("flipped, h1 is the first cell", "h1, weißer Turm", wait_for(lambda: cell(0, 0), "h1, weißer Turm"))
xdotool("key", "--clearmodifiers", "ctrl+f")

print(f"{passed} passed, {failed} failed")
sys.exit(0 if failed == 0 else 1)
