#!/usr/bin/env python3
"""The programming station on N = 1, 2, 4, 8, 16 simulated modules (talvora-sim ptys), with
--once and a 32-register profile. Prints for each N the wall time, its ratio to N = 1, the CPU
of the station and all its port processes (user + system, as one figure and as a share of one
core over the run) and the largest peak memory of any of its processes. Figures only.

    python3 bench/station_bench.py [BUILD-DIR] [N ...]
"""
import json, os, resource, subprocess, sys, tempfile, time

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "build")
counts = [int(n) for n in sys.argv[2:]] or [1, 2, 4, 8, 16]
cli = os.path.join(build, "tools/talvora_cli/talvora-cli")
sim = os.path.join(build, "tools/talvora_sim/talvora-sim")

work = tempfile.mkdtemp()
profile = os.path.join(work, "all.json")
with open(profile, "w") as f:
    json.dump({"talvora": "registers", "version": 1,
               "registers": {str(n): (0 if n == 0 else (n * 7) % 256) for n in range(32)}}, f)
env = dict(os.environ, XDG_DATA_HOME=work, XDG_CONFIG_HOME=work)

print(f"{'N':>3} {'wall s':>8} {'ratio':>6} {'CPU s':>7} {'cores':>6} {'peak MiB':>9} {'passed':>7}")
first = None
for n in counts:
    sims = [subprocess.Popen([sim, "--quiet"], stdout=subprocess.PIPE, text=True) for _ in range(n)]
    ports = [s.stdout.readline().strip() for s in sims]
    db = os.path.join(work, f"records-{n}.sqlite")
    start = time.monotonic()
    station = subprocess.Popen([cli, "station", "--once", "--json", "--profile", profile,
                                "--record", db, "--ports", ",".join(ports)],
                               stdout=subprocess.PIPE, env=env, text=True)
    out = station.stdout.read()
    # wait4 gives the station's use with that of every port process it waited for.
    _, status, usage = os.wait4(station.pid, 0)
    wall = time.monotonic() - start
    for s in sims:
        s.terminate()
        s.wait()
    first = first or wall
    cpu = usage.ru_utime + usage.ru_stime
    passed = out.count('"verdict":"pass"')
    print(f"{n:>3} {wall:>8.1f} {wall / first:>6.3f} {cpu:>7.2f} {cpu / wall:>6.3f} "
          f"{usage.ru_maxrss / 1024:>9.1f} {passed:>4}/{n}", flush=True)
