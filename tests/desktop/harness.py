"""Real desktops for the real-window tests: a private X server (bare, with openbox, or with xfwm4 and
a panel), a headless sway with a bar, and a private sound server, driven through their own tools."""

import contextlib, ctypes, json, os, pwd, random, re, select, shutil, signal, socket, struct, subprocess  # noqa: E401
import tempfile, time, wave  # noqa: E401
from collections import namedtuple

WAIT = 40.0  # generous: the machines are shared, and a 4K screenshot is slow there
POLL = 0.15
PANEL = (32, 32, 32)  # the colour of the panel (X11) and of the bar (sway)


class Failure(Exception):
    """A check on the game, or on the desktop it runs in, did not hold."""


def wait_until(what, probe, timeout=WAIT):
    """Polls probe until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(POLL)
    return value


def near(a, b, tolerance):
    return all(abs(int(p) - int(q)) <= tolerance for p, q in zip(a, b))


def log_of(child):
    with open(child.log_path, errors="replace") as f:
        return f.read()


def _die_with_parent():
    # A killed test (a CTest timeout) takes along all it started; set after a switch of user, which clears it.
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def _run(argv, env, check=True, timeout=WAIT):
    try:
        done = subprocess.run(argv, env=env, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure("%s did not finish within %.0f s" % (" ".join(argv), timeout))
    if check and done.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(argv), done.returncode, done.stderr.decode(errors="replace")))
    return done.stdout


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
        return b"".join(self.data[at:at + w * 3] for at in (((y + r) * self.width + x) * 3 for r in range(h)))

    def fraction_of(self, rect, colour, tolerance=3, step=2):
        """How much of a rectangle is within tolerance of a colour, sampled every step pixels."""
        x, y, w, h = (int(v) for v in rect)
        seen = [near(self.pixel(i, j), colour, tolerance) for j in range(y, y + h, step) for i in range(x, x + w, step)]
        return sum(seen) / max(1, len(seen))

    def signature(self, rect, grid=16, inset=0.08, n=4):
        """Mean colours of grid x grid cells (n x n samples each) inside a rectangle: a picture at any size."""
        x, y, w, h = rect
        x0, y0, cw, ch = x + w * inset, y + h * inset, w * (1 - 2 * inset) / grid, h * (1 - 2 * inset) / grid
        cells = [[self.pixel(x0 + cw * (gx + (sx + 0.5) / n), y0 + ch * (gy + (sy + 0.5) / n))
                  for sy in range(n) for sx in range(n)] for gy in range(grid) for gx in range(grid)]
        return [tuple(sum(p[c] for p in cell) / len(cell) for c in range(3)) for cell in cells]

    def save(self, path):
        subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8", "rgb:-", path],
                       input=self.data, check=True)


class Window(namedtuple("Window", "id title pid app x y w h state")):
    """A mapped top-level, with what the window manager says of it (FULLSCREEN, DIALOG, FLOATING...)."""
    rect = property(lambda self: (self.x, self.y, self.w, self.h))
    fullscreen = property(lambda self: "FULLSCREEN" in self.state)


class _Session:
    """A private folder, an environment with nothing of the caller's session, and the processes
    started there: _start() starts the session's own, close() ends all, newest first."""

    def __init__(self):
        # In /tmp whatever TMPDIR says: the users that compositor and clients run as must reach in.
        self.tmp = tempfile.mkdtemp(prefix="merendella-%s-" % type(self).__name__.lower(), dir="/tmp")
        self.children = self.infra = []  # while starting, all that runs is the session's own
        os.chmod(self.tmp, 0o711)
        # The game tells sessions apart by XDG_SESSION_ID; no bus listens at that address.
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(
            ("XDG_", "DBUS_", "PULSE_", "WAYLAND_", "DISPLAY", "SWAYSOCK", "I3SOCK", "QT_QPA_PLATFORM"))}
        self.env.update(HOME=self.folder("home"), XDG_RUNTIME_DIR=self.folder("runtime"),
                        DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.tmp, "no-bus"))
        try:
            self._start()
            self.infra = list(self.children)
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def folder(self, name, user=None):
        """A folder in the session's, owned by user (a pwd entry) when given."""
        path = os.path.join(self.tmp, name)
        os.makedirs(path, mode=0o700, exist_ok=True)
        if user:
            os.chown(path, user.pw_uid, user.pw_gid)
        return path

    @staticmethod
    def can_switch_user():
        return os.geteuid() == 0

    def spawn(self, argv, log, env=None, user=None, **popen):
        """Starts a program (as another user, with a home and runtime folder of its own), logging to log.log."""
        env = dict(self.env if env is None else env)
        if user and user != pwd.getpwuid(os.geteuid()).pw_name:
            entry = pwd.getpwnam(user)
            env.update(HOME=self.folder("home-" + user, entry), XDG_RUNTIME_DIR=self.folder("runtime-" + user, entry))
            popen.update(user=entry.pw_uid, group=entry.pw_gid, extra_groups=[])
        with open(os.path.join(self.tmp, log + ".log"), "ab") as out:
            child = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                     preexec_fn=_die_with_parent, **popen)
        child.log_path, child.env = out.name, env
        self.children.append(child)
        return child

    def end(self, child, how=signal.SIGTERM):
        """Sends a signal, and kills the process if it has not ended after a while."""
        if child.poll() is None:
            child.send_signal(how)
            try:
                child.wait(10)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()

    def run(self, argv, check=True):
        """Runs a tool in the session and returns what it printed."""
        return _run(argv, self.env, check).decode(errors="replace")

    def wait(self, what, probe, timeout=WAIT):
        """wait_until, but failing at once, with its log, when a process of the session ends."""
        def checked():
            for child in (c for c in self.infra if c.poll() is not None):
                raise Failure("%s ended (status %s) while waiting for %s:\n%s"
                              % (child.args[0], child.returncode, what, log_of(child)[-1500:]))
            return probe()
        return wait_until(what, checked, timeout)

    def no_sound_env(self):
        """For a client that must find no sound server: none named, in its runtime folder, or started."""
        with open(os.path.join(self.tmp, "no-sound.conf"), "w") as conf:
            conf.write("autospawn = no\ndefault-server = unix:%s\n" % os.path.join(self.tmp, "no-sound"))
        env = dict(self.env, PULSE_CLIENTCONFIG=conf.name, XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=self.tmp))
        env.pop("PULSE_SERVER", None)
        return env

    def close(self):
        while self.children:  # the game before the window manager before the server
            self.end(self.children.pop())
        shutil.rmtree(self.tmp, ignore_errors=True)


class Desktop(_Session):
    """What every desktop offers. Its kinds bring _windows, activate, move, button, key and _shot."""

    def __init__(self, width, height, shots):
        self.width, self.height, self.shots, self.shot_count = width, height, shots, 0
        self.panel_rect, self.baseline = None, set()
        os.makedirs(shots, exist_ok=True)
        for old in (n for n in os.listdir(shots) if n.endswith(".png")):  # a run's shots only
            os.remove(os.path.join(shots, old))
        super().__init__()

    def windows(self, pid=None):
        """Mapped top-levels other than the desktop's own, of one process when pid is given."""
        return [w for w in self._windows() if w.id not in self.baseline and pid in (None, w.pid)]

    def box(self, title, timeout=WAIT):
        """Waits for a window with this title that the window manager takes for a dialog (sway floats them)."""
        return self.wait("a box titled %r" % title, lambda: next(
            (w for w in self.windows() if w.title == title and w.state & {"DIALOG", "FLOATING"}), None), timeout)

    def gone(self, window):
        return all(w.id != window.id for w in self.windows())

    def answer(self, window, key="Return"):
        """Gives a box the keyboard and presses a key in it, again while the box stays: a box is
        mapped a moment before it takes keys, and a key that comes too early is lost."""
        for _ in range(5):
            if self.gone(window):
                return
            self.activate(window, check=False)
            time.sleep(0.2)
            self.key(key)
            with contextlib.suppress(Failure):
                return wait_until("the box to go", lambda: self.gone(window), 3)
        raise Failure("the window %r stayed after %s was pressed five times" % (window.title, key))

    def click(self, x, y):
        self.drag((x, y), (x, y), steps=0)

    def drag(self, start, end, steps=6):
        """Presses at start, moves in steps to end and lets go there: with no steps, a click."""
        self.move(*start)
        time.sleep(0.1)
        self.button(True)
        for i in range(1, steps + 1):
            time.sleep(0.05)
            self.move(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
        time.sleep(0.1)
        self.button(False)

    def shot(self, name=None):
        """A screenshot of the whole screen; with a name it is also kept as NN-name.png."""
        shot = self._shot()
        if (shot.width, shot.height, len(shot.data)) != (self.width, self.height, self.width * self.height * 3):
            raise Failure("a screenshot is %dx%d with %d bytes" % (shot.width, shot.height, len(shot.data)))
        if name:
            self.shot_count += 1
            shot.save(os.path.join(self.shots, "%02d-%s.png" % (self.shot_count, name)))
        return shot


class X11(Desktop):
    """An Xvfb of its own; wm is None (no window manager), "openbox", or "panel": xfwm4 with a
    tint2 panel along the bottom that ordinary windows leave free and full-screen ones cover."""

    def __init__(self, width, height, shots, wm=None):
        self.wm = wm
        super().__init__(width, height, shots)

    def _start(self):
        wm, self.env["QT_QPA_PLATFORM"] = self.wm, "xcb"
        self._start_server()
        if wm == "panel":
            bus = os.path.join(self.tmp, "bus")
            self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus  # xfwm4 reads its settings over it
            self.spawn(["dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus], "dbus")
            self.wait("the session bus", lambda: os.path.exists(bus))
            self.spawn(["xfwm4", "--compositor=off", "--sm-client-disable"], "xfwm4", dict(self.env, NO_AT_BRIDGE="1"))
            # The normal layer is xfwm4's dock layer, under full-screen windows; the top one is over them.
            with open(os.path.join(self.tmp, "tint2rc"), "w") as rc:
                rc.write("panel_items = T\npanel_size = 100%% 32\npanel_position = bottom center horizontal\n"
                         "panel_layer = normal\nstrut_policy = follow_size\nbackground_color = #%02x%02x%02x 100\n"
                         "panel_background_id = 1\ntask_font_color = #ffffff 100\n" % PANEL)
            self.spawn(["tint2", "-c", rc.name], "tint2")
        elif wm == "openbox":
            self.spawn(["openbox", "--sm-disable"], "openbox")
        elif wm:
            raise ValueError("no such window manager: %r" % wm)
        if wm:
            self.wait(wm + " to manage the screen",
                      lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], False))
        if wm == "panel":
            self.panel_rect = self.wait("tint2's panel and its strut", self._panel)
        self.baseline = {w.id for w in self._windows()}

    def _start_server(self):
        # Numbers well above the usual ones, which other tools take without asking; a server that
        # resets when its last client leaves refuses the clients that come meanwhile (-noreset).
        for _ in range(20):
            read_end, write_end = os.pipe()
            server = self.spawn(["Xvfb", ":%d" % random.randrange(200, 2000), "-displayfd", str(write_end), "-screen",
                                 "0", "%dx%dx24" % (self.width, self.height), "-nolisten", "tcp", "-noreset"],
                                "xvfb", pass_fds=(write_end,))
            os.close(write_end)
            with os.fdopen(read_end) as pipe:  # the number once the server has it; nothing if it was taken
                self.env["DISPLAY"] = ":" + (pipe.readline() if select.select([pipe], [], [], WAIT)[0] else "").strip()
            # A server that announced its number but takes no client is of no use either.
            for _ in range(25 if self.env["DISPLAY"] != ":" else 0):
                if _run(["xdpyinfo"], self.env, False, 10):
                    return
                time.sleep(0.2)
            self.end(server)
            self.children.remove(server)
        raise Failure("Xvfb found no free display number:\n" + log_of(server)[-800:])

    def _panel(self):
        panel = [w for w in self._windows() if w.app == "Tint2"]
        area = self.run(["xprop", "-root", "_NET_WORKAREA"], False)
        return panel and "%d, %d" % (self.width, self.height - panel[0].h) in area and panel[0].rect

    def _windows(self):
        found = []
        for wid in self.run(["xdotool", "search", "--onlyvisible", "--classname", "."], False).split():
            info = self.run(["xwininfo", "-id", wid], False)
            props = self.run(["xprop", "-id", wid, "_NET_WM_PID", "WM_CLASS", "_NET_WM_STATE", "_NET_WM_WINDOW_TYPE"],
                             False)
            place = [int(v) for v in re.findall(r"(?:Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", info)]
            title = re.search(r'^xwininfo: Window id: \S+ "(.*)"$', info, re.M)
            pid = re.search(r"_NET_WM_PID\(CARDINAL\) = (\d+)", props)
            app = re.search(r'WM_CLASS\(STRING\) = "[^"]*", "(.*)"', props)
            state = set(re.findall(r"_NET_WM_STATE_(\w+)", props)) | {"DIALOG"} & set(re.findall(r"TYPE_(\w+)", props))
            if len(place) == 4:  # else it went away meanwhile
                found.append(Window(int(wid), title.group(1) if title else "", pid and int(pid.group(1)),
                                    app and app.group(1), *place, frozenset(state)))
        return found

    def activate(self, window, check=True):
        """Raises a window and gives it the keyboard; this also brings back a minimised one."""
        self.run(["xdotool", "windowactivate" if self.wm else "windowfocus", "--sync", str(window.id)], check)

    def minimise(self, window):
        self.run(["xdotool", "windowminimize", "--sync", str(window.id)])

    def move(self, x, y):
        self.run(["xdotool", "mousemove", str(int(x)), str(int(y))])

    def button(self, down):
        self.run(["xdotool", "mousedown" if down else "mouseup", "1"])

    def key(self, *names):
        """Presses keys by their X names, one after another."""
        self.run(["xdotool", "key", "--clearmodifiers", "--delay", "60"] + list(names))

    def double_click(self, x, y):
        self.move(x, y)
        self.run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"])

    def _shot(self):
        return Shot(self.width, self.height, _run(["import", "-window", "root", "-depth", "8", "rgb:-"], self.env))


class Sway(Desktop):
    """A headless sway with software rendering, one output of the given size and a swaybar at the
    "top" or "bottom" (bar=None: none). As root, sway runs as nobody: it refuses root."""

    def __init__(self, width, height, shots, bar="top"):
        self.bar = bar
        super().__init__(width, height, shots)

    def _start(self):
        width, height, bar = self.width, self.height, self.bar
        with open(os.path.join(self.tmp, "sway.conf"), "w") as config:
            config.write("xwayland disable\noutput * resolution %dx%d position 0 0\ndefault_border none\n"
                         "default_floating_border none\nfont pango:DejaVu Sans 10\n" % (width, height))
            config.write(bar and "bar {\n position %s\n workspace_buttons no\n colors {\n  background #%02x%02x%02x\n"
                         " }\n}\n" % ((bar,) + PANEL) or "")
        os.chmod(config.name, 0o644)
        env = {"PATH": os.environ["PATH"], "LANG": "C.UTF-8", "HOME": self.env["HOME"],
               "XDG_RUNTIME_DIR": self.env["XDG_RUNTIME_DIR"], "WLR_BACKENDS": "headless",
               "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        sway = self.spawn(["sway", "-c", config.name], "sway", env, "nobody" if self.can_switch_user() else None)
        run = sway.env["XDG_RUNTIME_DIR"]

        def sockets():
            found = sorted(n for n in os.listdir(run) if re.fullmatch(r"wayland-\d+|sway-ipc\..*", n))
            return len(found) == 2 and [os.path.join(run, n) for n in reversed(found)]
        display, ipc = self.wait("sway's sockets", sockets)
        # libwayland takes an absolute path: clients keep a runtime folder of their own.
        self.env.update(WAYLAND_DISPLAY=display, SWAYSOCK=ipc, QT_QPA_PLATFORM="wayland", XDG_SESSION_TYPE="wayland")
        self.panel_rect = self.wait("the output at %dx%d with its bar" % (width, height), lambda: self._bar(bar))[0]
        self._pointer(display)

    def _bar(self, bar):
        """[the bar's rectangle, or None without a bar] once the workspace has its size."""
        spaces = json.loads(self.msg("-t", "get_workspaces", check=False) or "[]")
        free = spaces and spaces[0]["rect"]["height"]
        if free and spaces[0]["rect"]["width"] == self.width and (free < self.height) == bool(bar):
            return [bar and (0, 0 if bar == "top" else free, self.width, self.height - free)]

    def msg(self, *args, check=True):
        """swaymsg on the compositor's socket: a command, or -t and a request."""
        return self.run(["swaymsg"] + list(args), check)

    def _windows(self):
        found, nodes = [], [(json.loads(self.msg("-t", "get_tree")), False)]
        while nodes:
            node, floating = nodes.pop()
            nodes += [(n, floating) for n in node["nodes"]] + [(n, True) for n in node["floating_nodes"]]
            if node.get("pid"):
                r, state = node["rect"], {"FOCUSED": node["focused"], "FULLSCREEN": node["fullscreen_mode"],
                                          "FLOATING": floating, "HIDDEN": not node.get("visible")}
                found.append(Window(node["id"], node.get("name") or "", node["pid"], node.get("app_id"), r["x"], r["y"],
                                    r["width"], r["height"], frozenset(k for k, v in state.items() if v)))
        return found

    def activate(self, window, check=True):
        self.msg("[con_id=%d] focus" % window.id, check=check)

    def _pointer(self, path):
        """Brings a pointer device of the test's own, spoken to in the Wayland wire protocol: the
        headless backend has no input devices, and a seat without a pointer sends no pointer events."""
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.connect(path)
        self._send(1, 1, 2)  # wl_display.get_registry as 2
        self._send(1, 0, 3)  # wl_display.sync as 3: its done event comes after all globals
        data, interface = b"", b"zwlr_virtual_pointer_manager_v1\0"
        while struct.pack("=II", 3, 12 << 16) not in data:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise Failure("sway closed the pointer's connection")
            data += chunk
        at = data.find(struct.pack("=I", len(interface)) + interface)  # in wl_registry.global, after its name
        if at < 0:
            raise Failure("sway offers no virtual pointer")
        # wl_registry.bind of the manager as 4 (its name fills whole words: no padding), and its
        # create_virtual_pointer on the default seat as 5
        self.sock.sendall(struct.pack("=IIII", 2, (24 + len(interface)) << 16, *struct.unpack_from("=II", data, at - 4))
                          + interface + struct.pack("=II", 1, 4))
        self._send(4, 0, 0, 5)

    def _send(self, target, opcode, *values):
        self.sock.sendall(struct.pack("=II%dI" % len(values), target, (8 + 4 * len(values)) << 16 | opcode, *values))

    def move(self, x, y):
        self._send(5, 1, int(time.monotonic() * 1000) & 0xFFFFFFFF, int(x), int(y), self.width, self.height)
        self._send(5, 4)  # frame

    def button(self, down):
        self._send(5, 2, int(time.monotonic() * 1000) & 0xFFFFFFFF, 0x110, down)  # BTN_LEFT
        self._send(5, 4)

    def key(self, *names):
        """As X11's; wtype brings its own keyboard, and waits until the focused client has taken it."""
        self.run(["wtype", "-s", "250"] + [a for name in names for a in ("-k", name, "-s", "60")])

    def double_click(self, x, y):
        self.move(x, y)
        for down in (True, False, True, False):
            self.button(down)
            time.sleep(0.04)

    def _shot(self):
        raw = _run(["grim", "-t", "ppm", "-"], self.env)
        head = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", raw)
        if not head:
            raise Failure("grim gave no picture")
        return Shot(int(head.group(1)), int(head.group(2)), raw[head.end():])


class Sound(_Session):
    """A private PulseAudio server with a null sink that records what plays: clients get **sound.env."""

    def _start(self):
        native = os.path.join(self.env["XDG_RUNTIME_DIR"], "native")
        with open(os.path.join(self.tmp, "client.conf"), "w") as conf:
            conf.write("autospawn = no\n")
        self.env.update(PULSE_SERVER="unix:" + native, PULSE_CLIENTCONFIG=conf.name)
        # -n: no default script, so only these two modules load. As root it only warns.
        self.spawn(["pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1", "--realtime=no",
                    "--high-priority=no", "--log-target=stderr", "-L", "module-null-sink sink_name=merendella",
                    "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + native],
                   "pulseaudio", dict(self.env, PULSE_STATE_PATH=self.tmp))
        self.wait("PulseAudio to take clients", lambda: _run(["pactl", "info"], self.env, False, 10))

    def record(self):
        """Starts recording all that plays, and returns once sound data flows."""
        wav = os.path.join(self.tmp, "sound-%d.wav" % len(self.children))
        self.recorder = self.spawn(["parecord", "--device=merendella.monitor", "--file-format=wav", "--channels=1",
                                    "--latency-msec=50", wav], "parecord")
        self.wait("the recording to start",
                  lambda: self.recorder.poll() is None and os.path.exists(wav) and os.path.getsize(wav) > 44)

    def stop(self):
        """Ends the recording and returns the WAV file's path."""
        self.end(self.recorder, signal.SIGINT)
        return self.recorder.args[-1]

    @staticmethod
    def measure(path, threshold=0.01):
        """Seconds, RMS, peak (1.0: full scale) of a 16-bit WAV, and its seconds above threshold (by 10 ms)."""
        with wave.open(path) as w:
            rate, channels, frames = w.getframerate(), w.getnchannels(), w.getnframes()
            samples = memoryview(w.readframes(frames)).cast("h")
        step = max(1, rate * channels // 100)
        powers = [sum(s * s for s in samples[at:at + step]) / len(samples[at:at + step])
                  for at in range(0, len(samples), step)]
        return {"seconds": frames / rate, "rms": (sum(s * s for s in samples) / max(1, len(samples))) ** 0.5 / 32768,
                "peak": max(map(abs, samples), default=0) / 32768,
                "loud": sum(p > (threshold * 32768) ** 2 for p in powers) * step / channels / rate}
