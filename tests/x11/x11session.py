"""A private X server with the game in it: start, look, point, type, and clean up.

Everything here talks to real X11 through the command-line tools (Xvfb, xdotool, xwininfo,
ImageMagick's import and convert, openbox), so the game sees the same events a child's
mouse and keyboard would produce.
"""

import ctypes
import os
import random
import select
import shutil
import signal
import subprocess
import tempfile
import time

# Waits are generous: the machines are shared, and a 4K screenshot is slow there.
WAIT = 40.0
POLL = 0.15


class Failure(Exception):
    """A check on the game's behaviour did not hold."""


def _die_with_parent():
    # If the driver itself is killed (a CTest timeout), its X server and game go with it.
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def _accepts_clients(display, attempts=25):
    """Whether an X client can connect to the display, asked a few times over five seconds."""
    for _ in range(attempts):
        probe = subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        if probe.returncode == 0:
            return True
        time.sleep(0.2)
    return False


def wait_until(what, probe, timeout=WAIT):
    """Polls probe until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(POLL)


class Shot:
    """A screenshot as raw RGB rows."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        at = (int(y) * self.width + int(x)) * 3
        return tuple(self.data[at:at + 3])

    def region(self, rect):
        """The raw bytes of a rectangle (x, y, w, h), row after row."""
        x, y, w, h = (int(v) for v in rect)
        rows = []
        for row in range(y, y + h):
            at = (row * self.width + x) * 3
            rows.append(self.data[at:at + w * 3])
        return b"".join(rows)

    def fraction_of(self, rect, colour, tolerance=3, step=2):
        """How much of a rectangle is within tolerance of a colour, sampled every step pixels."""
        x, y, w, h = (int(v) for v in rect)
        hits = total = 0
        for yy in range(y, y + h, step):
            for xx in range(x, x + w, step):
                total += 1
                if near(self.pixel(xx, yy), colour, tolerance):
                    hits += 1
        return hits / max(1, total)

    def signature(self, rect, grid=16, inset=0.08):
        """Mean colours of a grid of cells over the inside of a rectangle (borders left out)."""
        x, y, w, h = rect
        x0, y0 = x + w * inset, y + h * inset
        cw, ch = w * (1 - 2 * inset) / grid, h * (1 - 2 * inset) / grid
        samples = 4
        out = []
        for gy in range(grid):
            for gx in range(grid):
                r = g = b = 0
                for sy in range(samples):
                    for sx in range(samples):
                        p = self.pixel(x0 + cw * (gx + (sx + 0.5) / samples),
                                       y0 + ch * (gy + (sy + 0.5) / samples))
                        r, g, b = r + p[0], g + p[1], b + p[2]
                n = samples * samples
                out.append((r / n, g / n, b / n))
        return out


def near(a, b, tolerance):
    return all(abs(int(p) - int(q)) <= tolerance for p, q in zip(a, b))


def signature_distance(a, b):
    # Root mean square: a strawberry more is a few cells far apart, which must outweigh
    # the small differences of scaling spread over all cells.
    total = sum((p[0] - q[0]) ** 2 + (p[1] - q[1]) ** 2 + (p[2] - q[2]) ** 2 for p, q in zip(a, b))
    return (total / (3 * len(a))) ** 0.5


def picture_signature(path, grid=16, inset=0.08):
    """The same grid of mean colours for a picture file, as a card shows it stretched."""
    out = subprocess.run(["convert", path, "-resize", "512x512!", "-gravity", "center",
                          "-crop", "%dx%d+0+0" % (512 * (1 - 2 * inset), 512 * (1 - 2 * inset)), "+repage",
                          "-filter", "box", "-resize", "%dx%d!" % (grid, grid), "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


class Session:
    """One Xvfb of a given size, optionally with openbox, and the processes started in it."""

    def __init__(self, width, height, shots_dir, window_manager=False):
        self.width, self.height = width, height
        self.shots_dir = shots_dir
        self.shot_count = 0
        self.children = []
        self.tmp = tempfile.mkdtemp(prefix="merendella-x11-")
        os.makedirs(shots_dir, exist_ok=True)
        for old in os.listdir(shots_dir):
            if old.endswith(".png"):
                os.remove(os.path.join(shots_dir, old))
        try:
            self._start_server()
            if window_manager:
                self.spawn(["openbox", "--sm-disable"], log="openbox")
                wait_until("openbox to manage the display", self._wm_running)
                time.sleep(0.5)
            self.baseline = set(self.windows())
        except BaseException:
            self.close()
            raise

    # ---- processes ----

    def _start_server(self):
        # Numbers well above the usual ones: other tools on a shared machine take :0, :1 or
        # :99 without asking, and a server that loses its number to them takes the test down.
        tried = set()
        while len(tried) < 20:
            number = random.randrange(200, 2000)
            if number in tried or os.path.exists("/tmp/.X%d-lock" % number):
                continue
            tried.add(number)
            if self._try_server(number):
                return
        raise Failure("no free display number for Xvfb")

    def _try_server(self, number):
        # -noreset: a server that resets when its last client leaves refuses the clients that
        # connect during the reset, which a test that starts one client after another meets.
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.tmp, "xvfb.log"), "wb")
        server = subprocess.Popen(["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0",
                                   "%dx%dx24" % (self.width, self.height), "-nolisten", "tcp", "-noreset"],
                                  pass_fds=(write_end,), stdout=log, stderr=log,
                                  preexec_fn=_die_with_parent)
        os.close(write_end)
        text = b""
        deadline = time.monotonic() + WAIT
        try:
            while not text.endswith(b"\n"):
                left = deadline - time.monotonic()
                if server.poll() is not None:
                    return False  # the number was taken after all
                if left <= 0:
                    raise Failure("Xvfb did not start: " + open(log.name, errors="replace").read()[-500:])
                ready, _, _ = select.select([read_end], [], [], min(left, 0.5))
                if ready:
                    chunk = os.read(read_end, 64)
                    if not chunk:
                        server.wait(5)
                        return False
                    text += chunk
        except BaseException:
            server.kill()
            server.wait()
            raise
        finally:
            os.close(read_end)
        self.children.append(server)
        self.server = server
        self.display = ":" + text.decode().strip()
        runtime = os.path.join(self.tmp, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        self.env.pop("WAYLAND_DISPLAY", None)
        if _accepts_clients(self.display):
            return True
        # A server that announced its number but takes no client is of no use: try another.
        self.children.remove(server)
        server.kill()
        server.wait()
        shutil.rmtree(runtime, ignore_errors=True)
        return False

    def _wm_running(self):
        out = self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id" in out

    def spawn(self, argv, log):
        out = open(os.path.join(self.tmp, log + ".log"), "wb")
        child = subprocess.Popen(argv, env=self.env, stdout=out, stderr=subprocess.STDOUT,
                                 preexec_fn=_die_with_parent)
        child.log_path = out.name
        self.children.append(child)
        return child

    def server_state(self):
        """What the X server is doing now, for a failure message."""
        if self.server.poll() is not None:
            return "the X server has ended (status %s)" % self.server.returncode
        accepts = _accepts_clients(self.display, attempts=1)
        return "the X server runs and %s clients" % ("accepts" if accepts else "refuses")

    def log_of(self, child):
        with open(child.log_path, errors="replace") as f:
            return f.read()

    def close(self):
        # Newest first: the game before the window manager before the server.
        for child in reversed(self.children):
            if child.poll() is None:
                child.terminate()
                try:
                    child.wait(5)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
        self.children = []
        shutil.rmtree(self.tmp, ignore_errors=True)

    def x(self, argv, check=True, timeout=WAIT):
        try:
            done = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not finish within %.0f s" % (" ".join(argv), timeout))
        if check and done.returncode != 0:
            raise Failure("%s failed (%d): %s" % (" ".join(argv), done.returncode, done.stderr.strip()))
        return done.stdout

    # ---- windows ----

    def new_windows(self):
        """Mapped windows that were not there when the server and window manager had started."""
        return [w for w in self.windows() if w not in self.baseline]

    def windows(self, pid=None, name=None):
        """Mapped windows, of a process or with a title matching a pattern."""
        argv = ["xdotool", "search", "--onlyvisible"]
        if pid is not None:
            argv += ["--pid", str(pid)]
        if name is not None:
            argv += ["--name", name]
        elif pid is None:
            argv += ["--name", ""]
        return [int(w) for w in self.x(argv, check=False).split()]

    def geometry(self, window):
        info = self.x(["xwininfo", "-id", str(window)], check=False)
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        try:
            return tuple(int(values[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
        except (KeyError, ValueError):
            return None

    def covering_window(self, pid):
        """A mapped window of the process that covers the whole display, if there is one."""
        for w in self.windows(pid=pid):
            if self.geometry(w) == (0, 0, self.width, self.height):
                return w
        return None

    def box(self, title, timeout=WAIT):
        """Waits for a mapped window with exactly this title (a message box) and returns it."""
        pattern = "^" + title + "$"
        return wait_until("a box titled %r" % title, lambda: (self.windows(name=pattern) or [None])[0], timeout)

    def answer(self, window, key="Return"):
        """Gives a box the keyboard focus and presses a key in it, again if the box stays: a
        box is mapped a moment before it takes keys, and a key that comes too early is lost."""
        for _ in range(5):
            if self.gone(window):
                return
            self.x(["xdotool", "windowfocus", "--sync", str(window)], check=False)
            time.sleep(0.2)
            self.x(["xdotool", "key", "--clearmodifiers", key])
            deadline = time.monotonic() + 3
            while time.monotonic() < deadline:
                if self.gone(window):
                    return
                time.sleep(POLL)

    def gone(self, window):
        return window not in self.windows()

    # ---- pointer ----

    def move(self, x, y):
        self.x(["xdotool", "mousemove", str(int(x)), str(int(y))])

    def click(self, x, y):
        self.move(x, y)
        time.sleep(0.15)
        self.x(["xdotool", "click", "1"])

    def drag(self, start, end, steps=6):
        self.move(*start)
        time.sleep(0.1)
        self.x(["xdotool", "mousedown", "1"])
        for i in range(1, steps + 1):
            time.sleep(0.05)
            self.move(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
        time.sleep(0.1)
        self.x(["xdotool", "mouseup", "1"])

    # ---- pictures ----

    def shot(self, name=None):
        """A screenshot of the display; with a name it is also kept as NN-name.png."""
        raw = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True, timeout=WAIT).stdout
        if len(raw) != self.width * self.height * 3:
            raise Failure("screenshot has %d bytes, not %d" % (len(raw), self.width * self.height * 3))
        shot = Shot(self.width, self.height, raw)
        if name:
            self.shot_count += 1
            self.save(shot, os.path.join(self.shots_dir, "%02d-%s.png" % (self.shot_count, name)))
        return shot

    def save(self, shot, path, scale=None):
        argv = ["convert", "-size", "%dx%d" % (shot.width, shot.height), "-depth", "8", "rgb:-"]
        if scale:
            argv += ["-resize", scale]
        subprocess.run(argv + [path], input=shot.data, check=True)
