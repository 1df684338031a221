#!/usr/bin/env python3
"""Prints the benchmarks' results as one markdown table.

    table.py [--e2e FILE] [--operations FILE] [--routines FILE]

--e2e takes the JSON rows of e2e_bench; --operations and --routines the JSON output of the
Google Benchmark programs (--benchmark_out_format=json). A file that is missing or empty is
left out with a note, so a program that was not built does not stop the table.
"""
import argparse
import json
import os
import re
import sys

DASH = "–"


def load(path):
    if not path or not os.path.exists(path) or os.path.getsize(path) == 0:
        return None
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def number(value, digits=1):
    if value is None or value < 0:
        return DASH
    return f"{value:,.{digits}f}"


def wall(ms):
    if ms is None or ms < 0:
        return DASH
    return f"{ms / 1000:,.2f} s" if ms >= 1000 else f"{ms:,.1f} ms"


def e2e_rows(rows):
    out = []
    for r in rows:
        n = r["entities"] or 1
        rt = r["round_trips"]
        title = r["title"] + (" — anchor client" if r["client"] == "anchor" else "")
        gap = DASH
        if r["wall_ms"] >= 0:
            gap = number(r["longest_gap_ms"]) + " ms" + ("" if r["pumps"] else " (no pumping)")
            end = r.get("longest_gap_end_ms")
            if r["pumps"] and end is not None and r["longest_gap_ms"] > 250:
                gap += f", ending at {number(end, 0)} of {number(r['wall_ms'], 0)} ms"
        per_rt = DASH
        if rt is not None and rt > 0 and r["wall_ms"] >= 0:
            per_rt = number(r["wall_ms"] * 1000 / rt) + " µs"
        objects = DASH
        if r["objects_before"] >= 0:
            objects = f"{r['objects_before']:.0f} → {r['objects_after']:.0f} → {r['objects_settled']:.0f}"
        repaint = DASH
        if r.get("cad_longest_repaint_ms", -1) >= 0 and r["wall_ms"] >= 0:
            repaint = number(r["cad_longest_repaint_ms"], 0) + " ms"
        memory = DASH
        if r["ui_peak_mib"] >= 0:
            memory = number(r["ui_peak_mib"], 0) + " / " + (number(r["cad_peak_mib"], 0) if r["cad_peak_mib"] >= 0 else DASH)
        out.append([
            title,
            f"{r['entities']:,} {r['unit']}",
            wall(r["wall_ms"]),
            f"{rt:,.0f} ({rt / n:.3f} / {r['unit']})" if rt is not None and rt >= 0 and r["wall_ms"] >= 0 else DASH,
            per_rt,
            number(r["ui_cpu_ms"] * 1000 / n) + " µs" if r["wall_ms"] >= 0 else DASH,
            number(r["cad_cpu_ms"] * 1000 / n) + " µs" if r["cad_cpu_ms"] >= 0 and r["wall_ms"] >= 0 else DASH,
            gap,
            repaint,
            memory,
            objects,
            r["check"] or "ok",
        ])
    return out


def to_ms(value, unit):
    return value * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}.get(unit, 1.0)


def counter(b, key_part, prefix=""):
    for k, v in b.items():
        if k.startswith(prefix) and key_part in k and isinstance(v, (int, float)):
            return k, v
    return None, None


def gbench_rows(data, source):
    out = []
    for b in data.get("benchmarks", []):
        if b.get("run_type") == "aggregate":
            continue
        name = b["name"]
        if b.get("error_occurred"):
            out.append([f"`{name}` ({source})", DASH, DASH, DASH, DASH, DASH, DASH, DASH, DASH, DASH, DASH,
                        "error: " + b.get("error_message", "")])
            continue
        phases = sorted({k.split("_", 1)[0] for k in b if k.endswith("_round_trips_per_text")})
        for phase in phases or [""]:
            prefix = phase + "_" if phase else ""
            size = DASH
            for key in ("texts", "hits", "blocks", "rows", "lines", "items"):
                if key in b:
                    size = f"{b[key]:,.0f} {key}"
                    break
            else:
                argument = re.search(r"/(\d+)(?:/|$)", name)
                if argument:
                    size = f"{int(argument.group(1)):,}"
            ms = b[prefix + "ms"] if phase else to_ms(b["real_time"], b.get("time_unit", "ns"))
            _, rt = counter(b, "round_trips_per", prefix)
            _, cpu = counter(b, "client_cpu_us_per", prefix)
            _, server = counter(b, "server_cpu_us_per", prefix)
            _, per_rt = counter(b, "us_per_round_trip", prefix)
            _, gap = counter(b, "longest_pump_gap_ms", prefix)
            out.append([
                f"`{name}`" + (f" {phase}" if phase else "") + f" ({source})",
                size,
                wall(ms),
                f"{rt:.3f} / entity" if rt is not None else DASH,
                number(per_rt) + " µs" if per_rt is not None else DASH,
                number(cpu) + " µs" if cpu is not None else DASH,
                number(server) + " µs" if server is not None else DASH,
                number(gap) + " ms (pump)" if gap is not None else DASH,
                DASH,
                DASH,
                DASH,
                "ok",
            ])
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--e2e")
    parser.add_argument("--operations")
    parser.add_argument("--routines")
    # socket-floor-pinned.json and the like: the bare socket's ping-pong and the transport's
    # round trip, pinned to one core and not; the file name says which.
    parser.add_argument("--socket", nargs="*", default=[])
    args = parser.parse_args()

    rows = []
    notes = []
    e2e = load(args.e2e)
    if e2e is None:
        notes.append("end-to-end rows: not run")
    else:
        rows += e2e_rows(e2e)
    for path, source, what in ((args.operations, "operations_bench", "operations"),
                               (args.routines, "routines_bench", "routines")):
        data = load(path)
        if data is None:
            notes.append(f"{what} rows: {source} not built or not run")
        else:
            rows += gbench_rows(data, source)

    socket_files = [(path, os.path.basename(path)[:-len(".json")]) for path in args.socket]
    socket_figures = {}
    for path, label in socket_files:
        data = load(path)
        if data is None:
            continue
        named = label.replace("socket-", "")
        for row in gbench_rows(data, ("socket_floor_bench" if "floor" in named else "socket_round_trip_bench")
                                     + (", pinned to one core" if "unpinned" not in named else ", unpinned")):
            rows.append(row)
        for b in data.get("benchmarks", []):
            _, per_rt = counter(b, "us_per_round_trip")
            if per_rt is not None and b.get("run_type") != "aggregate":
                socket_figures.setdefault(named, []).append(per_rt)
    for pinning in ("pinned", "unpinned"):
        floor = socket_figures.get(f"floor-{pinning}")
        transport = socket_figures.get(f"transport-{pinning}")
        if floor and transport:
            notes.append(f"socket round trip {pinning}: transport {min(transport):.1f}–{max(transport):.1f} µs, "
                         f"floor {min(floor):.1f} µs: {min(transport) / min(floor):.2f}–{max(transport) / min(floor):.2f}× the floor")

    header = ["Benchmark", "Size", "Wall", "Round trips (server)", "Wall per round trip",
              "Own CPU / entity", "KelvoCAD CPU / entity", "Longest tick gap", "KelvoCAD longest repaint",
              "Peak MiB kelvoedit / kelvocad", "Exported objects before → after → settled", "Check"]
    print("| " + " | ".join(header) + " |")
    print("|" + "---|" * len(header))
    for r in rows:
        print("| " + " | ".join(str(c) for c in r) + " |")
    for note in notes:
        print(f"\n_{note}_")
    return 0


if __name__ == "__main__":
    sys.exit(main())
