"""The benchmark table: the core's Google Benchmark figures and the windows measured by
window_bench.py, each against its target."""

import json
import os
import statistics

TARGETS = {
    "startup_ratio": 1.2,
    "memory_ratio": 1.1,
    "idle_wakeups_ratio": 1.0,
    "idle_cpu_ratio": 1.5,
    "load_save_ms": 5.0,
    "change_ms": 2.0,
}


def core_results(path):
    """{benchmark name: (median real time in ms, counters)} from Google Benchmark's JSON."""
    with open(path) as f:
        report = json.load(f)
    factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    results = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name", "median") != "median":
            continue
        name = entry.get("run_name", entry["name"]).split("/")[0]  # without "/real_time"
        results[name] = entry["real_time"] * factor[entry["time_unit"]]
    return results


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return f"{os.cpu_count()} cores, {model}"


def verdict(ok):
    return "yes" if ok else "MISSED"


def print_table(core, windows):
    rows = []

    def time_text(ms):
        return f"{ms * 1000:.1f} µs" if ms < 1 else f"{ms:.2f} ms"

    for name, what in [
        ("BM_SettingsLoad", "Settings load, 101 events (INI file)"),
        ("BM_SettingsSave", "Settings save, 101 events (INI file)"),
        ("BM_SettingsLoadAndSave", "Settings load + save"),
        ("BM_SettingsSaveOneChange", "Settings save of one change, 101 events"),
        ("BM_ReviewFullTable", "Review walk, 101 due (Yes/No/Cancel)"),
        ("BM_ExportFullTable", "Export, 101 events"),
        ("BM_ImportFullTable", "Import, 101 events into empty table"),
        ("BM_ExportFullTableToCalendar", "Calendar export, 101 events (iCalendar)"),
        ("BM_ImportFullTableFromCalendar", "Calendar import, 101 events into empty table"),
    ]:
        ms = core[name]
        if name in ("BM_SettingsLoadAndSave", "BM_SettingsSaveOneChange"):
            limit = TARGETS["load_save_ms" if name == "BM_SettingsLoadAndSave" else "change_ms"]
            rows.append((what, time_text(ms), "", "", f"< {limit:g} ms", verdict(ms < limit)))
        else:
            rows.append((what, time_text(ms), "", "", "", ""))

    startup = {k: statistics.median(v) * 1000 for k, v in windows["startup"].items()}
    ratio = startup["pesterly"] / startup["bare"]
    limit = TARGETS["startup_ratio"]
    rows.append((f"Start to window mapped (median of {len(windows['startup']['bare'])})",
                 f"{startup['pesterly']:.1f} ms", f"{startup['bare']:.1f} ms", f"{ratio:.2f} x",
                 f"<= {limit:g} x", verdict(ratio <= limit)))
    cpu = {k: statistics.median(v) * 1000 for k, v in windows["startup_cpu"].items()}
    rows.append(("CPU time to window mapped (median)", f"{cpu['pesterly']:.1f} ms",
                 f"{cpu['bare']:.1f} ms", f"{cpu['pesterly'] / cpu['bare']:.2f} x", "", ""))
    memory = {k: v / 1024 for k, v in windows["memory"].items()}
    ratio = memory["pesterly"] / memory["bare"]
    limit = TARGETS["memory_ratio"]
    rows.append(("Peak memory (VmHWM), shown and idle", f"{memory['pesterly']:.1f} MiB",
                 f"{memory['bare']:.1f} MiB", f"{ratio:.2f} x", f"<= {limit:g} x",
                 verdict(ratio <= limit)))
    libraries = windows["libraries"]
    rows.append(("Shared libraries mapped, shown", str(libraries["pesterly"]),
                 str(libraries["bare"]), f"+{libraries['pesterly'] - libraries['bare']}", "", ""))
    idle = windows["idle"]
    for key, what, form, limit in [
            ("cpu_ms", "Idle CPU a minute, window hidden", "{:.3f} ms", "idle_cpu_ratio"),
            ("wakeups", "Idle wakeups a minute, window hidden", "{:.1f}", "idle_wakeups_ratio")]:
        mine, bare = idle["pesterly"][key], idle["bare"][key]
        limit = TARGETS[limit]
        rows.append((what, form.format(mine), form.format(bare),
                     f"{mine / bare:.2f} x" if bare else "", f"<= {limit:g} x",
                     verdict(mine <= limit * bare)))

    header = ("Measure", "Pesterly", "Bare Qt", "Ratio", "Target", "Met")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
    line = "  ".join("-" * w for w in widths)
    print(f"Pesterly benchmarks on {machine()}; window {windows['size'][0]} x "
          f"{windows['size'][1]} px on Xvfb; idle over {windows['idle_seconds']:.0f} s")
    print(line)
    for row in [header, None, *rows]:
        if row is None:
            print(line)
            continue
        cells = [row[0].ljust(widths[0])] + [c.rjust(w) for c, w in zip(row[1:], widths[1:])]
        print("  ".join(cells).rstrip())
    print(line)
    threads = {k: f"{v['threads']} threads, {v['threads_gone']} ended"
               for k, v in idle.items()}
    print(f"Idle counted over threads alive throughout: Pesterly {threads['pesterly']}; "
          f"bare {threads['bare']}.")
