#!/usr/bin/env python3
"""Plays Merendella in a private X server with real mouse and keyboard events.

usage: merendella_x11.py EXE SCENARIO [--size WxH] [--wm] [--shots DIR] [--docs DIR]

Scenarios: startup, journey, focus, second-copy, pointers. Exit status 0 when every check
held; otherwise the first failed check is printed and the status is 1.
"""

import argparse
import os
import signal
import subprocess
import sys
import time

# The source tree stays clean of compiled modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x11session import Failure, Session, near, picture_signature, signature_distance, wait_until  # noqa: E402

# Screen designs, in twips: the layout scales each to the window's client area.
TITLE_CLIENT = (9780, 7590)
AVVIO = (2880, 5760, 4110, 1275)
MENU_CLIENT = (10860, 7965)
TORTE = (3720, 720, 3375, 735)
FIGURINE = (3720, 1680, 3375, 735)
MENU_ESCI = (3840, 6120, 3375, 1215)
GAME_CLIENT = (10275, 7440)
RESTART = (7920, 6240, 1815, 855)
MOVES = (5520, 6480, 1575, 495)
CARD_LEFT, CARD_PITCH, HAND_TOPS, CARD_SIZE = 840, 1320, (720, 2160, 3600), 1215

APRICOT = (255, 224, 192)
PALETTE = [(255, 192, 192), (255, 128, 128), (255, 128, 0), (255, 192, 128), (255, 255, 192), (192, 64, 0),
           (128, 255, 128), (192, 255, 255), (0, 255, 255), (192, 192, 255), (255, 192, 255), (224, 224, 224),
           (255, 0, 255)]
# The pictures as drawn, from the source tree: a card must look like the value it counts for.
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "img")
TARTS = {"torta%d.jpg" % n: n for n in range(5)}
STICKERS = {"figurine%d.jpg" % n: n for n in (1, 2, 3, 4, 5, 7, 10)}


def check(condition, message):
    if not condition:
        raise Failure(message)


class Game:
    """The game under test, with what the driver knows of its screens."""

    def __init__(self, session, exe):
        self.s = session
        self.exe = exe
        self.process = None
        self.menubar = None
        self.signatures = {}

    def start(self):
        self.process = self.s.spawn([self.exe], log="merendella")
        return self.process

    def alive(self):
        return self.process.poll() is None

    def ensure_alive(self):
        if not self.alive():
            raise Failure("the game ended (status %s; %s): %s" % (self.process.returncode, self.s.server_state(),
                                                                  self.s.log_of(self.process)[-800:]))

    # ---- where things are ----

    def point(self, rect, client, top=0):
        """The centre of a designed rectangle on a window whose client starts at top."""
        x, y, w, h = rect
        ch = self.s.height - top
        return ((x + w / 2) / client[0] * self.s.width, top + (y + h / 2) / client[1] * ch)

    def area(self, rect, client, top=0, shrink=0.0):
        x, y, w, h = rect
        sx, sy = self.s.width / client[0], (self.s.height - top) / client[1]
        return (int((x + w * shrink) * sx), int(top + (y + h * shrink) * sy),
                int(w * (1 - 2 * shrink) * sx), int(h * (1 - 2 * shrink) * sy))

    def card_area(self, hand, index):
        return self.area((CARD_LEFT + CARD_PITCH * index, HAND_TOPS[hand], CARD_SIZE, CARD_SIZE), GAME_CLIENT,
                         self.menubar)

    def card_point(self, hand, index):
        return self.point((CARD_LEFT + CARD_PITCH * index, HAND_TOPS[hand], CARD_SIZE, CARD_SIZE), GAME_CLIENT,
                          self.menubar)

    # ---- which screen is showing ----

    def is_title(self, shot):
        top, bottom = shot.pixel(5, 0), shot.pixel(5, shot.height - 1)
        return near(top, (19, 255, 228), 2) and near(bottom, (19, 0, 228), 2)

    def menu_colour(self, shot):
        # Left of the buttons, half way down: nothing but the background there.
        colour = shot.pixel(shot.width * 0.12, shot.height * 0.5)
        return colour if colour in PALETTE else None

    def game_menubar(self, shot):
        """The height of the menu bar when the game screen shows, else None."""
        x = 3
        if not near(shot.pixel(x, shot.height * 0.5), APRICOT, 2):
            return None
        for y in range(0, min(200, shot.height)):
            if near(shot.pixel(x, y), APRICOT, 2):
                return y if y > 5 else None
        return None

    def wait_screen(self, what, probe):
        def ready():
            self.ensure_alive()
            if not self.s.covering_window(self.process.pid):
                return None
            shot = self.s.shot()
            return probe(shot) and shot
        return wait_until(what, ready)

    def wait_title(self):
        return self.wait_screen("the title screen to cover the display", self.is_title)

    def wait_menu(self):
        return self.wait_screen("the menu to cover the display", self.menu_colour)

    def wait_game(self):
        shot = self.wait_screen("a game screen to cover the display", self.game_menubar)
        self.menubar = self.game_menubar(shot)
        return shot

    # ---- the board ----

    def classify(self, shot, kinds):
        """The picture file each of the 21 cards shows, read from a screenshot."""
        for name in kinds:
            if name not in self.signatures:
                self.signatures[name] = picture_signature(os.path.join(PICTURES, name))
        board = []
        for hand in range(3):
            row = []
            for index in range(7):
                seen = shot.signature(self.card_area(hand, index))
                scored = sorted((signature_distance(seen, self.signatures[n]), n) for n in kinds)
                best, name = scored[0]
                check(best < 40 and scored[1][0] - best > 6,
                      "card %d/%d matches no picture well (best %s %.1f, next %s %.1f)"
                      % (hand, index, name, best, scored[1][1], scored[1][0]))
                row.append(name)
            board.append(row)
        return board

    def check_fresh_deal(self, board, kinds):
        """Each child holds seven alike cards, three kinds whose values are evenly spaced."""
        for hand, row in enumerate(board):
            check(len(set(row)) == 1, "hand %d is not seven alike cards: %s" % (hand, row))
        values = sorted(kinds[row[0]] for row in board)
        check(len(set(values)) == 3 and values[1] - values[0] == values[2] - values[1],
              "the deal's values are not three evenly spaced ones: %s" % board)

    def swap(self, a, b):
        self.s.drag(self.card_point(*a), self.card_point(*b))

    def play_to_win(self, board, kinds, name):
        """Swaps cards until the three hands total the same; returns the board as it should look."""
        order = sorted(range(3), key=lambda h: kinds[board[h][0]])
        low, mid, high = order
        # High and low hands trade three cards, then each gives one to the middle hand for one
        # of its cards: 3 high + 1 middle + 3 low is seven middles, as is 1 high + 5 middle + 1 low.
        moves = [((high, i), (low, i)) for i in range(3)] + [((high, 3), (mid, 0)), ((low, 3), (mid, 1))]
        expected = [row[:] for row in board]
        for number, (a, b) in enumerate(moves):
            expected[a[0]][a[1]], expected[b[0]][b[1]] = expected[b[0]][b[1]], expected[a[0]][a[1]]
            before = self.s.shot()
            self.swap(a, b)
            if number < len(moves) - 1:
                self.wait_board(expected, kinds, "swap %d of %s" % (number + 1, name), before)
        return expected

    def wait_board(self, expected, kinds, what, before=None):
        def shows():
            self.ensure_alive()
            shot = self.s.shot()
            # The moves label changes with every swap: read the cards only after it has.
            if before is not None and shot.region(self.moves_area()) == before.region(self.moves_area()):
                return None
            return self.classify(shot, kinds) == expected and shot
        return wait_until(what + " to show on the board", shows)

    def moves_area(self):
        return self.area(MOVES, GAME_CLIENT, self.menubar)

    def restart_area(self):
        return self.area(RESTART, GAME_CLIENT, self.menubar, shrink=0.05)

    def restart_visible(self, shot):
        return shot.fraction_of(self.restart_area(), APRICOT) < 0.6

    # ---- leaving ----

    def leave_game(self, screenshot_name):
        self.s.click(12, self.menubar / 2)
        box = self.s.box("Merendella")
        self.s.shot(screenshot_name)
        self.s.answer(box)
        return self.wait_menu()

    def quit_from_menu(self):
        self.s.click(*self.point(MENU_ESCI, MENU_CLIENT))
        box = self.s.box("Merendella")
        self.s.shot("exit-question")
        self.s.answer(box)
        try:
            status = self.process.wait(WAIT_EXIT)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end after 'Esci' was confirmed")
        check(status == 0, "the game ended with status %d: %s" % (status, self.s.log_of(self.process)[-800:]))
        left = self.s.new_windows()
        check(not left, "windows still mapped after the game ended: %s" % left)


WAIT_EXIT = 30


def journey(s, exe, docs=None):
    game = Game(s, exe)
    game.start()

    title = game.wait_title()
    s.shot("title")
    check(near(title.pixel(5, 0), (19, 255, 228), 1), "title top row is %s" % (title.pixel(5, 0),))
    bottom = title.pixel(5, s.height - 1)
    check(bottom[0] == 19 and bottom[1] <= 2 and bottom[2] == 228, "title bottom row is %s" % (bottom,))
    if docs:
        s.save(title, os.path.join(docs, "title-%dx%d.png" % (s.width, s.height)), "50%")

    s.click(*game.point(AVVIO, TITLE_CLIENT))
    game.wait_menu()
    menu = s.shot("menu")
    check(game.menu_colour(menu), "menu background %s is not a palette colour" % (menu.pixel(s.width * 0.12, s.height * 0.5),))

    # Tarts: play a whole deal to the congratulation.
    s.click(*game.point(TORTE, MENU_CLIENT))
    game.wait_game()
    dealt = s.shot("tarts")
    board = game.classify(dealt, TARTS)
    game.check_fresh_deal(board, TARTS)
    check(not game.restart_visible(dealt), "the restart button shows before the game is won")
    game.play_to_win(board, TARTS, "tarts")
    box = s.box("Zuccheriva")
    s.shot("congratulation")
    s.answer(box)
    wait_until("the congratulation to close", lambda: s.gone(box))
    won = wait_until("the restart button to show", lambda: (lambda sh: game.restart_visible(sh) and sh)(s.shot()))
    s.shot("restart-shown")
    check(not s.windows(name="^Zuccheriva$"), "a second congratulation opened")

    s.click(*game.point(RESTART, GAME_CLIENT, game.menubar))
    redealt = wait_until("the board to be dealt again",
                         lambda: (lambda sh: not game.restart_visible(sh) and sh)(s.shot()))
    s.shot("tarts-again")
    game.check_fresh_deal(game.classify(redealt, TARTS), TARTS)
    check(redealt.region(game.moves_area()) == dealt.region(game.moves_area()),
          "the moves count did not start again from the first deal's")
    check(won.region(game.moves_area()) != dealt.region(game.moves_area()), "the moves count never changed")

    game.leave_game("tarts-exit-question")
    s.shot("menu-again")

    # Stickers: one swap between two hands.
    s.click(*game.point(FIGURINE, MENU_CLIENT))
    game.wait_game()
    dealt = s.shot("stickers")
    board = game.classify(dealt, STICKERS)
    game.check_fresh_deal(board, STICKERS)
    if docs:
        s.save(dealt, os.path.join(docs, "stickers-%dx%d.png" % (s.width, s.height)), "50%")
    expected = [row[:] for row in board]
    expected[0][2], expected[1][5] = expected[1][5], expected[0][2]
    game.swap((0, 2), (1, 5))
    swapped = game.wait_board(expected, STICKERS, "a swap of stickers", dealt)
    s.shot("stickers-swapped")
    untouched = [(h, i) for h in range(3) for i in range(7) if (h, i) not in ((0, 2), (1, 5))]
    for card in untouched:
        check(swapped.region(game.card_area(*card)) == dealt.region(game.card_area(*card)),
              "card %s changed although it took no part in the swap" % (card,))

    game.leave_game("stickers-exit-question")
    game.quit_from_menu()


def refuse_second_copy(s, exe):
    """Starts a second copy: it must show the "Error" box, and end with status 0 after Return."""
    second = s.spawn([exe], log="second")
    box = s.box("Error")
    s.shot("second-copy-refused")
    check(second.poll() is None, "the second copy ended before its box was answered")
    s.answer(box)
    try:
        status = second.wait(WAIT_EXIT)
    except subprocess.TimeoutExpired:
        raise Failure("the second copy did not end after its box was answered")
    check(status == 0, "the second copy ended with status %d" % status)

def startup(s, exe):
    first = Game(s, exe)
    first.start()
    first.wait_title()
    refuse_second_copy(s, exe)
    first.ensure_alive()
    check(s.covering_window(first.process.pid), "the first copy's window went away")

    # A copy that died without cleaning up must not block the next start.
    os.kill(first.process.pid, signal.SIGKILL)
    first.process.wait()
    wait_until("the killed copy's windows to go", lambda: not s.windows(pid=first.process.pid))
    third = Game(s, exe)
    third.start()
    third.wait_title()
    s.shot("after-kill")
    check(not s.windows(name="^Error$"), "the start after a killed copy was refused")


def dealt_game(s, exe):
    game = Game(s, exe)
    game.start()
    game.wait_title()
    s.click(*game.point(AVVIO, TITLE_CLIENT))
    game.wait_menu()
    s.click(*game.point(FIGURINE, MENU_CLIENT))
    dealt = game.wait_game()
    game.check_fresh_deal(game.classify(dealt, STICKERS), STICKERS)
    return game


def board_area(game):
    """Cards, children, labels and restart button: everything below the menu bar."""
    return (0, game.menubar, game.s.width, game.s.height - game.menubar)


def focus(s, exe):
    game = dealt_game(s, exe)
    game.swap((2, 6), (0, 0))
    time.sleep(1)
    before = s.shot("before-focus")
    game_window = s.covering_window(game.process.pid)
    other = s.spawn(["xmessage", "-center", "another program"], log="xmessage")
    window = wait_until("xmessage to map", lambda: (s.windows(pid=other.pid) or s.windows(name="^xmessage$") or [None])[0])
    s.x(["xdotool", "windowactivate", "--sync", str(window)])
    time.sleep(1)
    s.shot("other-focused")
    s.x(["xdotool", "windowactivate", "--sync", str(game_window)])
    time.sleep(1.5)
    after = s.shot("after-focus")
    game.ensure_alive()
    check(after.region(board_area(game)) == before.region(board_area(game)),
          "the board changed when the game lost and got back the focus")


def second_copy(s, exe):
    game = dealt_game(s, exe)
    game.swap((1, 3), (2, 4))
    time.sleep(1)
    before = s.shot("playing")
    refuse_second_copy(s, exe)
    time.sleep(1)
    after = s.shot("after-second-copy")
    game.ensure_alive()
    check(after.region(board_area(game)) == before.region(board_area(game)),
          "the first copy's board changed when a second copy was refused")


SCENARIOS = {"journey": journey, "startup": startup, "focus": focus, "second-copy": second_copy}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("scenario", choices=sorted(SCENARIOS) + ["pointers"])
    parser.add_argument("--size", default="1366x768")
    parser.add_argument("--wm", action="store_true", help="run openbox as window manager")
    parser.add_argument("--shots", default=None, help="folder for the screenshots of the run")
    parser.add_argument("--docs", default=None, help="also write the README's screenshots there")
    args = parser.parse_args()

    width, height = (int(v) for v in args.size.split("x"))
    shots = args.shots or os.path.join(os.getcwd(), "screenshots", args.scenario)
    exe = os.path.abspath(args.exe)
    # Focus changes need a window manager to carry them out.
    wm = args.wm or args.scenario == "focus"
    session = Session(width, height, shots, window_manager=wm)
    try:
        if args.scenario == "pointers":
            import pointers
            pointers.run(session, Game(session, exe))
        elif args.scenario == "journey":
            journey(session, exe, args.docs)
        else:
            SCENARIOS[args.scenario](session, exe)
    except Failure as failure:
        try:
            session.shot("failure")
        except Exception:
            pass
        print("FAILED: %s\n(screenshots in %s)" % (failure, shots), file=sys.stderr)
        for child in session.children[1:]:
            if hasattr(child, "log_path"):
                text = session.log_of(child).strip()
                if text:
                    print("--- %s ---\n%s" % (os.path.basename(child.log_path), text[-1500:]), file=sys.stderr)
        return 1
    finally:
        session.close()
    print("ok: %s at %dx%d%s (screenshots in %s)" % (args.scenario, width, height, " with openbox" if wm else "", shots))
    return 0


if __name__ == "__main__":
    sys.exit(main())
