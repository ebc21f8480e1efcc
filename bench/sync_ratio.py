#!/usr/bin/env python3
"""Measures a whole synchronisation against the cost of copying its files.

For every scale it generates a territory with make-territory, loads its handheld data into a
HotSync home once, and then per exchange format ("TXT", "XML") runs `hotsync sync --yes` three
times on fresh copies of that home (import and export, every input present). In the same run it
measures the floor: reading every input file of the format and the handheld's .pdb files and
writing a copy of the same bytes, once inside this script's own long-running process and once as
a process of its own (copy_files), started as the sync is. One row per scale and format:
best-of-3 sync seconds, best-of-3 floor seconds of both kinds, the ratios, the peak resident
memory of the sync and the input bytes.

Not a test; nothing asserts on its figures.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
USER = "Agent"
FORMAT_EXTENSIONS = {"TXT": (".txt",), "XML": (".xml", ".xlm")}


def run_checked(command):
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if done.returncode != 0:
        sys.exit(f"{' '.join(map(str, command))} failed ({done.returncode}): {done.stderr.decode()}")


def timed_child(command):
    """Wall seconds, processor seconds and peak RSS (bytes) of one child, from its own resource usage."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"{' '.join(map(str, command))} failed ({child.returncode}): {child.stderr.read().decode()}")
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def make_base_home(bin_dir, territory, base):
    """A HotSync home with the conduit registered, one user and the territory's handheld loaded."""
    if base.exists():
        shutil.rmtree(base)
    base.mkdir(parents=True)
    hotsync = [bin_dir / "hotsync", "--home", base]
    run_checked(hotsync + ["register"])
    run_checked(hotsync + ["users", "add", USER, "--dir", USER])
    device = base / USER / "Device"
    device.mkdir(parents=True, exist_ok=True)
    (base / USER / "Default").mkdir(parents=True, exist_ok=True)
    recorded = sorted((territory / "handheld").glob("*.txt"))
    for source in recorded:
        run_checked([bin_dir / "handheld", "load", device, source.stem, source])
    # The reference databases the export rewrites exist already on a handheld in use: empty
    # ones, made from the header lines of the demo handheld's files.
    recorded_names = {source.stem for source in recorded}
    for demo in sorted((ROOT / "demo" / "handheld").glob("*.txt")):
        if demo.stem in recorded_names:
            continue
        header = base / f"{demo.stem}.header"
        header.write_bytes(demo.read_bytes().splitlines()[0] + b"\r\n")
        run_checked([bin_dir / "handheld", "load", device, demo.stem, header])
        header.unlink()


def format_inputs(territory, exchange_format):
    extensions = FORMAT_EXTENSIONS[exchange_format]
    return sorted(p for p in (territory / "exchange").iterdir() if p.suffix in extensions)


def fresh_home(base, home, territory, exchange_format):
    if home.exists():
        shutil.rmtree(home)
    shutil.copytree(base, home)
    exchange = home / USER / "Default"
    for source in format_inputs(territory, exchange_format):
        shutil.copyfile(source, exchange / source.name)
    (home / "ZembraToPalm.ini").write_bytes(f"[COMMON]\r\nEXCHANGEFILEFORMAT={exchange_format}\r\n".encode())


def floor_seconds(files, scratch):
    """Reads every file and writes a copy of its bytes; the files are those the sync reads."""
    if scratch.exists():
        shutil.rmtree(scratch)
    scratch.mkdir(parents=True)
    start = time.perf_counter()
    for index, source in enumerate(files):
        data = source.read_bytes()
        (scratch / f"{index}-{source.name}").write_bytes(data)
    return time.perf_counter() - start


def fresh_floor_seconds(bin_dir, files, scratch):
    """The same copy made by copy_files, a process of its own started as the sync is."""
    if scratch.exists():
        shutil.rmtree(scratch)
    scratch.mkdir(parents=True)
    seconds, _, _ = timed_child([bin_dir / "copy_files", scratch] + files)
    return seconds


def measure(bin_dir, work, scale, runs, seed):
    territory = work / f"territory-{scale}"
    if not (territory / "exchange").is_dir():
        run_checked([sys.executable, args.make_territory, territory, "--scale", str(scale), "--seed", str(seed)])
    base = work / f"home-{scale}"
    make_base_home(bin_dir, territory, base)
    device_files = sorted((base / USER / "Device").glob("*.pdb"))
    rows = []
    for exchange_format in FORMAT_EXTENSIONS:
        inputs = format_inputs(territory, exchange_format) + device_files
        input_bytes = sum(p.stat().st_size for p in inputs)
        home = work / "run-home"
        syncs, cpus, floors, fresh_floors, peak = [], [], [], [], 0
        for _ in range(runs):
            fresh_home(base, home, territory, exchange_format)
            seconds, cpu, rss = timed_child([bin_dir / "hotsync", "--home", home, "sync", "--user", USER, "--yes"])
            syncs.append(seconds)
            cpus.append(cpu)
            peak = max(peak, rss)
            floors.append(floor_seconds(inputs, work / "floor-copy"))
            fresh_floors.append(fresh_floor_seconds(bin_dir, inputs, work / "floor-copy"))
        rows.append((scale, exchange_format, min(syncs), min(cpus), min(floors), min(fresh_floors), peak, input_bytes))
        print_row(rows[-1])
    return rows


def print_header():
    print(f"{'scale':>5} {'format':>6} {'sync s':>8} {'cpu s':>6} {'floor s':>8} {'ratio':>6} {'fresh floor s':>13} "
          f"{'fresh ratio':>11} {'peak RSS MB':>11} {'input MB':>9} {'RSS bound MB':>12}", flush=True)


def print_row(row):
    scale, exchange_format, sync, cpu, floor, fresh_floor, peak, input_bytes = row
    bound = 3 * input_bytes + 50 * 2**20
    print(f"{scale:>5} {exchange_format:>6} {sync:>8.3f} {cpu:>6.3f} {floor:>8.3f} {sync / floor:>6.1f} "
          f"{fresh_floor:>13.3f} {sync / fresh_floor:>11.1f} {peak / 2**20:>11.1f} {input_bytes / 2**20:>9.1f} "
          f"{bound / 2**20:>12.1f}", flush=True)


def print_growth(rows):
    by_key = {(scale, fmt): sync for scale, fmt, sync, *_ in rows}
    for exchange_format in FORMAT_EXTENSIONS:
        if (1.0, exchange_format) in by_key and (2.0, exchange_format) in by_key:
            growth = by_key[(2.0, exchange_format)] / by_key[(1.0, exchange_format)]
            print(f"{exchange_format}: time at scale 2 / time at scale 1 = {growth:.2f}")


if __name__ == "__main__":
    root = ROOT
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", type=Path, default=root / "build" / "rel" / "bin",
                        help="the build's bin directory holding hotsync, handheld and the conduit")
    parser.add_argument("--work", type=Path, default=root / "build" / "sync_ratio",
                        help="where territories and HotSync homes are kept (territories are reused)")
    parser.add_argument("--scales", type=float, nargs="+", default=[0.5, 1.0, 2.0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--make-territory", type=Path, default=root.parent / "shared" / "tools" / "make-territory")
    args = parser.parse_args()
    args.work.mkdir(parents=True, exist_ok=True)
    work = args.work.resolve()
    print_header()
    all_rows = []
    for s in args.scales:
        all_rows += measure(args.bin.resolve(), work, s, args.runs, args.seed)
    print_growth(all_rows)
