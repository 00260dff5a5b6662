#!/usr/bin/env python3
"""Plays Merendella on real desktops with real input: usage: play.py GAME SCENARIO [WxH] [SHOTS].
Exit status 0 when every check held, 1 with the first that did not, 77 when the scenario cannot
run here (it says why)."""

import os, re, shutil, signal, subprocess, sys, time  # noqa: E401

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import PANEL, WAIT, Failure, Sound, Sway, X11, log_of, near, wait_until  # noqa: E402

# Screen designs in twips; each is scaled to its window's client area.
TITLE, AVVIO = (9780, 7590), (2880, 5760, 4110, 1275)
MENU, TORTE, FIGURINE, ESCI = (10860, 7965), (3720, 720, 3375, 735), (3720, 1680, 3375, 735), (3840, 6120, 3375, 1215)
GAME, RESTART, MOVES, WORDS = (10275, 7440), (7920, 6240, 1815, 855), (5520, 6480, 1575, 495), (240, 5520, 4335, 1695)
APRICOT, TOP, BOTTOM = (255, 224, 192), (19, 255, 228), (19, 0, 228)
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "img")
TARTS = {"torta%d.jpg" % n: n for n in range(5)}
STICKERS = {"figurine%d.jpg" % n: n for n in (1, 2, 3, 4, 5, 7, 10)}


def check(condition, message):
    if not condition:
        raise Failure(message)


def picture_signature(name, grid=16, inset=0.08):
    """A card picture's grid of mean colours, as Shot.signature reads one off the screen."""
    side = int(512 * (1 - 2 * inset))
    out = subprocess.run(["convert", os.path.join(PICTURES, name), "-resize", "512x512!", "-gravity", "center", "-crop",
                          "%dx%d+0+0" % (side, side), "+repage", "-filter", "box", "-resize", "%dx%d!" % (grid, grid),
                          "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


class Game:
    """One copy of the game on a desktop, and what the driver knows of its screens."""

    def __init__(self, d, exe, **spawn):
        self.d, self.bar, self.signatures = d, 0, {}
        self.process = d.spawn([exe], "game", **spawn)

    def covering(self):
        """The game's window when it covers the whole display (full screen, over any panel)."""
        if self.process.poll() is not None:
            raise Failure("the game ended (status %s): %s" % (self.process.returncode, log_of(self.process)[-800:]))
        return next((w for w in self.d.windows(self.process.pid) if w.rect == (0, 0, self.d.width, self.d.height)
                     and (w.fullscreen or not self.d.panel_rect)), None)

    def wait_screen(self, what, probe):
        def ready():  # full screen, over the panel or the bar
            shot = self.covering() and self.d.shot()
            panel = self.d.panel_rect and shot and shot.fraction_of(self.d.panel_rect, PANEL, 8) > 0.3
            return shot and not panel and probe(shot) and shot
        shot = self.d.wait(what + " to cover the display and its panel", ready)
        time.sleep(0.6)  # a press in a screen's first moment is taken for half of a double click
        return shot

    def title(self):
        return self.wait_screen("the title", lambda s: near(s.pixel(5, 0), TOP, 2) and near(s.pixel(5, s.height - 1),
                                                                                               BOTTOM, 3))

    def menu(self):
        return self.wait_screen("the menu", lambda s: not near(s.pixel(5, 0), TOP, 2) and not self.menubar(s))

    def game(self):
        shot = self.wait_screen("a game", self.menubar)
        self.bar = self.menubar(shot)
        return shot

    def menubar(self, shot):
        """The menu bar's height when a game shows (apricot below it), else None."""
        if near(shot.pixel(3, shot.height / 2), APRICOT, 2):
            return next((y for y in range(1, 200) if near(shot.pixel(3, y), APRICOT, 2)), None)

    def area(self, rect, design, shrink=0.0):
        sx, sy = self.d.width / design[0], (self.d.height - self.bar) / design[1]
        x, y, w, h = rect
        return (int((x + w * shrink) * sx), int(self.bar + (y + h * shrink) * sy), int(w * (1 - 2 * shrink) * sx),
                int(h * (1 - 2 * shrink) * sy))

    def point(self, rect, design):
        x, y, w, h = self.area(rect, design)
        return x + w / 2, y + h / 2

    def card(self, hand, index):
        return (840 + 1320 * index, (720, 2160, 3600)[hand], 1215, 1215)

    def board(self, shot, kinds):
        """The picture file each of the 21 cards shows, read off a screenshot."""
        for name in kinds:
            self.signatures.setdefault(name, picture_signature(name))
        board = []
        for h, i in ((h, i) for h in range(3) for i in range(7)):
            seen = shot.signature(self.area(self.card(h, i), GAME))
            scored = sorted((sum(sum((p - q) ** 2 for p, q in zip(a, b)) for a, b in zip(seen, self.signatures[n])), n)
                            for n in kinds)
            board.append(scored[0][1])
        return [board[7 * h:7 * h + 7] for h in range(3)]

    def deal(self, kinds, shot=None):
        """A fresh deal: seven alike cards a hand, three values evenly spaced; no card highlighted."""
        self.__dict__.pop("at", None)
        board = self.board(shot or self.game(), kinds)
        values = sorted(kinds[row[0]] for row in board)
        check(all(len(set(row)) == 1 for row in board) and values[1] * 2 == values[0] + values[2] != 2 * values[0],
              "not a fresh deal: %s" % board)
        return board

    def move(self, way, a, b):
        """Card a (hand, index) onto card b: dragged, tapped, or picked and dropped with the keys."""
        if way == "drag":
            self.d.drag(self.point(self.card(*a), GAME), self.point(self.card(*b), GAME))
        elif way == "tap":
            for card in (a, b):
                self.d.click(*self.point(self.card(*card), GAME))
        else:  # the highlight starts on the first card, and stays where the last move left it
            keys, at = (["Left"] if not hasattr(self, "at") else []), getattr(self, "at", (0, 0))
            for card in (a, b):
                keys += ["Down" if card[0] > at[0] else "Up"] * abs(card[0] - at[0])
                keys += ["Right" if card[1] > at[1] else "Left"] * abs(card[1] - at[1]) + ["Return"]
                at = self.at = card
            self.d.key(*keys)

    def win(self, board, kinds, way, last=lambda: None):
        """Evens the hands out with five moves, each waited for, calling last before the last."""
        low, mid, high = sorted(range(3), key=lambda h: kinds[board[h][0]])
        moves = [((high, i), (low, i)) for i in range(3)] + [((high, 3), (mid, 0)), ((low, 3), (mid, 1))]
        for n, (a, b) in enumerate(moves):
            board[a[0]][a[1]], board[b[0]][b[1]] = board[b[0]][b[1]], board[a[0]][a[1]]
            before = self.d.shot().region(self.area(MOVES, GAME))
            if n == 4:
                last()
            self.move(way, a, b)
            if n < 4:
                self.d.wait("move %d (%s) to show" % (n + 1, way), lambda: self.d.shot().region(self.area(MOVES, GAME))
                            != before and self.board(self.d.shot(), kinds) == board)
        return board

    def congratulated(self):
        box = self.d.box("Zuccheriva")
        self.d.shot("congratulation")
        self.d.answer(box)
        return self.d.wait("the restart button", lambda: (lambda s: s.fraction_of(self.area(RESTART, GAME, 0.05),
                                                                                 APRICOT) < 0.6 and s)(self.d.shot()))

    def leave(self, what):
        """Answers Yes to the question of leaving the game or the program, and waits for the menu or the end."""
        self.d.answer(self.d.box("Merendella"))
        if what == "game":
            return self.menu()
        check(self.process.wait(WAIT) == 0, "the game ended with status %s" % self.process.returncode)
        check(not self.d.windows(self.process.pid), "windows left after the game ended")

    def esci(self, way="drag"):
        self.d.key("Escape") if way == "keys" else self.d.click(12, self.bar / 2)
        return self.leave("game")


def journey(d, exe, way="drag"):
    """Title, menu, a tarts game won and restarted, a stickers swap, back and out: by mouse, taps or keys."""
    g = Game(d, exe)
    g.title()
    d.shot("title")
    if way == "keys":
        d.key("Return")  # "Avvio" holds the focus
    else:
        d.double_click(*g.point(AVVIO, TITLE))  # a double click opens the menu and nothing else
    g.menu()
    d.shot("menu")
    check(not [w for w in d.windows() if w.title == "Merendella" and w.state & {"DIALOG", "FLOATING"}],
          "a double click on Avvio asked a question")
    d.key("Tab", "Tab", "Return") if way == "keys" else d.click(*g.point(TORTE, MENU))
    dealt = g.game()
    board = g.deal(TARTS, d.shot("tarts"))
    if way == "keys" and d.width >= 3840:  # text a child reads across the room
        for rect, least in ((MOVES, 35), (WORDS, 30)):
            x, y, w, h = g.area(rect, GAME)
            rows = [r for r in range(y, y + h) if any(dealt.pixel(c, r)[0] < 90 for c in range(x, x + w, 2))]
            first_line = [r for n, r in enumerate(rows) if r - rows[0] == n]
            check(len(first_line) >= least, "text %d pixels tall where %d are wanted" % (len(first_line), least))
    g.win(board, TARTS, way)
    won = g.congratulated()
    d.shot("restart")
    d.key("Return") if way == "keys" else d.click(*g.point(RESTART, GAME))
    redealt = d.wait("a new deal", lambda: (lambda s: s.region(g.area(MOVES, GAME)) != won.region(
        g.area(MOVES, GAME)) and s)(d.shot()))
    g.deal(TARTS, redealt)
    g.esci(way)
    d.click(*g.point(FIGURINE, MENU))
    before = g.game()
    board = g.deal(STICKERS, before)
    g.move(way, (0, 2), (1, 5))
    board[0][2], board[1][5] = board[1][5], board[0][2]
    d.wait("a swap of stickers", lambda: g.board(d.shot(), STICKERS) == board)
    g.esci()
    d.click(*g.point(ESCI, MENU))
    g.leave("program")


def panel(d, exe):
    """Every screen over the panel; another program, minimising and restoring keep it so, with no new deal."""
    g = Game(d, exe)
    g.title()
    d.click(*g.point(AVVIO, TITLE))
    g.menu()
    d.click(*g.point(FIGURINE, MENU))
    board = g.deal(STICKERS)
    other = d.spawn(["xmessage", "-center", "un altro programma"], "xmessage")
    d.activate(d.wait("another program", lambda: next((w for w in d.windows() if w.pid != g.process.pid), None)))
    d.shot("other-program")
    d.end(other)
    window = g.covering() or next(iter(d.windows(g.process.pid)))
    for step in ("back", "minimised", "restored"):
        d.minimise(window) if step == "minimised" else d.activate(window)
        if step != "minimised":
            check(g.deal(STICKERS, g.game()) == board, "the board changed when the game came %s" % step)
    d.shot("restored")
    g.esci()


def wayland(d, exe):
    """A Wayland client: full screen over the bar, driven by keys and a pointer; one copy per session."""
    g = Game(d, exe, env=dict(d.env, XDG_SESSION_ID="merendella-7"))
    g.title()
    d.shot("title")
    d.key("Return")
    g.menu()
    d.key("Tab", "Tab", "Tab", "Return")  # "Figurine"
    board = g.deal(STICKERS)
    d.shot("board")
    g.move("drag", (2, 6), (0, 0))
    board[2][6], board[0][0] = board[0][0], board[2][6]
    d.wait("a dragged swap", lambda: g.board(d.shot(), STICKERS) == board)
    second = d.spawn([exe], "second", env=dict(d.env, XDG_SESSION_ID="merendella-7"))
    refused(d, second)
    # The same session seen as an X11 client: refused too; another session plays.
    with X11(800, 600, os.path.join(d.shots, "x11")) as x:
        refused(x, x.spawn([exe], "x11-copy", env=dict(x.env, XDG_SESSION_ID="merendella-7")))
        Game(x, exe, env=dict(x.env, XDG_SESSION_ID="merendella-8")).title()
    d.activate(next(iter(d.windows(g.process.pid))))  # back to the game, which is full screen again
    check(g.board(g.game(), STICKERS) == board, "the first copy's board changed")


def refused(d, copy):
    """A copy that finds another running shows the "Error" box, and ends with status 0 once it is answered."""
    d.answer(d.box("Error"))
    check(copy.wait(WAIT) == 0, "a refused copy ended with status %s" % copy.returncode)


def startup(d, exe):
    """A second copy refused; a killed copy blocks nothing; of twenty at once, one runs; two users each play."""
    first = Game(d, exe)
    first.title()
    refused(d, d.spawn([exe], "second"))
    first.process.kill()
    crowd = [Game(d, exe) for _ in range(20)]
    d.wait("nineteen refusals", lambda: len([w for w in d.windows() if w.title == "Error"]) == 19)
    running = [g for g in crowd if any(w.title != "Error" for w in d.windows(g.process.pid))]
    check(len(running) == 1, "%d copies run at once" % len(running))
    for g in crowd:
        for box in [w for w in d.windows(g.process.pid) if w.title == "Error"]:
            d.answer(box)
    if not d.can_switch_user():
        return print("two users: skipped, only root can start a copy as another user")
    other = Game(d, share(d, exe), user="nobody")
    d.wait("a second user's copy", lambda: [w for w in d.windows(other.process.pid) if w.title != "Error"])


def share(d, exe):
    """The program with its pictures and sounds, copied into the desktop's folder that every user can enter,
    as an installed game is: the checkout may lie where another user cannot reach."""
    folder = os.path.join(d.tmp, "game")
    os.makedirs(folder)
    for name in ("img", "sounds"):
        shutil.copytree(os.path.join(os.path.dirname(exe), name), os.path.join(folder, name))
    shutil.copy(exe, folder)
    for path, _, files in os.walk(folder):
        os.chmod(path, 0o755)
        for f in files:
            os.chmod(os.path.join(path, f), 0o755)
    return os.path.join(folder, os.path.basename(exe))


def bad_pictures(d, exe):
    """As a user: a picture that cannot be read, another missing: stand-ins with their values, one line each."""
    exe = share(d, exe)
    img = os.path.join(os.path.dirname(exe), "img")
    os.chmod(os.path.join(img, "torta2.jpg"), 0)
    os.remove(os.path.join(img, "torta1.jpg"))
    g = Game(d, exe, user="nobody" if d.can_switch_user() else None)
    g.title()
    d.click(*g.point(AVVIO, TITLE))
    g.menu()
    d.click(*g.point(TORTE, MENU))
    g.game()
    d.shot("stand-ins")
    g.esci()
    d.click(*g.point(ESCI, MENU))
    g.leave("program")
    lines = [line for line in log_of(g.process).splitlines() if "cannot show picture" in line]
    check(0 < len(lines) <= 2 and all(re.search(r"torta(2\.jpg: permission denied|1\.jpg: file not found)", line)
                                  for line in lines), "what the game said: %s" % lines)


def sounds(d, exe):
    """Through a real sound server: a swap and a win heard at their lengths; M silences them."""
    with Sound() as s:
        g = Game(d, exe, env=dict(d.env, **s.env))
        g.title()
        d.click(*g.point(AVVIO, TITLE))
        g.menu()
        d.click(*g.point(TORTE, MENU))
        board = g.deal(TARTS)
        heard = {}
        for what in ("swap", "muted swap", "win"):
            time.sleep(1)
            if what == "win":
                d.key("m")  # the sound on again; the last move's swap and the cheer are heard
                g.win(board, TARTS, "drag", last=s.record)
            else:
                s.record()
                if what == "muted swap":
                    d.key("m")
                g.move("drag", (1, 0), (1, 1))
            time.sleep(4)
            heard[what] = s.measure(s.stop(), 0.001)
            print("%s: %s" % (what, heard[what]))
        check(0.25 < heard["swap"]["loud"] < 0.6, "a swap sounds for %.2f s" % heard["swap"]["loud"])
        check(heard["muted swap"]["loud"] == 0, "a swap with the sound off is heard")
        check(1.8 < heard["win"]["loud"] < 4, "a win sounds for %.2f s" % heard["win"]["loud"])
        g.congratulated()


def silence(d, exe):
    """No sound server at all: a whole game to the congratulation, no error box, one line on standard error."""
    g = Game(d, exe, env=d.no_sound_env())
    g.title()
    d.click(*g.point(AVVIO, TITLE))
    g.menu()
    d.click(*g.point(TORTE, MENU))
    g.win(g.deal(TARTS), TARTS, "tap")
    g.congratulated()
    check(not [w for w in d.windows() if w.title == "Error"], "an error box opened")
    said = [line for line in log_of(g.process).splitlines() if "sound" in line.lower()]
    check(len(said) == 1 and "no sound" in said[0], "what the game said of sound: %s" % said)


def installed(d, exe):
    """As a user's machine gets it: valid desktop metadata, the installed tree, a Debian package with
    its sounds and pictures, and the installed program, started through its link, finding them all."""
    source, build = os.path.join(os.path.dirname(PICTURES)), os.path.dirname(os.path.dirname(exe))
    for tool, *args, name in (("desktop-file-validate", "desktop"), ("appstreamcli", "validate", "--no-net",
                                                                     "metainfo.xml")):
        d.run([tool, *args, os.path.join(source, "data", "org.merendella.Merendella." + name)])
    prefix = os.path.join(d.tmp, "prefix")
    d.run(["cmake", "--install", build, "--prefix", prefix])
    d.run(["cpack", "-G", "DEB", "-B", os.path.join(d.tmp, "deb"), "--config", os.path.join(build, "CPackConfig.cmake")])
    deb = next(os.path.join(d.tmp, "deb", f) for f in os.listdir(os.path.join(d.tmp, "deb")) if f.endswith(".deb"))
    listed, depends = d.run(["dpkg-deb", "-c", deb]), d.run(["dpkg-deb", "-f", deb, "Depends"])
    for path in ["lib/merendella/img/torta%d.jpg" % n for n in range(5)] + [
            "lib/merendella/sounds/%s.wav" % n for n in ("pick", "swap", "nothing", "click", "win")] + [
            "bin/merendella -> ../lib/merendella/merendella", "share/applications/org.merendella.Merendella.desktop",
            "share/icons/hicolor/256x256/apps/org.merendella.Merendella.png", "share/doc/merendella/copyright"]:
        check("./usr/" + path in listed, "the package lacks " + path)
        check(os.path.lexists(os.path.join(prefix, path.split(" ->")[0])), "the installed tree lacks " + path)
    check("libqt6multimedia6" in depends and "libqt6widgets6" in depends, "the package depends on " + depends)
    g = Game(d, os.path.join(prefix, "bin", "merendella"), cwd="/")
    g.title()
    d.click(*g.point(AVVIO, TITLE))
    g.menu()
    d.click(*g.point(FIGURINE, MENU))
    g.deal(STICKERS)
    check("cannot" not in log_of(g.process), "the installed game misses files: " + log_of(g.process))


SCENARIOS = {  # scenario: (desktop, what it plays)
    "journey": (X11, journey), "taps": (X11, lambda d, e: journey(d, e, "tap")),
    "keys": (X11, lambda d, e: journey(d, e, "keys")), "panel": (lambda *a: X11(*a, wm="panel"), panel),
    "panel-journey": (lambda *a: X11(*a, wm="panel"), journey), "wayland": (Sway, wayland),
    "startup": (X11, startup), "bad-pictures": (X11, bad_pictures), "sound": (X11, sounds), "silence": (X11, silence),
    "installed": (X11, installed),
}


def main():
    exe, scenario = os.path.abspath(sys.argv[1]), sys.argv[2]
    width, height = (int(v) for v in (sys.argv[3] if len(sys.argv) > 3 else "1366x768").split("x"))
    shots = os.path.abspath(sys.argv[4] if len(sys.argv) > 4 else os.path.join("shots", scenario))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))  # the desktop is cleaned up on the way out
    make, play = SCENARIOS[scenario]
    with make(width, height, shots) as d:
        try:
            play(d, exe)
        except Failure as failure:
            d.shot("failure")
            logs = "\n".join("--- %s ---\n%s" % (c.args[0], log_of(c)[-1500:]) for c in d.children[1:])
            sys.exit("FAILED: %s\n(screenshots in %s)\n%s" % (failure, shots, logs))
    print("ok: %s at %dx%d (screenshots in %s)" % (scenario, width, height, shots))


if __name__ == "__main__":
    main()
