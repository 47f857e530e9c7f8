#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts a program on the X server in DISPLAY and times it from launch until
the window manager takes on a window with the given title, as a user waits
for it. Prints one line: the seconds until then, the seconds until the first
window of any other title came up (or -1), the program's peak resident
memory in MB once the window is up, and the processor time in seconds that
it had used when the window came up and when the first other one did
(which a busy machine does not stretch).
The program is then ended.

The window manager lists the windows that it manages in the root window's
_NET_CLIENT_LIST; xprop -spy reports each change of it as it happens, so
nothing is polled.

    time_to_window.py TITLE TIMEOUT_S PROGRAM [ARGUMENT...]
"""

import os
import re
import select
import subprocess
import sys
import time

# How long the window is left to draw before the peak memory is read.
SETTLE_S = 0.5


def window_ids(reports):
    return set(re.findall(r"0x[0-9a-f]+", reports))


def title_of(window):
    out = subprocess.run(["xprop", "-id", window, "_NET_WM_NAME"], capture_output=True, text=True).stdout
    found = re.search(r'= "(.*)"', out)
    return found.group(1) if found else ""


def cpu_seconds(pid):
    """User and system time the process has used so far."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def peak_rss_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return -1


def stop(program, timeout):
    """Ends the measured program, by force if it does not end in time."""
    program.terminate()
    try:
        program.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait()


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    title, timeout = sys.argv[1], float(sys.argv[2])
    spy = subprocess.Popen(["stdbuf", "-oL", "xprop", "-root", "-spy", "_NET_CLIENT_LIST"],
                           stdout=subprocess.PIPE, bufsize=0)
    reports = spy.stdout.fileno()
    # The first report is the list as it stands.
    known = window_ids(os.read(reports, 65536).decode())

    start = time.monotonic()
    program = subprocess.Popen(sys.argv[3:], stdout=subprocess.DEVNULL)
    first_other = -1.0
    other_cpu = -1.0
    shown = None
    try:
        while shown is None:
            left = timeout - (time.monotonic() - start)
            if left <= 0 or program.poll() is not None:
                break
            ready, _, _ = select.select([reports], [], [], left)
            if not ready:
                continue
            changes = os.read(reports, 65536).decode()
            now = time.monotonic() - start
            for window in window_ids(changes) - known:
                known.add(window)
                if title_of(window) == title:
                    shown = now
                    cpu = cpu_seconds(program.pid)
                elif first_other < 0:
                    first_other = now
                    other_cpu = cpu_seconds(program.pid)
        if shown is None:
            sys.exit(f"time_to_window: no window \"{title}\" within {timeout} s")
        time.sleep(SETTLE_S)
        peak = peak_rss_mb(program.pid)
        print(f"{shown:.3f} {first_other:.3f} {peak:.1f} {cpu:.2f} {other_cpu:.2f}")
    finally:
        stop(program, 10)
        spy.kill()
        spy.wait()


if __name__ == "__main__":
    os.environ.setdefault("QT_QPA_PLATFORM", "xcb")
    main()
