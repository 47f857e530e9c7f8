#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints a font sheet of every font with the real program on the X server
in DISPLAY, as a user would: waits for the main window, clicks Select All,
waits until the program is idle again, clicks Print Fonts and times it
until a sheet appears in the folder DOCUMENTS (the PDF printer gives a
sheet its name only once it is complete). Prints one line: the seconds
from the click on Print Fonts to the sheet, the program's peak resident
memory in MB, its processor seconds for the sheet, the peak resident
memory in MB of the largest process of the run, the program or one that it
started and waited for, and the processor seconds for the sheet of the
program and the processes that it waited for. The program is then ended.

    time_to_sheet.py TIMEOUT_S DOCUMENTS SELECT_ALL_X,Y PRINT_X,Y PROGRAM [ARGUMENT...]

The places are the buttons' centres in the main window, in pixels.

With GLYPHORA_PING_PROBE naming the ping_probe program, two more figures
follow: the longest answer in ms to the pings that the probe sends the main
window from the click until the sheet is there (the longest time that the
program's main thread stayed away from its event loop), and the seconds
without progress at the end: from the progress window's last change on the
screen (a count, a note, or its closing) until the sheet is there. The
probes cost the program time of their own: timings of such runs are not
comparable with those of plain runs.
"""

import os
import resource
import subprocess
import sys
import tempfile
import time

from time_to_window import cpu_seconds, peak_rss_mb, stop


def cpu_seconds_with_children(pid):
    """cpu_seconds(), and the time of the children that the process has waited for."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return sum(int(field) for field in fields[11:15]) / os.sysconf("SC_CLK_TCK")

# The program counts as idle once it has used no processor time for this
# long; Select All pumps events for every entry, so it never pauses that long.
IDLE_S = 0.5
POLL_S = 0.02


def main_window(deadline):
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Glyphora$"],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.05)
    sys.exit("time_to_sheet: no main window")


def click(window, place):
    x, y = place.split(",")
    subprocess.run(["xdotool", "mousemove", "--window", window, x, y, "click", "1"], check=True)


def wait_until_idle(pid, deadline):
    last, since = cpu_seconds(pid), time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(POLL_S)
        now = cpu_seconds(pid)
        if now != last:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= IDLE_S:
            return
    sys.exit("time_to_sheet: Select All did not end")


class EndWatch:
    """Watches the progress window's pixels for the last time it changed."""

    def __init__(self):
        self.window = None
        self.picture = None
        self.last_change = None

    def look(self, sheet_there):
        shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Printing Fonts$"],
                               capture_output=True, text=True).stdout.split()
        if self.window is None:
            if not shown:
                return
            self.window = shown[0]
        # An unmapped window's pixels are undefined: it counts as closed.
        shot = subprocess.run(["xwd", "-silent", "-id", self.window], capture_output=True)
        picture = shot.stdout if shot.returncode == 0 and self.window in shown else b"closed"
        # A window that closes once the sheet is there closed after it.
        if picture == b"closed" and sheet_there():
            return
        if picture != self.picture:
            self.picture, self.last_change = picture, time.monotonic()


def sheet_in(documents):
    return os.path.isdir(documents) and any(name.endswith(".pdf") for name in os.listdir(documents))


def longest_answer_ms(answers, since, until):
    """The longest answer to a ping sent between since and until, or one still open at until."""
    longest = 0.0
    last_sent = since
    for line in answers.splitlines():
        sent, took = (float(field) for field in line.split())
        if since <= sent <= until:
            longest = max(longest, took)
            last_sent = max(last_sent, sent + took / 1000)
    # A ping not answered when the sheet came is a wait still under way.
    return max(longest, (until - last_sent) * 1000 if last_sent < until - 0.1 else 0.0)


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    timeout, documents, select_all, print_fonts = float(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    start = time.monotonic()
    deadline = start + timeout
    program = subprocess.Popen(sys.argv[5:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = main_window(deadline)
        wait_until_idle(program.pid, deadline)
        click(window, select_all)
        wait_until_idle(program.pid, deadline)
        cpu_before = cpu_seconds(program.pid)
        all_cpu_before = cpu_seconds_with_children(program.pid)
        probe_path = os.environ.get("GLYPHORA_PING_PROBE")
        probe = watch = None
        if probe_path:
            # Into a file: a pipe that nobody reads until the end fills up
            # after some 3,400 answers, and the probe then waits on it
            # instead of pinging.
            answers_file = tempfile.TemporaryFile(mode="w+")
            probe = subprocess.Popen([probe_path, window], stdout=answers_file, text=True)
            watch = EndWatch()
        clicked = time.monotonic()
        click(window, print_fonts)
        while time.monotonic() < deadline:
            if watch:
                watch.look(lambda: sheet_in(documents))
            if program.poll() is not None:
                sys.exit(f"time_to_sheet: the program ended with {program.returncode}")
            if sheet_in(documents):
                break
            time.sleep(POLL_S)
        else:
            sys.exit("time_to_sheet: no sheet in time")
        filed = time.monotonic()
        took = filed - clicked
        probed = ""
        if probe:
            probe.terminate()
            probe.wait()
            answers_file.seek(0)
            answers = answers_file.read()
            probed = f" {longest_answer_ms(answers, clicked, filed):.0f} {filed - (watch.last_change or clicked):.2f}"
        cpu = cpu_seconds(program.pid) - cpu_before
        all_cpu = cpu_seconds_with_children(program.pid) - all_cpu_before
        result = f"{took:.3f} {peak_rss_mb(program.pid):.1f} {cpu:.2f}"
    finally:
        stop(program, 30)
    # Linux counts in KB, and passes on the peaks of the children that a
    # child waited for.
    print(f"{result} {resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024:.1f} {all_cpu:.2f}{probed}")


if __name__ == "__main__":
    os.environ.setdefault("QT_QPA_PLATFORM", "xcb")
    main()
