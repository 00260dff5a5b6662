#!/usr/bin/env python3
"""Real starts of the built program, each case under an X server of its own: a guard left by
a killed copy, twenty copies started at the same instant, a missing or read-only runtime
folder, and two users on one display. Exit status 77 means skipped."""

import argparse
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
ERROR_TITLE = "^Error$"


class Failure(Exception):
    pass


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(SKIP)


class XServer:
    """An Xvfb on a free display number, open to every local user, stopped on leaving."""

    def __enter__(self):
        # A number well above the usual ones: the lowest free number races with servers that
        # other tests are starting or stopping at the same moment.
        for _ in range(10):
            wanted = random.randrange(300, 2000)
            if os.path.exists("/tmp/.X%d-lock" % wanted):
                continue
            if self._start(wanted):
                return self
        raise Failure("Xvfb did not start")

    def _start(self, wanted):
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", ":%d" % wanted, "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-ac",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 30
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                os.close(read_end)
                self.__exit__(None, None, None)
                return False
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        # A server that announced its number but takes no client is of no use: try another.
        for _ in range(25):
            if subprocess.run(["xdpyinfo", "-display", self.display], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return True
            time.sleep(0.2)
        self.__exit__(None, None, None)
        return False

    def __exit__(self, *exc):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


class Session:
    """Copies of the program on one display; every copy still running is ended on leaving."""

    def __init__(self, program, display, logs):
        self.program, self.display, self.logs = program, display, logs
        self.pids = []

    def env(self, **extra):
        env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(DISPLAY=self.display, QT_QPA_PLATFORM="xcb")
        for key, value in extra.items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def start(self, prefix=(), **extra):
        log = open(os.path.join(self.logs, f"copy{len(self.pids)}.log"), "wb")
        proc = subprocess.Popen(list(prefix) + [self.program], env=self.env(**extra), stdout=log, stderr=log)
        self.pids.append(proc.pid)
        return proc

    def xdotool(self, *args):
        out = subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True, timeout=30)
        return [int(w) for w in out.stdout.split()] if out.returncode == 0 else []

    def windows_of(self, pid):
        return self.xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "")

    def error_boxes(self):
        return self.xdotool("search", "--onlyvisible", "--name", ERROR_TITLE)

    def pid_of(self, window):
        out = subprocess.run(["xdotool", "getwindowpid", str(window)], env=self.env(), capture_output=True,
                             text=True, timeout=30)
        return int(out.stdout) if out.returncode == 0 else -1

    def answer(self, box):
        # The box closes on the press, so the release may meet a window already gone.
        subprocess.run(["xdotool", "key", "--window", str(box), "Return"], env=self.env(), capture_output=True,
                       timeout=30)

    def end(self):
        for pid in self.pids:
            try:
                os.kill(pid, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass
        for pid in self.pids:
            try:
                os.waitpid(pid, 0)
            except ChildProcessError:
                pass

    def log(self, proc):
        with open(os.path.join(self.logs, f"copy{self.pids.index(proc.pid)}.log"), "rb") as f:
            return f.read().decode(errors="replace")


def wait_for(what, predicate, timeout=60):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.2)


def expect_window(session, proc, who):
    def mapped():
        if proc.poll() is not None:
            raise Failure(f"{who} ended with status {proc.returncode}:\n{session.log(proc)}")
        return session.windows_of(proc.pid)
    wait_for(f"{who} to show its window", mapped)


def expect_refusal(session, proc, who):
    """The copy shows one box titled Error, and ends cleanly once Return answers it."""
    def box():
        if proc.poll() is not None:
            raise Failure(f"{who} ended before showing its box, status {proc.returncode}:\n{session.log(proc)}")
        return [b for b in session.error_boxes() if session.pid_of(b) == proc.pid]
    boxes = wait_for(f"{who} to show its Error box", box)
    # A box is mapped a moment before it takes keys: a Return that comes too early is lost,
    # so it is pressed again while the box is still there.
    status = None
    for _ in range(6):
        # Only a box that is still this copy's own is pressed: a copy that has ended frees its
        # window numbers, and the next copy's box may well get the same one.
        if proc.poll() is None and session.pid_of(boxes[0]) == proc.pid:
            session.answer(boxes[0])
        try:
            status = proc.wait(5)
            break
        except subprocess.TimeoutExpired:
            continue
    if status is None:
        raise Failure(f"{who} did not end after its box was answered")
    if status != 0:
        raise Failure(f"{who} ended with status {status}")


def stale_guard(session, _):
    first = session.start()
    expect_window(session, first, "the first copy")
    first.kill()
    first.wait()
    second = session.start()
    expect_window(session, second, "the copy after a killed one")
    if session.error_boxes():
        raise Failure("a killed copy still blocks the next start")
    print("a copy killed with SIGKILL does not block the next start")


def twenty_copies(session, _):
    # Every copy waits on one pipe; closing it lets all twenty go at the same instant.
    read_end, write_end = os.pipe()
    env = session.env()
    pids = []
    for n in range(20):
        log = os.open(os.path.join(session.logs, f"many{n}.log"), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        pid = os.fork()
        if pid == 0:
            try:
                os.close(write_end)
                os.dup2(log, 1)
                os.dup2(log, 2)
                os.read(read_end, 1)
                os.execve(session.program, [session.program], env)
            finally:
                os._exit(127)
        os.close(log)
        pids.append(pid)
    session.pids.extend(pids)
    os.close(write_end)
    os.close(read_end)

    def ended():
        done = []
        for pid in pids:
            got, status = os.waitpid(pid, os.WNOHANG)
            if got:
                raise Failure(f"copy {pids.index(pid)} ended on its own, status {status}")
        return done

    def nineteen_boxes():
        ended()
        boxes = session.error_boxes()
        if len(boxes) > 19:
            raise Failure(f"{len(boxes)} Error boxes for twenty copies")
        return boxes if len(boxes) == 19 else None
    boxes = wait_for("nineteen Error boxes", nineteen_boxes, timeout=120)
    refused = {session.pid_of(b): b for b in boxes}
    if len(refused) != 19 or not set(refused) <= set(pids):
        raise Failure("the Error boxes do not belong to nineteen different copies")
    (survivor,) = set(pids) - set(refused)
    if not session.windows_of(survivor):
        raise Failure("the copy without a box shows no window")

    for box in boxes:
        session.answer(box)
    deadline = time.monotonic() + 60
    next_press = time.monotonic() + 5
    for pid, box in refused.items():
        while True:
            got, status = os.waitpid(pid, os.WNOHANG)
            if got:
                if os.waitstatus_to_exitcode(status) != 0:
                    raise Failure(f"a refused copy ended with status {os.waitstatus_to_exitcode(status)}")
                break
            if time.monotonic() > deadline:
                raise Failure("a refused copy did not end after Return")
            if time.monotonic() > next_press:
                # A Return that came before the box took keys is lost: press it again, if the
                # box is still this copy's own.
                if box in session.error_boxes() and session.pid_of(box) == pid:
                    session.answer(box)
                next_press = time.monotonic() + 5
            time.sleep(0.1)
    if os.waitpid(survivor, os.WNOHANG)[0] or not session.windows_of(survivor):
        raise Failure("the one copy that ran lost its window")
    if session.error_boxes():
        raise Failure("an Error box is left")
    print("twenty copies at once: one window, nineteen Error boxes, nineteen clean exits")


def runtime_dir(session, scratch):
    read_only = os.path.join(scratch, "read-only")
    os.mkdir(read_only, 0o500)
    cases = [("missing", os.path.join(scratch, "missing"))]
    # Root writes into a read-only folder anyway: that case only means something for a user.
    if os.geteuid() != 0:
        cases.append(("read-only", read_only))
    for name, folder in cases:
        first = session.start(XDG_RUNTIME_DIR=folder)
        expect_window(session, first, f"a copy with a {name} runtime folder")
        second = session.start(XDG_RUNTIME_DIR=folder)
        expect_refusal(session, second, f"a second copy with a {name} runtime folder")
        if not session.windows_of(first.pid):
            raise Failure("the first copy lost its window")
        first.kill()
        first.wait()
    print(f"a {' or '.join(name for name, _ in cases)} runtime folder: the game starts and refuses a second copy")


def two_users(session, scratch):
    if os.geteuid() != 0:
        skip("two users need root to create a throwaway user")
    for tool in ("useradd", "userdel", "setpriv"):
        if not shutil.which(tool):
            skip(f"{tool} is missing")
    user = f"mrdrel{os.getpid()}"
    subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", user], check=True)
    try:
        import pwd
        entry = pwd.getpwnam(user)
        as_user = ["setpriv", f"--reuid={entry.pw_uid}", f"--regid={entry.pw_gid}", "--clear-groups", "--"]
        if subprocess.run(as_user + ["test", "-x", session.program]).returncode != 0:
            skip(f"user {user} cannot run {session.program}")
        home = os.path.join(scratch, "home")
        os.mkdir(home)
        os.chown(home, entry.pw_uid, entry.pw_gid)

        mine = session.start()
        expect_window(session, mine, "the first user's copy")
        theirs = session.start(as_user, HOME=home, XDG_RUNTIME_DIR=None)
        expect_window(session, theirs, "the second user's copy")
        time.sleep(1)
        if session.error_boxes():
            raise Failure("one user's game blocks another's")
        if mine.poll() is not None or theirs.poll() is not None:
            raise Failure("a copy ended")
        print("two users on one display each play their own game")
    finally:
        session.end()
        subprocess.run(["userdel", user])


CASES = {"stale_guard": stale_guard, "twenty_copies": twenty_copies, "runtime_dir": runtime_dir,
         "two_users": two_users}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("case", choices=sorted(CASES))
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            skip(f"{tool} is missing")
    with tempfile.TemporaryDirectory(prefix="merendella-startup-") as scratch:
        os.chmod(scratch, 0o755)
        try:
            with XServer() as x:
                session = Session(os.path.abspath(args.program), x.display, scratch)
                try:
                    CASES[args.case](session, scratch)
                finally:
                    session.end()
        except Failure as failure:
            print(f"FAILED: {failure}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
