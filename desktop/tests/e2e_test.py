#!/usr/bin/env python3
"""The real bbcolour binary, driven from outside with public X tools only.

Each test starts its own X server (and, where a frame matters, openbox),
starts the program, and drives it with xdotool, xclip, xprop and ImageMagick.
Every wait is for a condition, with a generous timeout.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

BBCOLOUR = os.environ.get("BBCOLOUR", "bbcolour")
HOLD_F2 = os.environ.get("HOLD_F2", "hold_f2")
BBCOLOUR_COPY = os.environ.get("BBCOLOUR_COPY", "bbcolour-copy")
FAKE_PORTAL = os.environ.get("FAKE_PORTAL", "fake_portal")
KDE_PORTAL_BACKEND = "/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde"
PORTAL_FRONTEND = "/usr/libexec/xdg-desktop-portal"
TEST_BUS_CONFIG = os.path.join(os.path.dirname(os.path.abspath(__file__)), "test-bus.conf")
TITLE = "Brisolt论坛彩色字体生成器 按F2键复制"
CONFIRM_TITLE = "信息："
TIMEOUT = 60


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


# System calls that change the file system, with the positions of the path
# arguments they change (strace -y prints "FD</path>" for directory fds).
CHANGING_CALLS = {
    "creat": [0], "mkdir": [0], "mkdirat": [1], "mknod": [0], "mknodat": [1], "rmdir": [0],
    "unlink": [0], "unlinkat": [1], "rename": [0, 1], "renameat": [1, 3], "renameat2": [1, 3],
    "link": [1], "linkat": [3], "symlink": [1], "symlinkat": [2], "truncate": [0],
}
WRITE_FLAGS = re.compile(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC")
TRACE_LINE = re.compile(r"^(\w+)\((.*)\) += (-?\d+)")


def split_arguments(text):
    """Top-level arguments of a traced call, strings and braces kept whole."""
    args, depth, current, quoted, escaped = [], 0, "", False, False
    for c in text:
        if quoted:
            current += c
            if escaped:
                escaped = False
            elif c == "\\":
                escaped = True
            elif c == '"':
                quoted = False
        elif c == '"':
            quoted, current = True, current + c
        elif c in "{[(":
            depth, current = depth + 1, current + c
        elif c in "}])":
            depth, current = depth - 1, current + c
        elif c == "," and depth == 0:
            args.append(current.strip())
            current = ""
        else:
            current += c
    return args + [current.strip()] if current.strip() else args


def resolve(args, index):
    """The path argument at `index`, joined to its directory fd before it."""
    path = re.match(r'"(.*)"', args[index])
    if not path:
        return None
    path = path.group(1)
    if path.startswith("/"):
        return path
    directory = re.match(r"\d+<(.*)>", args[index - 1]) if index > 0 else None
    return os.path.join(directory.group(1), path) if directory else "./" + path  # relative: a violation


def written_paths(line):
    """Paths that one successful traced call creates, opens for writing or changes."""
    m = TRACE_LINE.match(line)
    if not m or int(m.group(3)) < 0:
        return []
    call, args = m.group(1), split_arguments(m.group(2))
    if call in ("open", "openat", "openat2"):
        index = 0 if call == "open" else 1
        return [resolve(args, index)] if len(args) > index + 1 and WRITE_FLAGS.search(args[index + 1]) else []
    if call == "bind":
        socket = re.search(r'sun_path="([^"]*)"', m.group(2))
        return [socket.group(1)] if socket else []
    return [p for p in (resolve(args, i) for i in CHANGING_CALLS.get(call, []) if i < len(args)) if p]


def tree_memory(pid):
    """Resident memory in bytes of `pid` and all its descendants."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    parent = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(parent, []).append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    total, todo = 0, [pid]
    while todo:
        p = todo.pop()
        todo += children.get(p, [])
        try:
            with open(f"/proc/{p}/status") as f:
                total += int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1)) * 1024
        except (OSError, AttributeError):
            pass
    return total


class Session:
    """An X server of its own, optionally with a window manager."""

    def __init__(self, window_manager=False):
        self.tmp = tempfile.mkdtemp(prefix="bbcolour-e2e-")
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            # -noreset: the tests' own X tools connect and leave while the
            # program starts; a server that resets when its last client
            # leaves would refuse the program mid-reset. A desktop's server
            # never resets during a session.
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.display = ":" + f.readline().strip()
        self.env = {"PATH": os.environ["PATH"], "DISPLAY": self.display, "HOME": self.tmp,
                    "QTWEBENGINE_DISABLE_SANDBOX": "1", "LANG": "C.UTF-8"}
        self.processes = []
        # A session bus of its own, as every desktop session has one.
        bus_home = os.path.join(self.tmp, "bus-home")
        os.mkdir(bus_home)
        # It starts no service by itself: only what a test runs is on it.
        bus = self.spawn(["dbus-daemon", "--config-file=" + TEST_BUS_CONFIG, "--nofork", "--print-address"],
                         env=dict(self.env, HOME=bus_home), stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        bus.stdout.close()
        if window_manager:
            wm_home = os.path.join(self.tmp, "wm-home")
            os.mkdir(wm_home)
            self.spawn(["openbox"], env=dict(self.env, HOME=wm_home), stderr=subprocess.DEVNULL)
            wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.x("xprop", "-root"), "openbox")

    def spawn(self, command, env=None, **kwargs):
        p = subprocess.Popen(command, env=env or self.env, stdin=subprocess.DEVNULL, **kwargs)
        self.processes.append(p)
        return p

    def x(self, *command, check=False, input=None):
        r = subprocess.run(command, env=self.env, capture_output=True, text=True, input=input)
        if check and r.returncode != 0:
            raise AssertionError(f"{command} failed: {r.stderr}")
        return r.stdout

    def windows(self, title):
        """Visible windows whose name is exactly `title`."""
        out = self.x("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(title) + "$")
        return out.split()

    def focus(self, window):
        """Gives `window` the focus: through the window manager when one runs."""
        if "_NET_ACTIVE_WINDOW" in self.x("xprop", "-root", "_NET_SUPPORTED"):
            self.x("xdotool", "windowactivate", "--sync", window, check=True)
        else:
            self.x("xdotool", "windowfocus", "--sync", window, check=True)

    def window_origin(self, window):
        """Top-left corner of `window`'s client area on the screen."""
        info = self.x("xwininfo", "-id", window)
        x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
        y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
        return x, y

    def frame_extents(self, window):
        """(left, right, top, bottom) of the frame the window manager draws, or None yet."""
        m = re.search(r"= (\d+), (\d+), (\d+), (\d+)", self.x("xprop", "-id", window, "_NET_FRAME_EXTENTS"))
        return tuple(map(int, m.groups())) if m else None

    def clipboard(self):
        r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env, capture_output=True,
                           timeout=TIMEOUT)
        return r.stdout.decode("utf-8") if r.returncode == 0 else None

    def set_clipboard(self, text):
        # xclip stays behind to serve the selection: give it no pipes to hold open.
        subprocess.run(["xclip", "-selection", "clipboard"], env=self.env, input=text.encode(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=TIMEOUT, check=True)

    def other_client(self):
        """Another X client, focused, so that F2 is pressed outside bbcolour."""
        self.spawn(["xmessage", "-geometry", "+0+0", "another application"])
        window = wait_for(lambda: self.windows("xmessage"), "xmessage")[0]
        self.x("xdotool", "windowfocus", "--sync", window, check=True)
        return window

    def close(self):
        subprocess.run(["pkill", "-f", "xclip -selection clipboard"], env=self.env)
        for p in reversed(self.processes):
            if p.poll() is None:
                p.kill()
            p.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


class E2E(unittest.TestCase):
    def start(self, window_manager=False, home=None, extra_env=None, session=None):
        self.session = session or Session(window_manager)
        if not session:
            self.addCleanup(self.session.close)
        env = dict(self.session.env)
        if home:
            env["HOME"] = home
        env.update(extra_env or {})
        self.stderr = open(os.path.join(self.session.tmp, "stderr"), "w+")
        self.addCleanup(self.stderr.close)
        self.app = self.session.spawn([BBCOLOUR], env=env, stdout=subprocess.DEVNULL, stderr=self.stderr)
        self.window = wait_for(lambda: self.session.windows(TITLE), "the main window")[0]
        return self.session

    def focus_window(self):
        self.session.focus(self.window)

    def type_into_window(self, text):
        self.focus_window()
        self.session.x("xdotool", "type", "--delay", "40", text, check=True)

    def close_box(self):
        s = self.session
        s.focus(s.windows(CONFIRM_TITLE)[0])
        s.x("xdotool", "key", "Return", check=True)
        wait_for(lambda: not s.windows(CONFIRM_TITLE), "the box to close")

    def press_f2(self, boxes, what="the confirmation box"):
        """Presses F2 and waits until `boxes` confirmation boxes are shown."""
        s = self.session
        s.x("xdotool", "key", "F2", check=True)
        wait_for(lambda: len(s.windows(CONFIRM_TITLE)) == boxes, what)

    def test_TypingAndF2FromAnotherClient(self):
        s = self.start()
        self.type_into_window("ab")
        s.other_client()
        self.press_f2(1)
        self.assertEqual(s.clipboard(), "[color=#84E16C]a[/color][color=#D6AE52]b[/color]")
        self.assertIsNone(self.app.poll())

    def test_F2StacksASecondBox(self):
        s = self.start()
        self.type_into_window("x")
        s.other_client()
        self.press_f2(1, "the first box")
        self.press_f2(2, "a second box on top of the first")
        self.assertEqual(s.clipboard(), "[color=#2923BE]x[/color]")

    def test_F2WithNumLock(self):
        s = self.start()
        self.type_into_window("n")
        s.other_client()
        s.x("xdotool", "key", "Num_Lock", check=True)
        wait_for(lambda: re.search(r"Num Lock:\s+on", s.x("xset", "q")), "Num Lock on")
        self.press_f2(1)
        self.assertEqual(s.clipboard(), "[color=#2923BE]n[/color]")

    def test_F2HeldByAnotherClient(self):
        self.session = s = Session()
        self.addCleanup(s.close)
        holder = s.spawn([HOLD_F2], stdout=subprocess.PIPE, text=True)
        self.addCleanup(holder.stdout.close)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        self.app = s.spawn([BBCOLOUR], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: s.windows(TITLE), "the main window")[0]
        self.type_into_window("ab")
        s.set_clipboard("before")
        wait_for(lambda: s.clipboard() == "before", "the clipboard to hold the old text")
        s.other_client()
        s.x("xdotool", "key", "F2", check=True)
        # The press went to the client that holds F2, so bbcolour never saw it.
        self.assertEqual(holder.stdout.readline().strip(), "F2")
        self.assertIsNone(self.app.poll(), "bbcolour runs on")
        self.assertEqual(s.windows(CONFIRM_TITLE), [])
        self.assertEqual(s.clipboard(), "before")

    def test_PreviewShowsTheColours(self):
        s = self.start()
        # A full block gives solid pixels of the unit's colour. Map it to a
        # spare key first: a key that xdotool maps on the fly can arrive
        # before the program has read the new keyboard mapping.
        s.x("xmodmap", "-e", "keycode 252 = U2588", check=True)
        self.focus_window()
        s.x("xdotool", "key", "U2588", check=True)
        x, y = s.window_origin(self.window)
        preview = f"296x152+{x + 16}+{y + 296}"  # 超文本浏览框1 inside 分组框3
        shot = os.path.join(s.tmp, "shot.png")

        def colour_pixels():
            s.x("import", "-window", "root", "-crop", preview, shot, check=True)
            histogram = s.x("convert", shot, "-format", "%c", "histogram:info:-")
            m = re.search(r"^\s*(\d+):.*#2923BE", histogram, re.M | re.I)
            return int(m.group(1)) if m else 0

        wait_for(lambda: colour_pixels() >= 20, "pixels of colour #2923BE in the preview")

    def test_MillionCharacterPaste(self):
        """A paste of 1,000,000 characters in lines of 300: F2 then copies the
        complete markup, and all the program's processes together stay
        under 1.5 GiB."""
        s = self.start()
        pattern = "彩色字体abc😀[]{~中文"
        line = (pattern * (299 // len(pattern) + 1))[:299] + "\n"
        text = (line * (1_000_000 // len(line) + 1))[:1_000_000]
        peak = [0]

        def copied_all():
            # F2 is handled after the paste, so an empty code means the
            # paste has not landed (a key sent as the window maps can be
            # lost): paste again into the still empty box. F2 copied the empty
            # code, so the clipboard gets the text again first.
            s.set_clipboard(text)
            wait_for(lambda: s.clipboard() == text, "the clipboard to hold the text")
            self.focus_window()
            s.x("xdotool", "key", "ctrl+v", check=True)
            s.x("xdotool", "key", "F2", check=True)
            wait_for(lambda: s.windows(CONFIRM_TITLE), "the confirmation box", timeout=180)
            peak[0] = max(peak[0], tree_memory(self.app.pid))
            copied = s.clipboard()
            self.close_box()
            return copied if copied else None

        copied = wait_for(copied_all, "F2 to copy the whole paste's markup", timeout=300)
        units = re.sub(r"\[color=#[0-9A-F]{6}\]|\[/color\]", "", copied)
        self.assertEqual(units, text.replace("\n", "\r\n"))
        self.assertEqual(copied.count("[color=#"), copied.count("[/color]"))
        peak[0] = max(peak[0], tree_memory(self.app.pid))
        self.assertIsNone(self.app.poll(), "the window is alive")
        self.assertLess(peak[0], 1.5 * 2**30, f"all processes: {peak[0] / 2**20:.0f} MiB")

    def test_WindowManagerFrame(self):
        s = self.start(window_manager=True)

        def frame():
            extents = s.frame_extents(self.window)
            if not extents:
                return None
            left, right, top, bottom = extents
            info = s.x("xwininfo", "-id", self.window)
            width = int(re.search(r"Width: (\d+)", info).group(1))
            height = int(re.search(r"Height: (\d+)", info).group(1))
            x, y = s.window_origin(self.window)
            return (x - left, y - top, width + left + right, height + top + bottom)

        wait_for(lambda: frame() == ((1280 - 336) // 2, (1024 - 516) // 2, 336, 516),
                 "an outer frame of 336 x 516, centred")
        hints = s.x("xprop", "-id", self.window, "WM_NORMAL_HINTS")
        minimum = re.search(r"minimum size: (\d+) by (\d+)", hints).groups()
        maximum = re.search(r"maximum size: (\d+) by (\d+)", hints).groups()
        self.assertEqual(minimum, maximum, "not resizable")
        motif = s.x("xprop", "-id", self.window, "_MOTIF_WM_HINTS")
        functions = int(re.search(r"= (\w+), (\w+)", motif).group(2), 0)
        self.assertFalse(functions & (8 | 16), "no minimise or maximise function")  # MWM_FUNC_MINIMIZE/MAXIMIZE
        self.assertTrue(functions & 32, "can be closed")  # MWM_FUNC_CLOSE

    def test_CloseExitsWithZero(self):
        s = self.start(window_manager=True)
        self.type_into_window("bye")
        s.x("xdotool", "key", "alt+F4", check=True)
        self.assertEqual(self.app.wait(timeout=TIMEOUT), 0)

    def test_NothingWrittenAnywhere(self):
        """Every process of the program, and bbcolour-copy, traced through a
        whole session: no file or folder is created, opened for writing,
        renamed, linked or removed outside /dev, /proc, /sys and the runtime
        folder, whatever HOME and the XDG folders say."""
        s = Session(window_manager=True)
        self.session = s
        self.addCleanup(s.close)
        folders = {name: os.path.join(s.tmp, name.lower()) for name in
                   ("HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                    "XDG_RUNTIME_DIR", "CWD")}
        for folder in folders.values():
            os.mkdir(folder, 0o700)
        env = dict(s.env, XDG_CONFIG_DIRS="/etc/xdg", XDG_DATA_DIRS="/usr/local/share:/usr/share",
                   XDG_SESSION_TYPE="x11", XDG_CURRENT_DESKTOP="X-Generic", XDG_SESSION_DESKTOP="generic",
                   **{k: v for k, v in folders.items() if k != "CWD"})
        traces = os.path.join(s.tmp, "traces")
        os.mkdir(traces)

        def traced(command, name):
            return ["strace", "-f", "-ff", "-qq", "-y", "-o", os.path.join(traces, name),
                    "-e", "trace=%file,bind"] + command

        self.app = s.spawn(traced([os.path.abspath(BBCOLOUR)], "bbcolour"), env=env, cwd=folders["CWD"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: s.windows(TITLE), "the main window", timeout=120)[0]
        self.type_into_window("disk")
        s.other_client()
        self.press_f2(1)
        self.assertTrue(s.clipboard().startswith("[color=#"), s.clipboard())
        self.close_box()
        copy = subprocess.run(traced([os.path.abspath(BBCOLOUR_COPY)], "copy"), env=env, cwd=folders["CWD"],
                              capture_output=True, text=True, timeout=TIMEOUT)
        self.assertEqual(copy.returncode, 0, copy.stderr)
        wait_for(lambda: s.windows(CONFIRM_TITLE), "the box from bbcolour-copy")
        self.close_box()
        self.focus_window()
        s.x("xdotool", "key", "alt+F4", check=True)
        self.assertEqual(self.app.wait(timeout=TIMEOUT), 0)

        allowed = ("/dev/", "/proc/", "/sys/", folders["XDG_RUNTIME_DIR"] + "/")
        logs = os.listdir(traces)
        self.assertGreater(len([n for n in logs if n.startswith("bbcolour.")]), 2, "the web engine's processes")
        writes, calls = [], 0
        for name in logs:
            with open(os.path.join(traces, name), errors="replace") as f:
                for line in f:
                    calls += 1
                    for path in written_paths(line):
                        if not (path + "/").startswith(allowed):
                            writes.append(f"{name}: {line.strip()}")
        self.assertGreater(calls, 1000, "the trace saw the file-system calls")
        self.assertEqual(writes, [])
        self.assertEqual([os.listdir(folder) for folder in folders.values()], [[]] * 7)

    def test_CopyCommand(self):
        s = self.start()
        r = subprocess.run([BBCOLOUR_COPY], env=s.env, capture_output=True, text=True, timeout=TIMEOUT)
        self.assertEqual(r.returncode, 0, r.stderr)
        wait_for(lambda: len(s.windows(CONFIRM_TITLE)) == 1, "the confirmation box")
        self.assertEqual(s.clipboard(), "")  # nothing typed yet: the empty code, as F2 copies it
        self.app.kill()
        self.app.wait()
        r = subprocess.run([BBCOLOUR_COPY], env=s.env, capture_output=True, text=True, timeout=TIMEOUT)
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.stdout, "")
        self.assertEqual(len(r.stderr.splitlines()), 1, r.stderr)
        self.assertTrue(r.stderr.startswith("bbcolour-copy: no bbcolour window is running"), r.stderr)

    def test_PortalOnWayland(self):
        # A Wayland session whose window runs through XWayland: F2 comes from the portal.
        session = Session()
        self.addCleanup(session.close)
        portal = session.spawn([FAKE_PORTAL, "ok"], stdout=subprocess.PIPE, text=True)
        self.addCleanup(portal.stdout.close)
        self.assertEqual(portal.stdout.readline().strip(), "ready")
        s = self.start(session=session, extra_env={"XDG_SESSION_TYPE": "wayland", "QT_QPA_PLATFORM": "xcb"})

        def portal_call(method):
            return s.x("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.portal.Desktop",
                       "/control", "org.bbcolour.test.FakePortal." + method)

        wait_for(lambda: 'string "F2"' in portal_call("Trigger"), "the portal to be asked for F2")
        self.type_into_window("w")
        # The X11 grab is not used here: a plain F2 press does nothing.
        portal_call("Press")
        wait_for(lambda: len(s.windows(CONFIRM_TITLE)) == 1, "the confirmation box")
        self.assertEqual(s.clipboard(), "[color=#2923BE]w[/color]")

    def test_KdePortalBindsF2(self):
        """Debian 12's real portal stack for KDE (frontend 1.16, KDE backend
        5.27, kglobalaccel) on the session's private bus, which starts
        nothing by itself: the program's own calls bind F2 in kglobalaccel,
        a real F2 press reaches it as Activated and copies, and the backend
        is never asked to open its shortcut settings."""
        session = Session()
        self.addCleanup(session.close)
        home = os.path.join(session.tmp, "kde-home")
        os.mkdir(home)
        kde = dict(session.env, HOME=home, XDG_CURRENT_DESKTOP="KDE", QT_QPA_PLATFORM="xcb")
        backend_log = os.path.join(session.tmp, "backend.log")

        def on_bus(name):
            return f'string "{name}"' in session.x("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                                   "/", "org.freedesktop.DBus.ListNames")

        session.spawn(["kglobalaccel5"], env=kde, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: on_bus("org.kde.kglobalaccel"), "kglobalaccel")
        with open(backend_log, "w") as log:
            session.spawn([KDE_PORTAL_BACKEND], env=kde, stdout=log, stderr=subprocess.STDOUT)
        wait_for(lambda: on_bus("org.freedesktop.impl.portal.desktop.kde"), "the KDE portal backend")
        session.spawn([PORTAL_FRONTEND], env=kde, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: on_bus("org.freedesktop.portal.Desktop"), "the portal frontend")

        s = self.start(session=session, extra_env={"XDG_SESSION_TYPE": "wayland", "QT_QPA_PLATFORM": "xcb",
                                                   "XDG_CURRENT_DESKTOP": "KDE"})

        def bound_to_f2():
            # The program's component (named after its session), its "copy"
            # action, and Qt's key code of F2 (Qt::Key_F2) as active keys.
            infos = s.x("dbus-send", "--session", "--print-reply", "--dest=org.kde.kglobalaccel",
                        "/component/bbcolour", "org.kde.kglobalaccel.Component.allShortcutInfos")
            return re.search(r'string "copy".*?array \[\s*int32 16777265\s*\]', infos, re.S)

        wait_for(bound_to_f2, "F2 bound in kglobalaccel for the program")
        self.type_into_window("k")

        def press_until_confirmed():
            # XTest: kglobalaccel's grab gets the press, not the program. Its
            # grab may follow the binding by a moment: press again after a
            # second without a box.
            s.x("xdotool", "key", "F2", check=True)
            deadline = time.monotonic() + 1
            while time.monotonic() < deadline and not s.windows(CONFIRM_TITLE):
                time.sleep(0.05)
            return s.windows(CONFIRM_TITLE)

        wait_for(press_until_confirmed, "the confirmation box after a real F2 press")
        self.assertEqual(s.clipboard(), "[color=#2923BE]k[/color]")
        with open(backend_log) as f:
            log = f.read()
        self.assertIn("ListShortcuts called", log)  # the log shows the program's calls
        self.assertNotIn("BindShortcuts called", log)
        self.assertNotIn("systemsettings", log)

    def test_NoDisplay(self):
        env = {"PATH": os.environ["PATH"], "HOME": tempfile.gettempdir()}
        r = subprocess.run([BBCOLOUR], env=env, capture_output=True, text=True, timeout=TIMEOUT)
        self.assertEqual(r.returncode, 255)
        self.assertEqual(r.stdout, "")
        lines = r.stderr.splitlines()
        self.assertEqual(len(lines), 1, r.stderr)
        self.assertTrue(lines[0].startswith("bbcolour: cannot open the display"), lines[0])


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    unittest.main()
