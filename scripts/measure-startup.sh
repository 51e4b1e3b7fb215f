#!/usr/bin/env bash
# Times the game's start-up beside bare_window, a plain Qt Widgets program
# with a window and a dialog like the game's and nothing else. Each program
# is started RUNS times, the two alternating, on one private X server with
# the same environment, after one unmeasured run of each to warm the caches.
# For every run: wall time and CPU time from exec until the dialog window is
# mapped (seen as a MapNotify on the root window), and VmRSS a moment after,
# when both windows are up and painted. Prints medians and the ratios.
# Usage: scripts/measure-startup.sh [build-dir] [runs]   (default: build 20)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-20}
for program in torvane bare_window; do
  [ -x "$build/bin/$program" ] || { echo "build $program first (make build)" >&2; exit 1; }
done
scripts/install-deps.sh --with-screenshot

# A private X server on the first free display, which it writes to a file.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 50); do [ -s "$number" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$number") QT_QPA_PLATFORM=xcb

# Both programs title their dialog alike.
python3 - "$runs" "サーバかクライアントを選択しよう" "$build/bin/torvane" "$build/bin/bare_window" <<'EOF'
import ctypes as c, glob, os, select, statistics, subprocess, sys, time

MAP_NOTIFY, SUBSTRUCTURE_NOTIFY_MASK = 19, 1 << 19
SETTLE_SECONDS, TIMEOUT_SECONDS = 0.5, 20

class MapEvent(c.Structure):
    _fields_ = [("type", c.c_int), ("serial", c.c_ulong), ("send_event", c.c_int), ("display", c.c_void_p),
                ("event", c.c_ulong), ("window", c.c_ulong), ("override_redirect", c.c_int)]

class XEvent(c.Union):
    _fields_ = [("type", c.c_int), ("xmap", MapEvent), ("pad", c.c_long * 24)]

x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
x.XDefaultRootWindow.restype = c.c_ulong
x.XDefaultRootWindow.argtypes = [c.c_void_p]
x.XInternAtom.restype = c.c_ulong
x.XInternAtom.argtypes = [c.c_void_p, c.c_char_p, c.c_int]
x.XGetWindowProperty.argtypes = [c.c_void_p, c.c_ulong, c.c_ulong, c.c_long, c.c_long, c.c_int, c.c_ulong,
                                 c.POINTER(c.c_ulong), c.POINTER(c.c_int), c.POINTER(c.c_ulong),
                                 c.POINTER(c.c_ulong), c.POINTER(c.c_void_p)]
x.XSelectInput.argtypes = [c.c_void_p, c.c_ulong, c.c_long]
x.XNextEvent.argtypes = [c.c_void_p, c.c_void_p]
x.XPending.argtypes = x.XConnectionNumber.argtypes = x.XFree.argtypes = [c.c_void_p]
# A window gone before its properties are read is no reason to stop.
IGNORE_ERRORS = c.CFUNCTYPE(c.c_int, c.c_void_p, c.c_void_p)(lambda display, error: 0)
x.XSetErrorHandler(IGNORE_ERRORS)
dpy = x.XOpenDisplay(None)
x.XSelectInput(dpy, x.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY_MASK)
fd = x.XConnectionNumber(dpy)
NET_WM_NAME, NET_WM_PID = x.XInternAtom(dpy, b"_NET_WM_NAME", 0), x.XInternAtom(dpy, b"_NET_WM_PID", 0)
UTF8_STRING, CARDINAL = x.XInternAtom(dpy, b"UTF8_STRING", 0), 6

def prop(window, atom, kind):
    actual, fmt, count, after, data = c.c_ulong(), c.c_int(), c.c_ulong(), c.c_ulong(), c.c_void_p()
    x.XGetWindowProperty(dpy, window, atom, 0, 1024, 0, kind, c.byref(actual), c.byref(fmt), c.byref(count),
                         c.byref(after), c.byref(data))
    if not data.value:
        return None
    value = c.string_at(data, count.value) if fmt.value == 8 else c.cast(data, c.POINTER(c.c_ulong))[0]
    x.XFree(data)
    return value

def cpu_ms(pid):
    total = 0
    for stat in glob.glob(f"/proc/{pid}/task/*/schedstat"):
        with open(stat) as f:
            total += int(f.read().split()[0])
    return total / 1e6

def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))

# Starts the program and waits until it has mapped the dialog and one more
# top-level window; returns wall ms, CPU ms and VmRSS KiB.
def run(path, dialog_title):
    event = XEvent()
    start = time.monotonic_ns()
    proc = subprocess.Popen([path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped, shown = 0, None
    while shown is None or mapped < 2:
        if time.monotonic_ns() - start > TIMEOUT_SECONDS * 1e9:
            proc.kill()
            sys.exit(f"{path} showed no dialog within {TIMEOUT_SECONDS} s")
        while x.XPending(dpy):
            x.XNextEvent(dpy, c.byref(event))
            if event.type != MAP_NOTIFY or prop(event.xmap.window, NET_WM_PID, CARDINAL) != proc.pid:
                continue
            mapped += 1
            if shown is None and prop(event.xmap.window, NET_WM_NAME, UTF8_STRING) == dialog_title.encode():
                shown = ((time.monotonic_ns() - start) / 1e6, cpu_ms(proc.pid))
        select.select([fd], [], [], 0.05)
    time.sleep(SETTLE_SECONDS)
    rss = rss_kib(proc.pid)
    proc.terminate()
    proc.wait()
    return shown[0], shown[1], rss

runs, title, programs = int(sys.argv[1]), sys.argv[2], sys.argv[3:5]
for path in programs:
    run(path, title)
results = {path: [] for path in programs}
for i in range(runs):
    for path in programs if i % 2 == 0 else reversed(programs):
        results[path].append(run(path, title))
medians = [[statistics.median(r[k] for r in results[path]) for k in range(3)] for path in programs]
print(f"{runs} runs each, alternating, median of each figure")
print(f"{'':14}{'start-up ms':>12}{'CPU ms':>10}{'VmRSS MiB':>11}")
for path, (wall, cpu, rss) in zip(programs, medians):
    print(f"{os.path.basename(path):14}{wall:12.1f}{cpu:10.1f}{rss / 1024:11.1f}")
game, bare = medians
print(f"{'ratio':14}" + "".join(f"{g / b:{w}.3f}" for g, b, w in zip(game, bare, (12, 10, 11))))
EOF
