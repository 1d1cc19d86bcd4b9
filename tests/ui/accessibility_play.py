#!/usr/bin/python3
"""Plays the running game as a screen reader's user would, through AT-SPI alone.

    accessibility_play.py TOOL GAME_PID

Closes the info dialog by its button's action, then solves level 1 with the sequence of
`TOOL solve 1` pressed as digit keys (main row and numeric keypad in turn, through xdotool),
checking before each key that the nine cells read, in reading order, the board the solution
expects. Each move must bring one announcement with the new count; the last also carries the
result, and the result dialog must say it. Then one cell moves and one refuses through their
AT-SPI press actions, and Ctrl+Q quits through the quit and info dialogs. The marquee must
raise no accessibility event all along. Every wait is for a state, with a time limit."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CONTENTS = ["red straight cross", "white straight cross", "blue straight cross",
            "red diagonal cross", "white diagonal cross", "blue diagonal cross", "empty cell"]
EMPTY = 6


def fail(message):
    print("accessibility: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(condition, what, seconds=10.0):
    """Runs the event loop until condition() gives something true, and returns it."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > end:
            fail("waited in vain for " + what)
        if not context.iteration(False):
            time.sleep(0.01)


def safely(function, default=None):
    try:
        return function()
    except Exception:  # an object that went away while we looked
        return default


def find(root, predicate):
    return safely(lambda: pyatspi.findDescendant(root, predicate))


def showing(obj):
    return safely(lambda: obj.getState().contains(pyatspi.STATE_SHOWING), False)


def press(obj, action="Press"):
    actions = obj.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            actions.doAction(i)
            return
    fail("%s has no action %s" % (obj.name, action))


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def main():
    tool, game_pid = sys.argv[1], int(sys.argv[2])
    solution = [tuple(int(n) for n in line.strip("()").split(","))
                for line in subprocess.run([tool, "solve", "1"], check=True, capture_output=True,
                                           text=True).stdout.split()]
    level = subprocess.run([tool, "levels"], check=True, capture_output=True, text=True).stdout
    start = level.splitlines()[0].split("board")[1].split("shortest")[0]
    board = [[int(n) for n in row.split()] for row in start.split("/")]  # board[row][column]

    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        for app in desktop:
            if app is not None and safely(lambda: app.get_process_id()) == game_pid:
                return app
        return None

    app = wait_for(application, "the game on the accessibility bus")
    frame = wait_for(lambda: find(app, lambda o: o.getRoleName() == "frame"
                                  and o.name.startswith("Travoli")), "the main window as a frame")

    announcements = []
    marquee_events = []
    marquee = wait_for(lambda: find(frame, lambda o: o.getRole() == pyatspi.ROLE_LINK
                                    and o.name == "Zanfir Bytes homepage"), "the marquee link")

    def heard(event):
        if event.source == marquee:
            marquee_events.append(event.type)
        elif (event.type.startswith("object:state-changed:showing") and event.detail1
              and safely(lambda: event.source.getRole()) == pyatspi.ROLE_NOTIFICATION):
            announcements.append(safely(lambda: event.source.name, ""))

    pyatspi.Registry.registerEventListener(heard, "object")

    info = wait_for(lambda: find(app, lambda o: o.getRole() == pyatspi.ROLE_DIALOG
                                 and o.name == "Zanfir Bytes - Freeware-Info" and showing(o)),
                    "the info dialog")
    press(find(info, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "OK"))
    wait_for(lambda: safely(lambda: frame.getState().contains(pyatspi.STATE_ACTIVE)),
             "the main window active again")

    board_view = find(frame, lambda o: o.name == "Board")
    moves_label = find(frame, lambda o: o.getRole() == pyatspi.ROLE_LABEL
                       and o.name.strip().startswith("Moves:"))

    def cells():
        return [safely(lambda c=c: c.name, "") for c in board_view]

    def expected():
        return ["row %d, column %d: %s" % (r + 1, c + 1, CONTENTS[board[r][c]])
                for r in range(3) for c in range(3)]

    def move(column, row):
        for r in range(3):
            for c in range(3):
                if board[r][c] == EMPTY:
                    board[r][c], board[row][column] = board[row][column], EMPTY
                    return

    keypad = 0
    for count, (column, row) in enumerate(solution, start=1):
        if cells() != expected():
            fail("before move %d the board reads %s, not %s" % (count, cells(), expected()))
        digit = (2 - row) * 3 + column + 1
        if count % 2 == 0:
            key("KP_%d" % digit)
            keypad += 1
        else:
            key(str(digit))
        move(column, row)
        wait_for(lambda: len(announcements) >= count, "the announcement of move %d" % count)
        if not announcements[count - 1].startswith("Moves: %d" % count):
            fail("move %d was announced as '%s'" % (count, announcements[count - 1]))
    result = "Hurrah, you did it! You've found a solution."
    if not announcements[-1].endswith(result):
        fail("the solving move was announced as '%s'" % announcements[-1])
    dialog = wait_for(lambda: find(app, lambda o: o.getRole() == pyatspi.ROLE_DIALOG
                                   and showing(o) and find(o, lambda l: l.name == result)),
                      "the result dialog")
    press(find(dialog, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON))
    wait_for(lambda: frame.name == "Travoli - level 1: %d moves" % len(solution),
             "the title with the new best result")
    solved_by_keys = len(announcements)
    if cells() != expected():
        fail("the solved board reads %s" % cells())

    # A move and a refused press through the cells' own actions.
    hole = next((r, c) for r in range(3) for c in range(3) if board[r][c] == EMPTY)
    r, c = hole[0], (hole[1] + 1) % 3 if hole[1] < 2 else hole[1] - 1
    press(board_view[r * 3 + c])
    move(c, r)
    wait_for(lambda: len(announcements) == solved_by_keys + 1, "the announcement of the action")
    wait_for(lambda: moves_label.name.strip() == "Moves: %d" % (len(solution) + 1),
             "the moves label after the action")
    if announcements[-1] != "Moves: %d" % (len(solution) + 1) or cells() != expected():
        fail("after the action: '%s', %s" % (announcements[-1], cells()))
    # A straight cross diagonally beside the hole cannot move.
    hole = next((r, c) for r in range(3) for c in range(3) if board[r][c] == EMPTY)
    r, c = next((r, c) for r in (hole[0] - 1, hole[0] + 1) for c in (hole[1] - 1, hole[1] + 1)
                if 0 <= r < 3 and 0 <= c < 3 and board[r][c] < 3)
    press(board_view[r * 3 + c])
    wait_for(lambda: len(announcements) == solved_by_keys + 2, "the refused press announced")
    if not announcements[-1].startswith("No move: "):
        fail("the refused press was announced as '%s'" % announcements[-1])

    # Ctrl+Q asks; yes, then the info dialog's OK.
    key("ctrl+q")
    quit_dialog = wait_for(lambda: find(app, lambda o: o.getRole() == pyatspi.ROLE_DIALOG
                                        and showing(o) and find(o, lambda l: l.name ==
                                                                "Do you really want to go?")),
                           "the quit dialog after Ctrl+Q")
    press(find(quit_dialog, lambda o: o.name == "Yes"))
    info = wait_for(lambda: find(app, lambda o: o.getRole() == pyatspi.ROLE_DIALOG
                                 and o.name == "Zanfir Bytes - Freeware-Info" and showing(o)),
                    "the info dialog at the end")
    if marquee_events:
        fail("the marquee raised %d events: %s" % (len(marquee_events), marquee_events[:5]))
    press(find(info, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "OK"))

    print("keys that moved a piece: %d (%d main row, %d keypad); announcements: %d during the "
          "solution, the last '%s'; by actions: '%s'; marquee events: 0"
          % (len(solution), len(solution) - keypad, keypad, solved_by_keys,
             announcements[solved_by_keys - 1], "', '".join(announcements[solved_by_keys:])))


main()
