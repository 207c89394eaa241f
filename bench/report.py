#!/usr/bin/env python3
"""Summarises the benchmark results that scripts/bench writes: per stage the best and the median
time at both sizes and their ratio, then the targets of a whole conversion."""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import time
from pathlib import Path

SMALL, LARGE = 250_000, 1_000_000
MAX_GROWTH = 4.5                 # 4x the faces may cost at most 4.5x the time
WALL_TARGETS_MS = {              # the million-quad torus, end to end
    "BM_CliConvert/torus_mqo": 1000.0,
    "BM_CliConvert/torus_lwo": 1000.0,
    "BM_PipelineWithPatches": 1300.0,  # with patch detection
}
PEAK_TARGET_MB = 450.0
SPHERE_TO_TORUS = 1.5            # Connect Curve on the sphere against the torus of as many faces
FAN_TARGET_MS = 1000.0           # Connect Curve at 1 degree on 3,000 triangles round one point
FAN_SIZES = (20_000, 25_000, 50_000, 100_000)  # a busy vertex; 20k is where the old code is timed
FAN_PROCESS_TARGETS_MS = {       # the fan of 100,000 triangles, end to end
    "BM_CliInfoFan/mqo": 1000.0,
    "BM_CliInfoFan/obj": 1000.0,
    "BM_CliConvertFan": 1000.0,
}
INFO_TO_ASSIMP = 3.0             # korvane-cli info of the 1M LWO2 against assimp info -r
FPS_TARGETS = {"curves": 30.0, "surfaces": 15.0}  # orbiting the 100k-patch torus
CAD_WALL_TARGET_MS = 5000.0      # the 10,000-quad torus to STEP and to IGES
CAD_PEAK_TARGET_MB = 1000.0
RENDER_QUADS = 90_000            # render --surfaces --resolution 8 of a 300 x 300 sphere
RENDER_TARGET_S, RENDER_TARGET_MB = 10.0, 1024.0
MOVING_FPS_TARGET = 10.0         # orbiting the 1M-quad torus with surfaces
LONGEST_PAINT_MS = 200.0         # the desktop's event loop is never kept longer
CANCEL_ANSWER_MS = 500.0         # Connect Curve's Cancel on the 1M-quad torus


def load(results):
    """{(family, size): {aggregate: record}} from every JSON file in the results folder."""
    table = {}
    for path in sorted(Path(results).glob("*.json")):
        for record in json.loads(path.read_text())["benchmarks"]:
            if record.get("run_type") != "aggregate":
                continue
            parts = record["run_name"].split("/")
            size = next((int(p) for p in parts if p.isdigit()), None)
            family = "/".join(p for p in parts if not p.isdigit() and ":" not in p
                              and p not in ("real_time", "manual_time"))
            table.setdefault((family, size), {})[record["aggregate_name"]] = record
    return table


def ms(record):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[record["time_unit"]]
    return record["real_time"] * scale


def fmt(value, unit=""):
    return "-" if value is None else f"{value:,.1f}{unit}"


def stage_table(table):
    families = sorted({family for family, size in table if size in (SMALL, LARGE)})
    print(f"{'stage':38} {'250k best':>10} {'250k median':>12} {'1M best':>10}"
          f" {'1M median':>10} {'growth':>7}")
    worst = []
    for family in families:
        small, large = table.get((family, SMALL), {}), table.get((family, LARGE), {})
        best_s = ms(small["min"]) if "min" in small else None
        med_s = ms(small["median"]) if "median" in small else None
        best_l = ms(large["min"]) if "min" in large else None
        med_l = ms(large["median"]) if "median" in large else None
        growth = med_l / med_s if med_s and med_l else None
        flag = "" if growth is None or growth <= MAX_GROWTH else "  over"
        if growth is not None and growth > MAX_GROWTH:
            worst.append(family)
        print(f"{family:38} {fmt(best_s):>10} {fmt(med_s):>12} {fmt(best_l):>10}"
              f" {fmt(med_l):>10} {fmt(growth, 'x'):>7}{flag}")
    print(f"(milliseconds of wall time; growth = median at 1M / median at 250k,"
          f" allowed {MAX_GROWTH}x)")
    return worst


def counter(record, name):
    return record.get(name) if record else None


def process_targets(table):
    print("\nWhole conversions (separate processes, 1M-quad torus):")
    for family, wall_target in WALL_TARGETS_MS.items():
        runs = table.get((family, LARGE))
        if not runs:
            continue
        best, median = runs.get("min"), runs.get("median")
        wall_ok = ms(best) < wall_target
        peak = counter(median, "peak_MB")
        peak_ok = peak is not None and peak < PEAK_TARGET_MB
        print(f"  {family:32} wall best {ms(best):,.0f} ms, median {ms(median):,.0f} ms"
              f" [{'met' if wall_ok else 'not met'} < {wall_target:,.0f}];"
              f" CPU median {counter(median, 'cpu_s'):.2f} s;"
              f" peak {fmt(peak, ' MB')} [{'met' if peak_ok else 'not met'}"
              f" < {PEAK_TARGET_MB:,.0f}]")


def assimp_baseline(table, models, repetitions):
    lwo = Path(models) / f"torus-{LARGE}.lwo"
    info = table.get(("BM_CliInfo", LARGE))
    imported = table.get(("BM_Import/torus_lwo", LARGE))
    if not info and not imported:
        return
    assimp = shutil.which("assimp")
    print("\nThe 1M-quad torus as LWO2 against assimp info FILE -r:")
    if assimp is None or not lwo.exists():
        print("  assimp is not installed (apt-get install assimp-utils)")
        return
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        subprocess.run([assimp, "info", str(lwo), "-r"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
        times.append((time.perf_counter() - start) * 1e3)
    theirs = statistics.median(times)
    print(f"  assimp raw import (whole process):  best {min(times):,.0f} ms,"
          f" median {theirs:,.0f} ms")
    if imported:
        print(f"  Korvane to finished patch objects: best {ms(imported['min']):,.0f} ms,"
              f" median {ms(imported['median']):,.0f} ms")
    if info:
        ratio = ms(info["median"]) / theirs
        verdict = "met" if ratio <= INFO_TO_ASSIMP else "not met"
        print(f"  korvane-cli info (whole process):   best {ms(info['min']):,.0f} ms,"
              f" median {ms(info['median']):,.0f} ms, {ratio:.1f}x assimp"
              f"  [{verdict} <= {INFO_TO_ASSIMP:.0f}x]")


def connect_shapes(table):
    sphere = table.get(("BM_ConnectCurves/sphere", LARGE))
    torus = table.get(("BM_ConnectCurves/torus", LARGE))
    fan = next((runs for (family, size), runs in table.items()
                if family == "BM_ConnectCurves/fan"), None)
    if sphere and torus:
        ratio = ms(sphere["median"]) / ms(torus["median"])
        verdict = "met" if ratio <= SPHERE_TO_TORUS else "not met"
        print(f"\nConnect Curve, 1M sphere against 1M torus: {ratio:.2f}x"
              f"  [{verdict} <= {SPHERE_TO_TORUS}x]")
    if fan:
        verdict = "met" if ms(fan["median"]) < FAN_TARGET_MS else "not met"
        print(f"Connect Curve at 1 degree, fan of 3,000 triangles: median"
              f" {ms(fan['median']):,.1f} ms  [{verdict} < {FAN_TARGET_MS:,.0f}]")


def cad_exports(table):
    rows = sorted(family for family, size in table
                  if size is None and family.startswith(("BM_CadConvert/", "BM_SmoothConvert/")))
    if not rows:
        return
    print("\nSTEP and IGES through korvane-cli (separate processes; .rvp is the reference, and"
          " today's surfaces that of the smooth ones):")
    for family in rows:
        best, median = table[(family, None)].get("min"), table[(family, None)].get("median")
        name = family.split("/")[1]
        if family.startswith("BM_SmoothConvert/"):
            name += " smooth"
        verdict = ""
        if name.startswith("torus10k_") and name.endswith(("_step", "_igs")):
            wall_ok = ms(best) < CAD_WALL_TARGET_MS
            peak_ok = counter(median, "peak_MB") < CAD_PEAK_TARGET_MB
            verdict = (f"  [{'met' if wall_ok else 'not met'} < {CAD_WALL_TARGET_MS:,.0f} ms,"
                       f" {'met' if peak_ok else 'not met'} < {CAD_PEAK_TARGET_MB:,.0f} MB]")
        print(f"  {name:16} wall best {ms(best):8,.0f} ms, median {ms(median):8,.0f} ms;"
              f" CPU {counter(median, 'cpu_s'):6.2f} s; peak {counter(median, 'peak_MB'):7,.0f} MB;"
              f" file {counter(median, 'file_MB'):7,.1f} MB{verdict}")


def busy_vertex(table):
    families = sorted({family for family, size in table if size in FAN_SIZES})
    if not families:
        return
    print("\nA busy vertex, fans of triangles round one point (median ms; growth = 100k / 25k,"
          " 4x is linear):")
    print(f"  {'stage':32}" + "".join(f"{size // 1000:>9}k" for size in FAN_SIZES)
          + f" {'growth':>7}")
    for family in families:
        medians = [table.get((family, size), {}).get("median") for size in FAN_SIZES]
        values = [ms(m) if m else None for m in medians]
        growth = values[-1] / values[1] if values[-1] and values[1] else None
        print(f"  {family:32}" + "".join(f"{fmt(v):>10}" for v in values)
              + f" {fmt(growth, 'x'):>7}")
    for family, target in FAN_PROCESS_TARGETS_MS.items():
        runs = table.get((family, FAN_SIZES[-1]))
        if runs:
            best = ms(runs["min"])
            print(f"  {family} at 100k: best {best:,.0f} ms"
                  f" [{'met' if best < target else 'not met'} < {target:,.0f}]")


def frame_rates(table):
    rows = sorted(family for family, size in table
                  if size is None and family.startswith("BM_OrbitFrame/"))
    if not rows:
        return
    print("\nOrbiting the 100k-patch torus, 800 x 600, Mesa's software renderer:")
    for family in rows:
        median = table[(family, None)].get("median")
        fps = counter(median, "fps")
        layer = family.split("/")[1]
        target = FPS_TARGETS.get(layer)
        verdict = "" if target is None else \
            f"  [{'met' if fps >= target else 'not met'} >= {target:.0f} fps]"
        print(f"  {layer:20} {ms(median):8.1f} ms a frame, {fps:6.1f} fps{verdict}")


def smooth_surfaces(table):
    rows = sorted(family for family, size in table
                  if size is None and family.startswith("BM_Tessellate/") and "_nets_" in family)
    if not rows:
        return
    print("\nSmooth surfaces against today's nets, 100k patches cut into samples and triangles:")
    for nets in rows:
        smooth = nets.replace("_nets_", "_smooth_")
        if (smooth, None) not in table:
            continue
        a = ms(table[(nets, None)]["median"])
        b = ms(table[(smooth, None)]["median"])
        print(f"  {nets.split('/')[1].replace('_nets', ''):12} nets {a:8.1f} ms, smooth {b:8.1f} ms,"
              f" {b / a:4.2f}x")


def render_surfaces(table):
    rows = sorted(family for family, size in table
                  if size is not None and family.startswith("BM_RenderSurfaces/"))
    if not rows:
        return
    print("\nOne frame with surfaces at resolution 8 (spheres, 640 x 480, a process each):")
    for family in sorted(set(rows)):
        for size in sorted(size for f, size in table if f == family):
            median = table[(family, size)].get("median")
            seconds, peak = ms(median) / 1e3, counter(median, "peak_MB")
            verdict = ""
            if size == RENDER_QUADS and family.endswith("/streamed"):
                met = seconds < RENDER_TARGET_S and peak < RENDER_TARGET_MB
                verdict = (f"  [{'met' if met else 'not met'} < {RENDER_TARGET_S:.0f} s,"
                           f" < {RENDER_TARGET_MB:,.0f} MB]")
            print(f"  {family.split('/')[1]:14} {size:>7,} quads {seconds:7.1f} s"
                  f" {fmt(peak, ' MB'):>10}{verdict}")


def million_quad_frames(table):
    rows = sorted(family for family, size in table
                  if family.startswith("BM_MillionQuad"))
    if not rows:
        return
    print("\nThe 1M-quad torus with surfaces, 800 x 600, Mesa's software renderer:")
    for family in rows:
        size = next(size for f, size in table if f == family)
        median = table[(family, size)].get("median")
        name = "/".join(family.split("/")[1:]) if "/" in family else family
        if family == "BM_MillionQuadUpload":
            name = "upload, 32 MB piece" if size == 32 else "upload, all at once"
        verdict = ""
        if family.endswith("/moving"):
            fps = counter(median, "fps")
            verdict = f"  [{'met' if fps >= MOVING_FPS_TARGET else 'not met'} >= 10 fps]"
        elif family.startswith("BM_MillionQuadFramePart"):
            longest = counter(median, "longest_ms")
            verdict = (f", longest {fmt(longest, ' ms')}"
                       f" (the frame at once {fmt(counter(median, 'whole_ms'), ' ms')})"
                       f"  [{'met' if longest and longest <= LONGEST_PAINT_MS else 'not met'}"
                       f" <= {LONGEST_PAINT_MS:.0f} ms]")
        elif family == "BM_MillionQuadUpload" and size == 32:
            verdict = (f"  [{'met' if ms(median) <= LONGEST_PAINT_MS else 'not met'}"
                       f" <= {LONGEST_PAINT_MS:.0f} ms]")
        print(f"  {name:24} {ms(median):8.1f} ms{verdict}")


def connect_cancel(table):
    median = table.get(("BM_ConnectCancel", LARGE), {}).get("median")
    if not median:
        return
    answer = counter(median, "answer_ms")
    print("\nCancel of Connect Curve on the 1M-quad torus, halfway through its joins:")
    print(f"  joins stopped, patch search begins  {fmt(answer, ' ms')}"
          f"  [{'met' if answer is not None and answer <= CANCEL_ANSWER_MS else 'not met'}"
          f" <= {CANCEL_ANSWER_MS:.0f} ms]")
    print(f"  patch search stopped               {fmt(counter(median, 'search_ms'), ' ms')}")
    print(f"  (the whole Connect, same run:      {fmt(counter(median, 'whole_ms'), ' ms')})")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("results")
    parser.add_argument("--models", required=True)
    parser.add_argument("--repetitions", type=int,
                        default=int(os.environ.get("REPETITIONS", "3")))
    args = parser.parse_args()
    table = load(args.results)
    worst = stage_table(table)
    process_targets(table)
    connect_shapes(table)
    busy_vertex(table)
    connect_cancel(table)
    assimp_baseline(table, args.models, args.repetitions)
    cad_exports(table)
    frame_rates(table)
    smooth_surfaces(table)
    render_surfaces(table)
    million_quad_frames(table)
    floor = table.get(("BM_ReadAndParseNumbers", LARGE))
    if floor:
        print(f"\nFloor: reading the 1M-quad .mqo and parsing its numbers with from_chars:"
              f" best {ms(floor['min']):,.0f} ms")
    if worst:
        print("\nGrowing faster than allowed: " + ", ".join(worst))


if __name__ == "__main__":
    main()
