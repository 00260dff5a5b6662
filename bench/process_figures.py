#!/usr/bin/env python3
"""Whole-process figures of Merendella beside a bare Qt Widgets window, on a private Xvfb.

The programs run as on a desktop, as in first_map.py: a session bus of their own and the tests'
fonts (tests/fonts.conf) unless --system-fonts.

For each program, as the median of repeated runs, one after another (the game refuses a
second copy on the same display):
  * start: from just before the process is spawned to the X server's MapNotify of its first
    window, read from the server by a small X11 client on the same machine (sub-millisecond);
  * first frame (with --title): from the same start to the moment the window's first frame is on screen: the
    display's pixel (5, 0) polled (X11 GetImage on the root window, every millisecond) until it shows
    the colour the program's first frame paints there: the title's turquoise top band
    (19, 255, 228), or for the bare window the colour it settles on (read once before the runs);
  * CPU time to each of the two: the time the process's threads ran by then, from the
    scheduler's count (/proc/PID/task/*/schedstat), which a busy machine lengthens far less;
  * memory: VmRSS (and the peak, VmHWM) from /proc/PID/status once the program has settled;
    for the game, after clicking Avvio and then Figurine, when a sticker board has been dealt.

The runs of the two programs alternate, so that a busy spell on the machine hits both.

With --callgrind, also counts the instructions each program executes up to its first mapped
window and to its first frame under valgrind's callgrind (profiles dumped before the first
xcb_map_window and before the first image is put on the X server): figures that other work on
the machine does not disturb.
The profiles stay in the build folder for callgrind_annotate.

Usage: bench/process_figures.py --build build-bench [--runs 11] [--size 1920x1080]
       [--screenshot dealt.png] [--json out.json] [--callgrind] [--title] [--system-fonts]
Needs Xvfb, dbus-daemon and xdotool (ImageMagick's import for --screenshot, valgrind for --callgrind).
"""

import argparse
import atexit
import json
import os
import select
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

MAP_NOTIFY = 19
GET_IMAGE = 73
Z_PIXMAP = 2
PROBE = (5, 0)  # the top band of the title's gradient, where no control covers it
TITLE_TOP = (19, 255, 228)
SUBSTRUCTURE_NOTIFY_MASK = 0x80000
CW_EVENT_MASK = 0x800
SETTLE_S = 0.5
TIMEOUT_S = 20.0


class XWatcher:
    """An X11 client that hears every top-level window being mapped on the display."""

    def __init__(self, display):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(f"/tmp/.X11-unix/X{display}")
        # Connection set-up, little-endian, protocol 11.0, no authorisation.
        self.sock.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        status, reason_len, _, _, length = struct.unpack("<BBHHH", self._read(8))
        body = self._read(length * 4)
        if status != 1:
            raise RuntimeError("X server refused the connection: " + body[:reason_len].decode(errors="replace"))
        vendor_len, = struct.unpack_from("<H", body, 16)
        formats = body[21]
        offset = 32 + (vendor_len + 3) // 4 * 4 + 8 * formats
        self.root, = struct.unpack_from("<I", body, offset)
        # ChangeWindowAttributes(root, event-mask = SubstructureNotify).
        self.sock.sendall(struct.pack("<BxHIII", 2, 4, self.root, CW_EVENT_MASK, SUBSTRUCTURE_NOTIFY_MASK))

    def _read(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise RuntimeError("X server closed the connection")
            data += chunk
        return data

    def wait_map(self, timeout=TIMEOUT_S):
        """Monotonic time at which the next top-level window was mapped."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.sock], [], [], left)[0]:
                raise TimeoutError("no window was mapped")
            event = self._read(32)
            now = time.monotonic()
            code = event[0] & 0x7F
            if code == 0:
                raise RuntimeError(f"X error {event[1]}")
            if code == MAP_NOTIFY:
                return now

    def pixel(self, x, y):
        """The (r, g, b) that the display shows at x, y (24-bit depth, 32 bits a pixel)."""
        self.sock.sendall(struct.pack("<BBHIhhHHI", GET_IMAGE, Z_PIXMAP, 5, self.root, x, y, 1, 1, 0xFFFFFFFF))
        while True:
            head = self._read(32)
            if head[0] == 0:
                raise RuntimeError(f"X error {head[1]}")
            if head[0] == 1:
                length, = struct.unpack_from("<I", head, 4)
                b, g, r = self._read(length * 4)[:3]
                return r, g, b
            # an event that came before the reply: not wanted here

    def wait_colour(self, colour, timeout=TIMEOUT_S):
        """Monotonic time at which the probed pixel first shows colour."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.pixel(*PROBE) == colour:
                return time.monotonic()
            time.sleep(0.001)
        raise TimeoutError(f"the display never showed {colour}")

    def close(self):
        self.sock.close()


def free_display():
    for n in range(140, 400):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return n
    raise RuntimeError("no free X display number")


def start_xvfb(size):
    display = free_display()
    xvfb = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", f"{size}x24", "-nolisten", "tcp", "-noreset"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        try:
            XWatcher(display).close()
            return xvfb, display
        except OSError:
            time.sleep(0.05)
    xvfb.kill()
    raise RuntimeError("Xvfb did not start")


def desktop_session(display, system_fonts=False):
    """The environment a program meets on a desktop, private to the runs: the display, a runtime
    folder (where the game keeps its one-copy key), a session bus of its own (where Qt's
    accessibility bridge looks for a screen reader, before or after the first map) and the fonts
    of the tests unless system_fonts. Returns the environment and the bus, to be stopped after."""
    runtime = tempfile.mkdtemp(prefix="merendella-bench-")
    atexit.register(shutil.rmtree, runtime, ignore_errors=True)
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", f"--address=unix:path={runtime}/bus"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
    env.update(DISPLAY=f":{display}", XDG_RUNTIME_DIR=runtime, DBUS_SESSION_BUS_ADDRESS=f"unix:path={runtime}/bus")
    if not system_fonts:
        env["FONTCONFIG_FILE"] = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fonts.conf")
    deadline = time.monotonic() + 10
    while not os.path.exists(f"{runtime}/bus") and time.monotonic() < deadline:
        time.sleep(0.01)
    return env, bus


def memory_kib(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                fields[key] = int(value.split()[0])
    return fields


def cpu_ms(pid):
    """CPU time the process's threads have run so far (the scheduler's own count, in ns): unlike
    the wall-clock figures, what other work on the machine does not lengthen."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                total += int(stat.read().split()[0])
        except OSError:
            pass  # a thread that just ended
    return total / 1e6


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def click(env, x, y):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=env, check=True)


def run_once(program, env, display, deal_at=None, screenshot=None, frame=None):
    """Start and first-frame figures in ms, and memory once settled (after a deal when deal_at is
    given). frame: the colour of the first frame at PROBE; None reads what the program settles on."""
    watcher = XWatcher(display)
    try:
        start = time.monotonic()
        process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            mapped = watcher.wait_map()
            startup_ms = (mapped - start) * 1000
            cpu = {"cpu_map_ms": cpu_ms(process.pid)}
            frame_ms = (watcher.wait_colour(frame) - start) * 1000 if frame else None
            if frame:
                cpu["cpu_frame_ms"] = cpu_ms(process.pid)
            if deal_at:
                for x, y in deal_at:
                    # A click in a screen's first double-click interval is taken for the second
                    # half of the click that opened it, and ignored; a player's hand is slower.
                    time.sleep(0.6)
                    click(env, x, y)
                    watcher.wait_map()
            time.sleep(SETTLE_S)
            if process.poll() is not None:
                raise RuntimeError(f"{program} ended early with status {process.returncode}")
            memory = memory_kib(process.pid) | cpu
            if frame is None:
                memory["colour"] = watcher.pixel(*PROBE)
            if screenshot:
                subprocess.run(["import", "-window", "root", screenshot], env=env, check=True)
        finally:
            stop(process)
    finally:
        watcher.close()
    return startup_ms, memory, frame_ms


def part_total(path):
    with open(path) as profile:
        for line in profile:
            if line.startswith(("summary:", "totals:")):
                return int(line.split()[1])
    raise RuntimeError(f"no summary in {path}")


def instructions_to_first_map(program, env, display, out):
    """Instructions executed from exec to the first MapNotify, and to the first frame put on
    screen (the first image sent to the X server), counted by callgrind."""
    for old in (out + ".1", out + ".2"):
        if os.path.exists(old):
            os.remove(old)
    watcher = XWatcher(display)
    try:
        process = subprocess.Popen(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}",
                                    "--dump-before=xcb_map_window", "--dump-before=xcb_shm_put_image",
                                    "--dump-before=xcb_put_image", program],
                                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            watcher.wait_map(timeout=180)
            deadline = time.monotonic() + 180
            while not os.path.exists(out + ".2") and time.monotonic() < deadline:
                time.sleep(0.1)
            time.sleep(1)  # the part being written
        finally:
            # Each part was written before the call that ends it: nothing after them counts.
            process.kill()
            process.wait(120)
    finally:
        watcher.close()
    to_map = part_total(out + ".1")
    return to_map, to_map + part_total(out + ".2")


def twips_centre(client_w, client_h, left, top, width, height, screen_w, screen_h):
    """The display pixel at the centre of a control, on a screen stretched over the display."""
    return (round((left + width / 2) / client_w * screen_w), round((top + height / 2) / client_h * screen_h))


def summary(values):
    s = sorted(values)
    return {"median": statistics.median(s), "min": s[0], "max": s[-1],
            "spread_pct": 100 * (s[-1] - s[0]) / statistics.median(s) if statistics.median(s) else 0}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build-bench", help="build folder holding bin/merendella and bin/bare_window")
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--screenshot", help="save the dealt board of the first run here")
    parser.add_argument("--json", help="write every run's figures here")
    parser.add_argument("--callgrind", action="store_true", help="also count instructions to the first map")
    parser.add_argument("--title", action="store_true", help="the game's memory on its title screen, not a board")
    parser.add_argument("--system-fonts", action="store_true", help="the machine's fonts, not the tests'")
    args = parser.parse_args()

    game = os.path.abspath(os.path.join(args.build, "bin", "merendella"))
    bare = os.path.abspath(os.path.join(args.build, "bin", "bare_window"))
    for program in (game, bare):
        if not os.access(program, os.X_OK):
            sys.exit(f"missing {program}: build it first")
    for tool in ("Xvfb", "xdotool", "dbus-daemon"):
        if not shutil.which(tool):
            sys.exit(f"missing {tool}")

    width, height = (int(v) for v in args.size.split("x"))
    # Title screen: client 9780 x 7590 twips, Avvio at (2880, 5760, 4110, 1275).
    # Menu: client 10860 x 7965 twips, Figurine at (3720, 1680, 3375, 735).
    avvio = twips_centre(9780, 7590, 2880, 5760, 4110, 1275, width, height)
    figurine = twips_centre(10860, 7965, 3720, 1680, 3375, 735, width, height)
    deal_at = [] if args.title else [avvio, figurine]

    xvfb, display = start_xvfb(args.size)
    env, bus = desktop_session(display, args.system_fonts)
    runs = {"game": [], "bare": []}
    instructions = {}
    frames = {}
    try:
        if args.callgrind:
            for name, program in (("bare", bare), ("game", game)):
                out = os.path.join(os.path.abspath(args.build), f"callgrind.first-map.{name}")
                instructions[name], frames[name] = instructions_to_first_map(program, env, display, out)
                print(f"instructions to the first mapped window, {name}: {instructions[name]:,}; to its first "
                      f"frame: {frames[name]:,} ({out}.1, .2)", flush=True)
        # One unmeasured run each fills the page cache, as on a machine that has run Qt before;
        # the bare window's tells the colour of its first frame.
        bare_frame = tuple(run_once(bare, env, display)[1]["colour"])
        run_once(game, env, display, deal_at=deal_at)
        game_frame = TITLE_TOP if args.title else None
        for i in range(args.runs):
            b = run_once(bare, env, display, frame=bare_frame)
            g = run_once(game, env, display, deal_at=deal_at, frame=game_frame,
                         screenshot=args.screenshot if i == 0 else None)
            runs["bare"].append({"start_ms": b[0], "frame_ms": b[2], **b[1]})
            runs["game"].append({"start_ms": g[0], "frame_ms": g[2], **g[1]})
            print(f"run {i + 1:2}: start game {g[0]:6.1f} ms bare {b[0]:6.1f} ms | "
                  + (f"frame game {g[2]:6.1f} ms bare {b[2]:6.1f} ms | " if g[2] else "") +
                  f"RSS game {g[1]['VmRSS'] / 1024:6.1f} MiB bare {b[1]['VmRSS'] / 1024:6.1f} MiB", flush=True)
    finally:
        for server in (bus, xvfb):
            server.terminate()
            server.wait()

    result = {}
    keys = ("start_ms", "frame_ms", "cpu_map_ms", "cpu_frame_ms", "VmRSS", "VmHWM") if args.title else (
        "start_ms", "cpu_map_ms", "VmRSS", "VmHWM")
    for key in keys:
        g = summary([r[key] for r in runs["game"]])
        b = summary([r[key] for r in runs["bare"]])
        paired = statistics.median(rg[key] / rb[key] for rg, rb in zip(runs["game"], runs["bare"]))
        result[key] = {"game": g, "bare": b, "ratio_of_medians": g["median"] / b["median"], "median_paired_ratio": paired}

    print(f"\n{args.runs} runs, display {args.size}, "
          f"{'title screen' if args.title else 'dealt sticker board'} for the game's memory")
    print(f"{'figure':<12}{'game':>12}{'bare':>12}{'ratio':>8}{'paired':>8}   spread game / bare (max-min)/median")
    units = {"start_ms": ("ms", 1), "frame_ms": ("ms", 1), "cpu_map_ms": ("ms", 1), "cpu_frame_ms": ("ms", 1),
             "VmRSS": ("MiB", 1024), "VmHWM": ("MiB", 1024)}
    for key, r in result.items():
        unit, div = units[key]
        print(f"{key:<12}{r['game']['median'] / div:>9.1f} {unit:<3}{r['bare']['median'] / div:>8.1f} {unit:<3}"
              f"{r['ratio_of_medians']:>7.2f}{r['median_paired_ratio']:>8.2f}   "
              f"{r['game']['spread_pct']:.0f}% / {r['bare']['spread_pct']:.0f}%")
    if instructions:
        print(f"{'Ir to map':<12}{instructions['game'] / 1e6:>9.1f} M  {instructions['bare'] / 1e6:>8.1f} M  "
              f"{instructions['game'] / instructions['bare']:>7.2f}")
        print(f"{'Ir to frame':<12}{frames['game'] / 1e6:>9.1f} M  {frames['bare'] / 1e6:>8.1f} M  "
              f"{frames['game'] / frames['bare']:>7.2f}")
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"size": args.size, "runs": runs, "summary": result, "instructions_to_map": instructions,
                   "instructions_to_frame": frames}, out,
                      indent=1)


if __name__ == "__main__":
    main()
