#!/usr/bin/env python3
"""Times carteloom-cli on large inputs beside copying the same bytes and beside peer tools.

bench.py CLI WORKFOLDER [RUNS]: makes the inputs (fixed seed) at full and half size, runs every case
RUNS times (default 5), and prints one table of medians.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent

# name, source files (the first is converted), direction, points in the full-size input
CASES = [
    ("waypoints .upt -> MIF", ["waypoints.upt"], "to-mif", 1_000_000),
    ("track log .log -> MIF", ["track.log"], "to-mif", 1_000_000),
    ("routes .rte -> MIF", ["routes.rte"], "to-mif", 100_000),
    ("MIF points -> .upt", ["points.mif", "points.mid"], "to-receiver", 1_000_000),
    ("MIF polylines -> .rte", ["lines.mif", "lines.mid"], "to-receiver", 1_000_000),
]
# peer command for a case, and the input files it reads
PEERS = {
    "waypoints .upt -> MIF": ("ogr2ogr", ["waypoints.csv"]),
    "track log .log -> MIF": ("gpsbabel", ["track.nmea"]),
}


def run_once(argv, cwd):
    """Wall time in seconds and peak RSS in MiB of one run of argv."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if proc.returncode != 0:
        raise SystemExit(f"failed ({proc.returncode}): {' '.join(map(str, argv))}\n{err}")
    return elapsed, usage.ru_maxrss / 1024


def median_of(argv, cwd, runs):
    results = [run_once(argv, cwd) for _ in range(runs)]
    return statistics.median(r[0] for r in results), max(r[1] for r in results)


def cli_argv(cli, direction, source, out):
    return [cli, direction, "-o", str(out), "--on-exist=overwrite", source]


def peer_argv(peer, folder, out):
    if peer == "ogr2ogr":
        return ["ogr2ogr", "-f", "MapInfo File", "-overwrite", str(out / "peer.mif"),
                str(folder / "waypoints.csv"), "-oo", "X_POSSIBLE_NAMES=lon", "-oo", "Y_POSSIBLE_NAMES=lat",
                "-a_srs", "EPSG:4326"]
    return ["gpsbabel", "-t", "-i", "nmea", "-f", str(folder / "track.nmea"), "-o", "gpx",
            "-F", str(out / "peer.gpx")]


def main():
    cli = str(Path(sys.argv[1]).resolve())
    work = Path(sys.argv[2]).resolve()
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    full, half, out = work / "full", work / "half", work / "out"
    for folder, scale in ((full, "1.0"), (half, "0.5")):
        if not (folder / "lines.mid").exists():
            print(f"making inputs in {folder} ...", flush=True)
            subprocess.run([sys.executable, str(HERE / "make_inputs.py"), str(folder), scale], check=True)
    out.mkdir(parents=True, exist_ok=True)

    header = (f"{'case':24} {'MB':>7} {'median s':>9} {'MB/s':>8} {'points/s':>11} {'peak MiB':>9} "
              f"{'x copy':>7} {'full/half':>9} {'peer':>9} {'x peer':>7}")
    print(header)
    print("-" * len(header))
    for name, files, direction, points in CASES:
        size_mb = sum((full / f).stat().st_size for f in files) / 1e6
        seconds, rss = median_of(cli_argv(cli, direction, files[0], out), full, runs)
        half_seconds, half_rss = median_of(cli_argv(cli, direction, files[0], out), half, runs)
        copy_seconds, _ = median_of(["sh", "-c", "cat " + " ".join(files) + " > /dev/null"], full, runs)
        peer_text, ratio_text = "", ""
        if name in PEERS and shutil.which(PEERS[name][0]):
            peer_seconds, _ = median_of(peer_argv(PEERS[name][0], full, out), full, min(runs, 3))
            peer_text, ratio_text = f"{peer_seconds:.3f}", f"{seconds / peer_seconds:.3f}"
        print(f"{name:24} {size_mb:7.1f} {seconds:9.3f} {size_mb / seconds:8.1f} {points / seconds:11.0f} "
              f"{rss:9.1f} {seconds / copy_seconds:7.1f} {seconds / half_seconds:9.2f} {peer_text:>9} "
              f"{ratio_text:>7}", flush=True)
        if name.startswith("track"):
            print(f"{'':24} track-log peak memory: full {rss:.1f} MiB, half {half_rss:.1f} MiB")


if __name__ == "__main__":
    main()
