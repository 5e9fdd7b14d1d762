#!/usr/bin/env python3
"""Runs a command and prints the peak memory of its whole process tree: every 10 ms the
resident sizes of the command and all its descendants (worker processes included) are
added up; the largest sum is the peak. Usage: peak-tree-memory.py COMMAND [ARGS...]"""
import os
import subprocess
import sys
import time


def children_of():
    """Parent pid -> list of child pids, from /proc."""
    tree = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            tree.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            pass
    return tree


def rss_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def tree_rss_kb(root):
    tree, total, todo = children_of(), 0, [root]
    while todo:
        pid = todo.pop()
        total += rss_kb(pid)
        todo.extend(tree.get(pid, []))
    return total


def main():
    process = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL)
    peak = 0
    while process.poll() is None:
        peak = max(peak, tree_rss_kb(process.pid))
        time.sleep(0.01)
    print(f"peak tree RSS {peak / 1024:.0f} MB, exit code {process.returncode}")
    return process.returncode


if __name__ == "__main__":
    sys.exit(main())
