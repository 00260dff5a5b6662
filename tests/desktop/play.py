#!/usr/bin/env python3
"""Plays Merendella on real desktops with real input. usage: play.py GAME SCENARIO WxH SHOTS
Exit status 0 when every check held, else the first that did not is printed."""

import ctypes, functools, hashlib, os, re, shutil, signal, subprocess, sys, time  # noqa: E401
from collections import namedtuple

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import PANEL, ROOT, WAIT, Failure, Sway, X11, log_of, near, wait_until  # noqa: E402

# Screen designs in twips; each is scaled to its window's client area.
TITLE, AVVIO = (9780, 7590), (2880, 5760, 4110, 1275)
MENU, TORTE, FIGURINE, ESCI = (10860, 7965), (3720, 720, 3375, 735), (3720, 1680, 3375, 735), (3840, 6120, 3375, 1215)
GAME, RESTART, MOVES, WORDS = (10275, 7440), (7920, 6240, 1815, 855), (5520, 6480, 1575, 495), (240, 5520, 4335, 1695)
APRICOT, TOP, BOTTOM = (255, 224, 192), (19, 255, 228), (19, 0, 228)
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
TARTS, STICKERS = {"torta%d" % n: n for n in range(5)}, {"figurine%d" % n: n for n in (1, 2, 3, 4, 5, 7, 10)}


def card_rect(hand, index):
    """A card's design rectangle, as those above."""
    return (840 + 1320 * index, (720, 2160, 3600)[hand], 1215, 1215)


def check(condition, message):
    if not condition:
        raise Failure(message)


@functools.lru_cache(None)
def signature(name, grid=16, side=430):
    """A card picture's grid of mean colours, as Shot.signature reads it off the screen (8 % inset)."""
    out = subprocess.run(["convert", os.path.join(SOURCE, "img", name + ".jpg"), "-resize", "512x512!", "-gravity",
                          "center", "-crop", "%dx%d+0+0" % (side, side), "+repage", "-filter", "box", "-resize",
                          "%dx%d!" % (grid, grid), "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


class Game:
    """One copy of the game on a desktop, and what the driver knows of its screens."""

    def __init__(self, d, exe, *options, **spawn):
        self.d, self.bar, self.at = d, 0, None
        self.process = d.spawn([exe, *options], "game", **spawn)

    def covering(self):
        """The game's window when it covers the whole display, in full-screen state where there is a panel."""
        if self.process.poll() is not None:
            raise Failure("the game ended (status %s): %s" % (self.process.returncode, log_of(self.process)[-800:]))
        return next((w for w in self.d.windows(self.process.pid) if w.rect == (0, 0, self.d.width, self.d.height)
                     and ("FULLSCREEN" in w.state or not self.d.panel_rect)), None)

    def wait_screen(self, what, probe):
        def ready():  # full screen, and over the panel or the bar
            shot = self.covering() and self.d.shot()
            return shot and not (self.d.panel_rect and shot.fraction_of(self.d.panel_rect, PANEL, 8) > 0.3) \
                and probe(shot) and shot
        shot = wait_until(what + " to cover the display and any panel", ready)
        time.sleep(0.6)  # a press in a screen's first moment is taken for half of a double click
        return shot

    def title(self):
        return self.wait_screen("the title", lambda s: near(s.pixel(5, 0), TOP, 2) and near(s.pixel(5, s.height - 1),
                                                                                               BOTTOM, 3))

    def menu(self):
        return self.wait_screen("the menu", lambda s: not near(s.pixel(5, 0), TOP, 2) and not self.menubar(s))

    def game(self):
        shot = self.wait_screen("a game", self.menubar)
        self.bar, self.at = self.menubar(shot), None
        return shot

    def menubar(self, shot):
        """The menu bar's height when a game shows (apricot below it), else None."""
        if near(shot.pixel(3, shot.height / 2), APRICOT, 2):
            return next((y for y in range(1, 200) if near(shot.pixel(3, y), APRICOT, 2)), None)

    def area(self, rect, design):
        sx, sy = self.d.width / design[0], (self.d.height - self.bar) / design[1]
        return int(rect[0] * sx), int(self.bar + rect[1] * sy), int(rect[2] * sx), int(rect[3] * sy)

    def point(self, rect, design):
        x, y, w, h = self.area(rect, design)
        return x + w / 2, y + h / 2

    def card(self, hand, index):
        return self.area(card_rect(hand, index), GAME)

    def board(self, shot, kinds):
        """The picture each of the 21 cards shows, read off a screenshot."""
        def nearest(seen):
            return min(kinds, key=lambda n: sum((p - q) ** 2 for a, b in zip(seen, signature(n)) for p, q in zip(a, b)))
        return [[nearest(shot.signature(self.card(h, i))) for i in range(7)] for h in range(3)]

    def deal(self, kinds, shot=None):
        """A fresh deal: seven alike cards a hand, three values evenly spaced."""
        board = self.board(shot or self.game(), kinds)
        low, mid, high = sorted(kinds[row[0]] for row in board)
        check(all(len(set(row)) == 1 for row in board) and low < mid < high and high - mid == mid - low,
              "not a fresh deal: %s" % board)
        return board

    def move(self, way, a, b):
        """Card a (hand, index) onto card b: dragged, tapped, or picked and dropped with the keys."""
        if way == "drag":
            return self.d.drag(self.point(card_rect(*a), GAME), self.point(card_rect(*b), GAME))
        if way == "tap":
            return [self.d.click(*self.point(card_rect(*c), GAME)) for c in (a, b)]
        keys, at = (["Left"], (0, 0)) if self.at is None else ([], self.at)  # the first key shows the highlight
        for c in (a, b):
            keys += ["Down" if c[0] > at[0] else "Up"] * abs(c[0] - at[0])
            keys += ["Right" if c[1] > at[1] else "Left"] * abs(c[1] - at[1]) + ["Return"]
            at = self.at = c
        self.d.key(*keys)

    def win(self, board, kinds, way, last=lambda: None):
        """Evens the hands out with five moves, each waited for, calling last before the last."""
        low, mid, high = sorted(range(3), key=lambda h: kinds[board[h][0]])
        moves = [((high, i), (low, i)) for i in range(3)] + [((high, 3), (mid, 0)), ((low, 3), (mid, 1))]
        for n, (a, b) in enumerate(moves):
            self.swap(way, a, b, board, kinds) if n < 4 else (last(), self.move(way, a, b))

    def swap(self, way, a, b, board, kinds):
        board[a[0]][a[1]], board[b[0]][b[1]] = board[b[0]][b[1]], board[a[0]][a[1]]
        before = self.d.shot().signature(self.area(MOVES, GAME))
        self.move(way, a, b)
        wait_until("a move (%s) to show" % way, lambda: (lambda s: s.signature(self.area(MOVES, GAME)) != before and
                                                         self.board(s, kinds) == board)(self.d.shot()))

    def congratulated(self):
        box = self.d.box("Zuccheriva")
        self.d.shot("congratulation")
        self.d.answer(box)
        return self.focused(RESTART, GAME)

    def focused(self, button, design):
        """Waits for the focus ring, blue along the left edge of the button that has the keyboard."""
        x, y, w, h = self.area(button, design)
        return wait_until("the focus ring on a button", lambda: (lambda s: s.fraction_of(
            (x, y + h // 3, max(2, w // 40), h // 3), (0, 90, 200), 40, 1) > 0.5 and s)(self.d.shot()))

    def leave(self, way="click"):
        """Leaves the game for the menu, through "Esci" in its menu bar or Escape."""
        self.d.key("Escape") if way == "keys" else self.d.click(12, self.bar / 2)
        self.d.answer(self.d.box("Merendella"))
        return self.menu()


def journey(d, exe, way="drag"):
    """Title, menu, a tarts game won and restarted, a stickers swap, back and out, by drags, taps (with no
    sound server at all) or keys; over a panel, also another program, minimising and restoring."""
    g = Game(d, exe, env=d.no_sound_env() if way == "tap" else None)
    g.title()
    d.shot("title")
    d.key("Return") if way == "keys" else d.double_click(*g.point(AVVIO, TITLE))  # opens the menu, nothing else
    g.menu()
    check(not [w for w in d.windows() if w.state & {"DIALOG", "FLOATING"}], "a double click on Avvio asked a question")
    d.key("Tab", "Tab", "Return") if way == "keys" else d.click(*g.point(TORTE, MENU))
    dealt = g.game()
    board = g.deal(TARTS, d.shot("tarts"))
    for rect, least in ((MOVES, 35), (WORDS, 30)) if d.width >= 3840 else ():  # text read across the room
        x, y, w, h = g.area(rect, GAME)
        rows = [r for r in range(y, y + h) if any(dealt.pixel(c, r)[0] < 90 for c in range(x, x + w, 2))]
        line = [r for n, r in enumerate(rows) if r - rows[0] == n]
        check(len(line) >= least, "text %d pixels tall where %d are wanted" % (len(line), least))
    g.win(board, TARTS, way)
    won = g.congratulated()
    check(not [w for w in d.windows() if w.title == "Error"], "an error box opened")
    d.key("Return") if way == "keys" else d.click(*g.point(RESTART, GAME))
    g.deal(TARTS, wait_until("a new deal", lambda: (lambda s: s.signature(g.area(MOVES, GAME)) != won.signature(
        g.area(MOVES, GAME)) and s)(d.shot())))
    g.leave(way)
    d.click(*g.point(FIGURINE, MENU))
    board = g.deal(STICKERS)
    g.swap(way, (0, 2), (1, 5), board, STICKERS)
    if d.panel_rect:
        other = d.spawn(["xmessage", "-center", "un altro programma"], "xmessage")
        d.activate(wait_until("another program", lambda: next((w for w in d.windows() if w.pid != g.process.pid), None)))
        d.shot("another-program")
        d.end(other)
        window = d.windows(g.process.pid)[0]
        for step in ("back", "minimised", "restored"):
            d.minimise(window) if step == "minimised" else d.activate(window)
            check(step == "minimised" or g.board(g.game(), STICKERS) == board, "the game came %s changed" % step)
    g.leave()
    d.click(*g.point(ESCI, MENU))
    d.answer(d.box("Merendella"))
    check(g.process.wait(WAIT) == 0, "the game ended with status %s" % g.process.returncode)
    check(not d.windows(g.process.pid), "windows left after the game ended")
    said = [line for line in log_of(g.process).splitlines() if re.search("sound|speech", line, re.I)]
    check(way != "tap" or len(said) == 2 and "no sound" in str(said) and "no speech" in str(said),
          "what the game said of sound and speech: %s" % said)


def scanning(d, exe):
    """One switch: Space alone, pressed as the scan reaches what is wanted, opens the menu and a tarts game,
    wins it in five moves (a row, its card, a row, its card), closes the congratulation and deals again."""
    g = Game(d, exe, "--scan=1")  # a step: time to see the highlight and press, in the sanitizers' build too

    def press(what, lit, unlit=None):  # Space once the highlight's blue is on every lit place and not on unlit
        blue = lambda rect: d.seen(rect, (0, 90, 200), 40) > .5  # noqa: E731
        shown = lambda: all(map(blue, lit)) and not (unlit and blue(unlit))  # noqa: E731
        wait_until(what, shown, every=.02)
        d.tap("space")
        wait_until(what + " to be taken", lambda: not shown(), every=.02)
        time.sleep(.1)  # the game draws what changed card by card: none read half drawn

    def edge(hand, i):  # where a card's highlight runs along its left edge
        x, y, w, h = g.card(hand, i)
        return x + max(4, min(w, h) // 9) // 2 - 1, y + h // 3, 3, h // 3

    def ring(button, design):  # where a button's focus ring runs along its left edge, a band an 18th of it tall
        x, y, w, h = g.area(button, design)
        return x + 1, y + h // 3, max(2, h // 24), h // 3
    g.title()
    press("Avvio", [ring(AVVIO, TITLE)])
    g.menu()
    press("Torte", [ring(TORTE, MENU)])
    board = g.deal(TARTS)
    low, mid, high = sorted(range(3), key=lambda h: TARTS[board[h][0]])
    for n, move in enumerate([((high, i), (low, i)) for i in range(3)] + [((high, 3), (mid, 0)), ((low, 3), (mid, 1))]):
        for hand, i in move:
            press("row %d" % hand, [edge(hand, 0), edge(hand, 6)])
            press("card %d of row %d" % (i, hand), [edge(hand, i)], edge(hand, i ^ 1))
        (a, b), (c, e) = move
        board[a][b], board[c][e] = board[c][e], board[a][b]
        if n < 4:  # the last one is shown by the congratulation, whose box may cover cards at once
            wait_until("move %d to show" % n, lambda: g.board(d.shot(), TARTS) == board)
    d.answer(d.box("Zuccheriva"), "space")
    press("ricomincia", [ring(RESTART, GAME)])
    g.deal(TARTS, d.shot("new-deal"))


def levels(d, exe):
    """The easiest level with the counting aid: a stickers board one swap from the end, each child's total on a
    badge at their feet; the test finds the one swap on the screenshot, and that swap wins."""
    g = Game(d, exe, "--game=figurine", "--level=1", "--totals")
    shot = g.game()
    board = g.board(d.shot("level-1"), STICKERS)
    badges = [g.area((45, top + 870, 750, 345), GAME) for top in (720, 2160, 3600)]
    check(all(shot.fraction_of(b, (255, 250, 235), 8) > 0.3 for b in badges), "a badge is missing")
    value = lambda h, i: STICKERS[board[h][i]]  # noqa: E731
    totals = [sum(value(h, i) for i in range(7)) for h in range(3)]
    wins = [((h, i), (k, j)) for h in range(3) for k in range(h + 1, 3) for i in range(7) for j in range(7)
            if len({t + (value(k, j) - value(h, i)) * ((x == h) - (x == k)) for x, t in enumerate(totals)}) == 1]
    check(len(set(totals)) > 1 and wins, "not one swap from the end: %s" % board)
    g.move("drag", *wins[0])  # shown by the congratulation alone: its box may cover cards at once
    g.congratulated()


def wayland(d, exe):
    """A Wayland client: full screen over the bar, by keys and pointer; one copy per user, X11 or Wayland."""
    g = Game(d, exe)
    g.title()
    d.shot("title")
    d.key("Return")
    g.menu()
    d.key("Tab", "Tab", "Tab", "Return")  # "Figurine"
    board = g.deal(STICKERS, g.game())
    d.shot("board")
    g.swap("drag", (2, 6), (0, 0), board, STICKERS)
    refused(d, d.spawn([exe], "second"), g)
    with X11(800, 600, os.path.join(d.shots, "x11")) as x:  # the same user as an X11 client, in a session
        env = dict(x.env, XDG_RUNTIME_DIR=d.env["XDG_RUNTIME_DIR"], XDG_SESSION_ID="7")
        refused(d, x.spawn([exe], "x11-copy", env=env), g)
    d.activate(d.windows(g.process.pid)[0])  # back in front, full screen again
    check(g.board(g.game(), STICKERS) == board, "the first copy's board changed")


def refused(d, copy, running):
    """A copy started while another runs ends, and the running one shows the "Error" box over its own
    screen, seen on top (in the middle of the box, its light face), until it is answered."""
    check(copy.wait(WAIT) == 0, "a refused copy ended with status %s" % copy.returncode)
    box = d.box("Error")
    x, y, w, h = box.rect
    check(box.pid == running.process.pid, "the box is not the running copy's: %s" % (box,))
    wait_until("the box on top", lambda: d.shot().fraction_of((x + w // 3, y + h // 2, w // 2, h // 3),
                                                              (239, 239, 239), 16) > 0.5)
    d.shot("refused")
    d.answer(box)


def startup(d, exe):
    """Another user holding the key's names first keeps nothing from starting, and saying "started" on them
    is not heard; a second copy refused; a killed copy blocks nothing; of twenty at once one runs; then, as
    another user, a copy with a picture it cannot read and one missing: stand-ins, and a line for each."""
    run = d.env["XDG_RUNTIME_DIR"]  # the key: a file there, or a name in the abstract namespace
    keys = ["@merendella-%d-%s" % (os.getuid(), hashlib.sha1(os.path.realpath(run).encode()).hexdigest()[:12]),
            os.path.join(run, "org.merendella.Merendella")]
    holder = ROOT and stranger(d, "hold", keys)
    first = Game(d, exe)
    first.title()
    if ROOT:
        d.end(holder)
        said = log_of(stranger(d, "tell", keys))
        check("told" not in said and not [w for w in d.windows() if w.title == "Error"], "a stranger heard: " + said)
    # the display and the session spelled otherwise: the same user
    refused(d, d.spawn([exe], "second", env=dict(d.env, DISPLAY=d.env["DISPLAY"] + ".0", XDG_SESSION_ID="2")), first)
    first.focused(AVVIO, TITLE)
    first.process.kill()
    crowd = [Game(d, exe) for _ in range(20)]

    def nineteen_ended():  # a copy that got no answer within a second shows the box itself, and ends once answered
        for box in [w for w in d.windows() if w.title == "Error"]:
            d.answer(box)
        return sum(g.process.poll() == 0 for g in crowd) == 19
    wait_until("nineteen copies to end", nineteen_ended, 2 * WAIT)
    running = [g for g in crowd if g.process.poll() is None]
    check(len(running) == 1, "%d copies run at once" % len(running))
    refused(d, d.spawn([exe], "late"), running[0])  # the one that runs took over the killed copy's key
    user = "nobody" if ROOT else None
    if not user:  # the same user runs one copy at a time
        print("another user: not tried, only root starts a copy as one")
        d.end(running[0].process)
    g = Game(d, share(d, exe), user=user)
    g.title()
    d.click(*g.point(AVVIO, TITLE))
    g.menu()
    d.click(*g.point(TORTE, MENU))
    g.game()
    d.shot("stand-ins")
    said = [line for line in log_of(g.process).splitlines() if "cannot show picture" in line]
    check(0 < len(said) <= 2 and all(re.search(r"torta(2\.jpg: permission denied|1\.jpg: file not found)$", line)
                                     for line in said), "what the game said: %s" % said)


def stranger(d, how, keys):
    """tests/desktop/stranger.py as user nobody (in Debian's Python, which any user may run), once it said a
    line for each key."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "stranger.py")) as script:
        p = d.spawn(["/usr/bin/python3", "-c", script.read(), how] + keys, "stranger-" + how, user="nobody")
    wait_until("the stranger", lambda: log_of(p).count("\n") == len(keys))
    return p


def share(d, exe):
    """The program with its sounds and pictures, all but one readable by every user and torta1 missing,
    as installed: the checkout may lie in a folder that other users cannot enter."""
    folder = os.path.join(d.tmp, "game")
    for name in ("img", "sounds"):
        shutil.copytree(os.path.join(os.path.dirname(exe), name), os.path.join(folder, name))
    shutil.copy(exe, folder)
    for path, _, files in os.walk(folder):
        for f in [path] + [os.path.join(path, f) for f in files]:
            os.chmod(f, 0 if f.endswith("torta2.jpg") else 0o755)
    os.remove(os.path.join(folder, "img", "torta1.jpg"))
    return os.path.join(folder, os.path.basename(exe))


def sounds(d, exe):
    """Through a real sound server, recorded from well before the first move: every move's cues come out
    short (the longest, the swap, sounds for 0.38 s), and after the last swap the cheer, for seconds (2.26 s
    above the threshold, 3.1 s in all). Which cue a move plays, and M, are checked offscreen."""
    env = d.sound_server()
    g = Game(d, exe, env=env)
    g.title()
    d.click(*g.point(AVVIO, TITLE))
    g.menu()
    d.click(*g.point(TORTE, MENU))
    board = g.deal(TARTS)
    d.record(env)
    time.sleep(1)
    g.win(board, TARTS, "drag")
    time.sleep(4)
    heard = d.stop()
    print("heard: %s" % heard)
    *moves, cheer = heard["runs"] or [0]
    check(len(moves) >= 2 and all(run < 0.7 for run in moves) and 1.2 < cheer < 4, "heard: %s" % heard)
    g.congratulated()


def speech(d, exe, voice="roa/it"):
    """Through a real speech service: the instructions heard as a game opens, the praise at a win; muted,
    nothing. With another language's voice only, nothing at all, and a line that says why."""
    env = d.speech_server(d.sound_server(), voice)
    g = Game(d, exe, env=env)
    g.title()
    d.key("Return")
    g.menu()
    d.record(env, "voice")
    d.key("Tab", "Tab", "Return")  # "Torte"
    board = g.deal(TARTS)
    time.sleep(8)
    heard = {"instructions": d.stop()}
    if voice != "roa/it":
        return check(heard["instructions"]["peak"] == 0 and "no speech: no Italian voice" in log_of(g.process),
                     "heard %s; the game said: %s" % (heard, log_of(g.process)))
    g.win(board, TARTS, "keys", last=lambda: d.record(env, "voice"))
    time.sleep(4)
    heard["praise"] = d.stop()
    g.congratulated()
    d.key("m")
    d.record(env, "voice")
    d.key("F1")
    time.sleep(3)
    heard["muted"] = d.stop()
    check(heard["instructions"]["loud"] > 2 and heard["praise"]["loud"] > 1 and heard["muted"]["peak"] == 0,
          "heard: %s" % heard)


def atspi(d):
    """Debian's python3-pyatspi, reading the accessibility bus of the desktop's session bus."""
    os.environ.update(DISPLAY=d.env["DISPLAY"], DBUS_SESSION_BUS_ADDRESS=d.env["DBUS_SESSION_BUS_ADDRESS"])
    import pyatspi
    return pyatspi


Seen = namedtuple("Seen", "name role role_name")


def objects(pyatspi, showing=True):
    """The game's objects on the accessibility bus, those on screen or all of them, each read as it is found (its
    name, role and role's name): one that goes meanwhile, as a screen or a notification gives way, is left out."""
    from gi.repository import GLib
    app = wait_until("the game on the bus", lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                                         if a and a.name == "Merendella"), None))

    def read(node):  # what it is and its children; nothing of an object gone since its parent named it
        try:  # a gone object's child count is -1, which list() refuses
            return Seen(node.name, node.getRole(), node.getRoleName()), list(node)
        except (GLib.GError, ValueError):
            return None, []

    def shown(node):
        try:
            return node and (not showing or node.getState().contains(pyatspi.STATE_SHOWING))
        except GLib.GError:
            return False
    found, todo = [], [app]
    while todo:
        seen, children = read(todo.pop())
        found += [seen] if seen else []
        todo += [c for c in children if shown(c)]
    return found


def english(d, exe):
    """An English desktop starting straight in the tarts game: the instructions heard at once (before the voice is
    ready, the game opened: they wait for it) through an English voice, a swap told as the card's new face and the
    moves, the congratulation counting them."""
    pyatspi = atspi(d)
    env = d.speech_server(d.sound_server(), "gmw/en")
    d.record(env, "voice")
    g = Game(d, exe, "--game=torte", env=dict(env, LANGUAGE="en", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    board = g.deal(TARTS)
    d.shot("tarts")
    time.sleep(6)
    heard, told = d.stop(), []
    g.win(board, TARTS, "drag", last=lambda: told.extend(o.name for o in objects(pyatspi, False)
                                                          if o.role == pyatspi.ROLE_NOTIFICATION))
    box = d.box("Zuccheriva")
    said = [o.name for o in objects(pyatspi) if o.role == pyatspi.ROLE_LABEL and "moves" in o.name]
    d.shot("congratulation")
    d.answer(box)
    check(heard["loud"] > 2.5 and re.fullmatch(r"tart with (no strawberries|1 strawberry|\d strawberries), Moves 4",
                                               "".join(told)) and said == ["Well done! You did it in 5 moves!"],
          "heard %s, told %s, said %s" % (heard, told, said))


def pseudo(d, exe):
    """In a pseudo-translation (every text marked «…» and longer): from the title to a won game and back to the
    menu, every object a screen reader finds named, every name and every word given to the voice marked."""
    pyatspi, folder = atspi(d), d.folder("pseudo")
    for name in os.listdir(os.path.dirname(exe)):  # the program, its modules, pictures, sounds and languages
        if name.startswith("merendella") or name in ("img", "sounds", "translations"):
            at = os.path.join(os.path.dirname(exe), name)
            (shutil.copytree if os.path.isdir(at) else shutil.copy)(at, os.path.join(folder, name))
    shutil.copy(os.path.join(os.path.dirname(exe), "..", "tests", "pseudo", "translations", "merendella_eo.qm"),
                os.path.join(folder, "translations"))
    env = d.speech_server(d.sound_server(), written="eo")
    g, names = Game(d, os.path.join(folder, "merendella"), "--language=eo", env=dict(
        env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")), set()
    box = lambda: wait_until("a box", lambda: next((w for w in d.windows() if "DIALOG" in w.state), None))  # noqa
    look = lambda box=False: names.update(o.name or ("" if box else "(%s)" % o.role_name)  # the box's frame
                                          for o in objects(pyatspi))  # noqa: E731
    g.title(), look(), d.shot("title"), d.key("Return")
    g.menu(), look(), d.shot("menu"), d.key("Tab", "Tab", "Return")
    board = g.deal(TARTS)
    d.key("F1", "h")
    g.win(board, TARTS, "keys")
    won = box()
    look(True), d.shot("congratulation"), d.answer(won), d.key("Escape")
    leaving = box()
    look(True), d.answer(leaving)
    g.menu()
    said = open(os.path.join(d.tmp, "eo.said"), encoding="utf-8").read().splitlines()
    bare = lambda text: re.sub("«[^«»]*»", "", text) if "«" in text else text  # noqa: E731
    left = [t for t in names | set(said) if t not in ("Merendella", "OK", "Yes", "No") and  # the program, Qt's own
            re.sub(r"[\s,.!?]", "", functools.reduce(lambda t, _: bare(t), range(3), t))]
    check(len(said) >= 8 and not left, "not translated: %s (the voice said %d texts)" % (left, len(said)))


# How a game ends: the sound server's and the speech service's state (absent, run, held: SIGSTOP before the
# game starts; in the middle of the game stop: SIGSTOP, kill: SIGKILL), and the way out: "Esci" answered Yes,
# a signal, the X server or the Wayland compositor (sway) killed.
ENDINGS = {"sound-absent": ("absent", "absent", "esci"), "sound-running": ("run", "absent", "esci"),
           "sound-stopped": ("stop", "absent", "esci"), "sound-killed": ("kill", "absent", "esci"),
           "speech-running": ("run", "run", "esci"), "speech-stopped": ("run", "stop", "esci"),
           "speech-killed": ("run", "kill", "esci"), "sigterm-question": ("run", "stop", "sigterm"),
           "sighup-drag": ("stop", "run", "sighup"), "x-killed": ("run", "run", "x"),
           "sound-held-esci": ("held", "absent", "esci"), "sound-held-sigterm": ("held", "absent", "sigterm"),
           "sound-held-x-killed": ("held", "absent", "x"), "sound-held-sway-killed": ("held", "absent", "sway"),
           "speech-held-x-killed": ("run", "held", "x")}


def ending(d, exe, row):
    """A game opens, a swap, F1, back to the menu and "Esci"/Yes (or the row's other way out) with its services
    broken: the process ends, says so of a thread held from the start, leaving no process behind, and the next
    copy shows its title."""
    sound, speech, way = ENDINGS[row]
    ctypes.CDLL(None).prctl(36, 1)  # PR_SET_CHILD_SUBREAPER: what the game leaves behind comes to the test
    env = d.no_sound_env() if sound == "absent" else d.sound_server()
    env = d.speech_server(env) if speech != "absent" else env
    servers = {c.args[0]: c for c in d.children}

    def hurt(now):
        for state, server in ((sound, "pulseaudio"), (speech, "speech-dispatcher")):
            if state in now:
                servers[server].send_signal(signal.SIGKILL if state == "kill" else signal.SIGSTOP)
    hurt(["held"])
    g = Game(d, exe, env=env)
    g.title()
    d.key("Return")
    g.menu()
    d.key("Tab", "Tab", "Return")  # "Torte"
    board = g.deal(TARTS)
    hurt(["stop", "kill"])
    g.swap("drag", (0, 0), (2, 0), board, TARTS)
    d.key("F1")
    if way == "sighup":
        d.move(*g.point(card_rect(1, 1), GAME)), d.button(True), d.move(*g.point(card_rect(2, 3), GAME))
        g.process.send_signal(signal.SIGHUP)
    elif way in ("x", "sway"):
        d.children[0].kill()  # the display server, the first started
    else:
        g.leave()
        d.click(*g.point(ESCI, MENU))
        box = d.box("Merendella")
        g.process.send_signal(signal.SIGTERM) if way == "sigterm" else d.answer(box)
    try:
        g.process.wait(5)
    except subprocess.TimeoutExpired:
        raise Failure("the game still runs 5 s after it was to end")
    said, gone = log_of(g.process), way in ("x", "sway")
    check(g.process.returncode == gone and said.count("display went away") == gone and all(
        "the %s thread still waits" % m in said for m, state in (("sound", sound), ("speech", speech)) if state ==
        "held" and not gone), "ended with status %s, saying %s" % (g.process.returncode, said))  # in order
    left = [p for p in d.run(["ps", "-o", "pid=,args=", "--ppid", str(os.getpid())]).splitlines() if int(
        p.split()[0]) not in {c.pid for c in d.children} and not re.search(r"^\d+ \[?(ps|sd_|swaybar)", p.strip())]
    check(not left, "processes left behind: %s" % left)
    for server in servers.values():
        server.kill() if server.args[0] in ("pulseaudio", "speech-dispatcher") and sound != "absent" else None
    if gone:
        d.restart()
    if way == "sighup":
        d.button(False)
    g = Game(d, exe, env=dict(env, **{k: v for k, v in d.env.items() if k in ("DISPLAY", "WAYLAND_DISPLAY")}))
    g.title()
    check(not [w for w in d.windows() if w.title == "Error"], "the next copy was refused")


def classroom(d, exe):
    """--help with no display at all, a bad option with no window; the stickers board first, no voice loaded; in
    classroom mode (merendella.conf) Alt+F4 and minimising leave the game on the display, Ctrl+Shift+Q ends it."""
    bare = {k: v for k, v in d.env.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
    helped, bad, nowhere = (subprocess.run([exe, *option], env=env, capture_output=True, text=True, timeout=WAIT)
                            for option, env in ((["--help"], bare), (["--game=tetris"], d.env), ([], bare)))
    check(helped.returncode == 0 and helped.stdout.startswith("Usage: merendella [options]\n"), "--help: %s" % helped)
    check(nowhere.returncode == 1 and "no display found" in nowhere.stderr, "no display: %s" % nowhere)
    check(bad.returncode == 2 and bad.stderr == "merendella: bad value --game=tetris; it takes torte or figurine\n"
          and not d.windows(), "a bad option: %s" % bad)
    with open(os.path.join(d.folder("config/merendella"), "merendella.conf"), "w") as conf:  # XDG_CONFIG_HOME
        conf.write("# set by a grown-up\nkiosk = true\n")
    g = Game(d, exe, "--game=figurine", "--no-voice")
    board = g.deal(STICKERS, g.game())
    d.shot("first-screen")
    for gesture in ("close", "minimise"):
        d.key("alt+F4") if gesture == "close" else d.minimise(d.windows(g.process.pid)[0])
        time.sleep(1)
        check(g.board(g.game(), STICKERS) == board, "the game changed after %s" % gesture)
    d.key("ctrl+shift+q")
    check(g.process.wait(WAIT) == 0 and "speech" not in log_of(g.process), "the end: %s" % log_of(g.process))


def reader(d, exe):
    """With Orca: on the tarts screen a card heard as the arrows reach it, a pick (Space's also as selected), a
    swap as the card's new face and the count, a box as it opens; the game's voice leaves the captions to Orca
    and says the instructions. Another Orca of the same user (a process of that name) is left alone."""
    os.symlink(shutil.which("sleep"), os.path.join(d.tmp, "orca"))
    other, sound = d.spawn([os.path.join(d.tmp, "orca"), "600"], "other-orca"), d.sound_server()
    orca, env = d.screen_reader(d.speech_server(sound, sink="reader")), d.speech_server(sound)
    check(other.poll() is None, "another Orca of the same user ended as the test's started")
    d.record(env, "voice")
    g = Game(d, exe, env=env)
    g.title()
    d.key("Return")
    g.menu()
    d.key("Tab", "Tab")
    time.sleep(3)
    captions = d.stop()
    d.record(env, "voice")
    d.key("Return")
    board = g.deal(TARTS)
    time.sleep(4)
    instructions = d.stop()
    check(captions["peak"] == 0 and instructions["loud"] > 2, "the game's voice: %s, %s" % (captions, instructions))
    for keys in (["Right"], ["Down"], ["space"], ["space"], ["Return"], ["Up"], ["Return"], ["Escape"]):
        d.key(*keys)
        time.sleep(2)
    d.end(orca)  # which writes out all it said
    heard = re.findall(r"SPEECH OUTPUT: '(.*?)'", open(orca.said).read())
    tart = [{0: "tortina senza fragole", 1: "tortina con 1 fragola"}.get(n, "tortina con %d fragole" % n)
            for n in (TARTS[row[0]] for row in board)]
    said = ["Torte push button.", "return ", "Merendella, tortine.", tart[0] + " image.", "primo bambino, carta 1 di 7.",
            tart[1] + " image.", "secondo bambino, carta 1 di 7.", "space ", "notification %s, presa." % tart[1],
            "selected", "space ", "return ", "notification %s, presa." % tart[1], tart[0] + " image.", "return ",
            "notification %s, Mosse 1." % tart[1], "vuoi tornare al menù? "]
    print("Orca said: %s" % heard)
    ordered = iter(heard)
    check(all(line in ordered for line in said) and sum("Torte" in line for line in heard) == 1, "heard: %s" % heard)


SCENARIOS = {"journey": (X11, journey), "taps": (X11, lambda d, e: journey(d, e, "tap")),
             "keys": (X11, lambda d, e: journey(d, e, "keys")), "panel": (lambda *a: X11(*a, panel=True), journey),
             "wayland": (Sway, wayland), "startup": (X11, startup), "sound": (X11, sounds), "speech": (X11, speech),
             "speech-english": (X11, lambda d, e: speech(d, e, "gmw/en")),
             "english": (lambda *a: X11(*a, bus=True), english), "pseudo": (lambda *a: X11(*a, bus=True), pseudo),
             "reader": (lambda *a: X11(*a, bus=True), reader),
             "classroom": (lambda *a: X11(*a, panel=True), classroom), "scanning": (X11, scanning),
             "levels": (X11, levels)}

if __name__ == "__main__":
    exe, scenario, size, shots = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3], os.path.abspath(sys.argv[4])
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))  # the desktop is cleaned up on the way out
    row = scenario[len("ending-"):]
    make, play = SCENARIOS.get(scenario) or (Sway if ENDINGS[row][2] == "sway" else X11, functools.partial(
        ending, row=row))
    with make(*(int(v) for v in size.split("x")), shots) as desktop:
        try:
            play(desktop, exe)
        except Failure as failure:
            logs = "\n".join("--- %s ---\n%s" % (c.args[0], log_of(c)[-1500:]) for c in desktop.children[1:])
            try:  # the display may be what failed
                windows = (desktop.shot("failure"), desktop.windows())[1]
            except Failure as why:
                windows = why
            sys.exit("FAILED: %s\n(screenshots in %s; windows %s)\n%s" % (failure, shots, windows, logs))
    print("ok: %s at %s (screenshots in %s)" % (scenario, size, shots))
