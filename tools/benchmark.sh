#!/usr/bin/env bash
# Weighs the launcher against floors built from one source (tools/bench/bare_dialog.cpp) with the
# same toolchain and flags: the bare dialog (the smallest program of its kind), the
# resource-equal dialog (the bare dialog with the launcher's template, icon and manifest,
# InitCommonControls, and SHELL32 and COMDLG32 imported at load time) and the template dialog
# (the same without SHELL32 and COMDLG32). It prints:
#   - the 32-bit product: stripped exe size and the DLLs it imports, size ratio to the bare
#     dialog, and the exe's sections (what its bytes are)
#   - under Wine: time from process start to the window being visible and peak memory (median
#     of BENCH_RUNS runs) against the bare dialog, with the CPU time used while idle; then the
#     same start and memory against the resource-equal and the template dialog, all from one
#     run
#   - last, the table of docs/platform.md as a markdown block: the 32-bit launcher's size,
#     sections and imports, and its start and memory, each beside the template dialog's
#
# Usage: tools/benchmark.sh
# Environment (all optional):
#   BENCH_ARCH          which builds run under Wine: win32 (the product) or win64; default
#                       win32 where the machine can run 32-bit code, else win64
#   BENCH_WIN32_BUILD, BENCH_WIN64_BUILD  build folders (default build/bench-win32, -win64)
#   BENCH_RUNS          runs per program for the medians (default 15: start times under Wine
#                       vary by tens of milliseconds from run to run)
#   BENCH_IDLE_SECONDS  how long the idle CPU time is measured (default 10)
#   BENCH_WINEPREFIX    the Wine prefix to run in (default build/bench-wineprefix)
#   BENCH_DISPLAY       an X display to use; without it a private Xvfb server is started
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
win32_build="${BENCH_WIN32_BUILD:-$repo/build/bench-win32}"
win64_build="${BENCH_WIN64_BUILD:-$repo/build/bench-win64}"
runs="${BENCH_RUNS:-15}"
idle_seconds="${BENCH_IDLE_SECONDS:-10}"
wine64=/usr/lib/wine/wine64

case "$runs$idle_seconds" in
*[!0-9]*)
    echo "BENCH_RUNS and BENCH_IDLE_SECONDS must be whole numbers" >&2
    exit 2
    ;;
esac
[ "$runs" -ge 1 ] || runs=1

launcher_title="Quellix Frontend"
bare_title="Bare Dialog"
# The resource-equal dialog shows the launcher's template, caption included.
resource_title="$launcher_title"
template_title="$launcher_title"

# ---- building ----

build() { # preset folder
    cmake --preset "$1" -B "$2" >/dev/null
    cmake --build "$2" -j2 --target launcher bare_dialog resource_dialog template_dialog \
        >/dev/null
}

# Where the target's exe lands in a build folder.
exe_of() { # folder name
    local found
    found="$(find "$1" -name "$2.exe" -type f -not -path '*/CMakeFiles/*' | head -n 1)"
    [ -n "$found" ] || {
        echo "no $2.exe in $1" >&2
        exit 1
    }
    printf '%s\n' "$found"
}

echo "Building the win32 (i686) and win64 (x86_64) launcher and bare dialog..." >&2
build win32 "$win32_build"
build win64 "$win64_build"

work="$(mktemp -d "${TMPDIR:-/tmp}/quellix-bench.XXXXXX")"
xvfb_pid=""
prefix="${BENCH_WINEPREFIX:-$repo/build/bench-wineprefix}"
cleanup() {
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# ---- size and imports of the 32-bit product ----

stripped_size() { # exe
    i686-w64-mingw32-strip -o "$work/stripped.exe" "$1"
    stat -c %s "$work/stripped.exe"
}
imports_of() { # exe
    i686-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { printf "%s%s", sep, $3; sep = " " }'
}

# The file's bytes by section: headers, then each section's raw data (rounded up to the file
# alignment), so the rows add up to the exe's size. "text EXE" prints them with the bytes in
# memory; "markdown EXE FLOOR" prints them as rows of docs/platform.md's table, the two exes side
# by side in the first one's order of sections, after their sizes and size ratio.
cat >"$work/sections.py" <<'PYTHON'
import struct, sys
def sections(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    alignment, = struct.unpack_from("<I", data, pe + 24 + 36)
    rows, first = {}, len(data)
    for i in range(count):
        at = pe + 24 + optional_size + 40 * i
        name, memory, _, raw, offset = struct.unpack_from("<8sIIII", data, at)
        if raw:
            first = min(first, offset)
        rows[name.rstrip(b"\0").decode()] = (-(-raw // alignment) * alignment, memory)
    return len(data), first, rows
kinds = {".text": "code", ".rdata": "read-only data", ".eh_fram": "read-only data",
         ".idata": "imports", ".data": "data", ".bss": "data", ".CRT": "data", ".tls": "data",
         ".rsrc": "resources", ".reloc": "relocations"}
what = {".text": "code", ".data": "initialised data", ".rdata": "read-only data: tables, texts",
        ".eh_fram": "unwind tables of the static runtime", ".idata": "imports",
        ".CRT": "the runtime's start and exit tables", ".tls": "thread-local storage",
        ".bss": "zeroed data, no bytes in the file",
        ".rsrc": "resources: icon, dialog, manifest, version", ".reloc": "relocations"}
size, head, ours = sections(sys.argv[2])
if sys.argv[1] == "text":
    print("  %-16s %-9s %9s %10s" % ("kind", "section", "file", "in memory"))
    print("  %-16s %-9s %9d" % ("headers", "", head))
    for name, (file_bytes, memory) in ours.items():
        print("  %-16s %-9s %9d %10d" % (kinds.get(name, "other"), name, file_bytes, memory))
    print("  %-16s %-9s %9d" % ("total", "", head + sum(r[0] for r in ours.values())))
else:
    floor_size, floor_head, theirs = sections(sys.argv[3])
    print("| file size, stripped (bytes) | %s | %s | %.2f |"
          % (f"{size:,}", f"{floor_size:,}", size / floor_size))
    print("| headers | %s | %s | |" % (f"{head:,}", f"{floor_head:,}"))
    for name in list(ours) + [n for n in theirs if n not in ours]:
        cell = lambda rows: f"{rows[name][0]:,}" if name in rows else "—"
        print("| `%s` (%s) | %s | %s | |"
              % (name, what.get(name, "other"), cell(ours), cell(theirs)))
PYTHON

launcher32="$(exe_of "$win32_build" launcher)"
bare32="$(exe_of "$win32_build" bare_dialog)"
launcher32_size="$(stripped_size "$launcher32")"
bare32_size="$(stripped_size "$bare32")"
i686-w64-mingw32-strip -o "$work/launcher32.exe" "$launcher32"
i686-w64-mingw32-strip -o "$work/template32.exe" "$(exe_of "$win32_build" template_dialog)"

# ---- running under Wine ----

can_run_32=false
if "/usr/lib/wine/wine" --version >/dev/null 2>&1; then
    can_run_32=true
fi
arch="${BENCH_ARCH:-}"
if [ -z "$arch" ]; then
    arch=win64
    ! $can_run_32 || arch=win32
fi
case "$arch" in
win32)
    $can_run_32 || {
        echo "BENCH_ARCH=win32: this machine cannot run 32-bit code" >&2
        exit 2
    }
    run_build="$win32_build"
    machine_note="the win32 builds: the product itself"
    ;;
win64)
    run_build="$win64_build"
    if $can_run_32; then
        machine_note="the win64 builds, for comparison with earlier figures"
    else
        machine_note="the win64 builds: this machine cannot run 32-bit code"
    fi
    ;;
*)
    echo "BENCH_ARCH must be win32 or win64" >&2
    exit 2
    ;;
esac

if [ -n "${BENCH_DISPLAY:-}" ]; then
    export DISPLAY="$BENCH_DISPLAY"
else
    display=""
    for n in $(seq 170 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            display=":$n"
            break
        fi
    done
    [ -n "$display" ] || {
        echo "no free X display number" >&2
        exit 1
    }
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY="$display"
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
fi

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX..." >&2
    mkdir -p "$(dirname "$WINEPREFIX")"
    "$wine64" wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# One server for every run, so no start pays for bringing it up.
wineserver -p >/dev/null 2>&1 </dev/null || true # one may be running already
"$wine64" cmd /c exit >/dev/null 2>&1 </dev/null || true

probe="$work/start_probe.exe"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -s -o "$probe" "$repo/tools/bench/start_probe.cpp"

windows_path() { # unix path -> the same file through Wine's Z: drive
    printf 'Z:%s' "${1//\//\\}"
}

# The Linux process that runs the Windows program started from `folder` (its command line is
# the program's Windows path, and each run has a folder of its own).
unix_pid_of() { # folder
    local token cmdline p
    token="$(windows_path "$1")\\"
    for _ in $(seq 100); do
        for p in /proc/[0-9]*; do
            # Processes come and go while the list is read.
            cmdline="$({ tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null)" || continue
            case "$cmdline" in
            *"$token"*)
                printf '%s\n' "${p#/proc/}"
                return 0
                ;;
            esac
        done
        sleep 0.05
    done
    return 1
}

# Starts `exe` from a fresh folder; sets start_us (start to visible window) and pid.
run_folder=0
start_program() { # exe
    run_folder=$((run_folder + 1))
    local folder="$work/run$run_folder"
    mkdir -p "$folder"
    cp "$1" "$folder/"
    # Into a file, not a pipe: the started program inherits the probe's output and keeps a
    # pipe open for as long as it runs.
    "$wine64" "$probe" "$(windows_path "$folder/$(basename "$1")")" \
        >"$work/probe.out" 2>/dev/null </dev/null || {
        echo "$(basename "$1") showed no window" >&2
        exit 1
    }
    start_us="$(tr -d '\r' <"$work/probe.out")"
    pid="$(unix_pid_of "$folder")" || {
        echo "no process found for $(basename "$1")" >&2
        exit 1
    }
}

close_program() { # title
    "$wine64" "$probe" --close "$1" >/dev/null 2>&1 </dev/null
    for _ in $(seq 200); do
        [ -e "/proc/$pid" ] || return 0
        sleep 0.05
    done
    echo "the program with pid $pid did not end" >&2
    return 1
}

peak_kib() { # pid
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

cpu_ticks() { # pid: user + system time, in clock ticks
    # The command name may hold blanks: the fields after it start behind the last ")".
    sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

launcher_run="$(exe_of "$run_build" launcher)"
bare_run="$(exe_of "$run_build" bare_dialog)"
resource_run="$(exe_of "$run_build" resource_dialog)"
template_run="$(exe_of "$run_build" template_dialog)"

for name in launcher bare resource template; do
    : >"$work/$name.start"
    : >"$work/$name.peak"
done
measure() { # name exe title
    start_program "$2"
    sleep 0.5 # let the window finish its first paint before reading the peak
    echo "$start_us" >>"$work/$1.start"
    peak_kib "$pid" >>"$work/$1.peak"
    close_program "$3"
}
echo "Timing $runs runs of each under Wine..." >&2
for i in $(seq "$runs"); do
    # Taking turns at going first, so none always meets a warmer cache.
    case $((i % 4)) in
    1) order="launcher bare resource template" ;;
    2) order="bare resource template launcher" ;;
    3) order="resource template launcher bare" ;;
    *) order="template launcher bare resource" ;;
    esac
    for name in $order; do
        case "$name" in
        launcher) measure launcher "$launcher_run" "$launcher_title" ;;
        bare) measure bare "$bare_run" "$bare_title" ;;
        resource) measure resource "$resource_run" "$resource_title" ;;
        template) measure template "$template_run" "$template_title" ;;
        esac
    done
done

idle_cpu_ms() { # exe title: sets idle_ms
    start_program "$1"
    sleep 1
    local before after
    before="$(cpu_ticks "$pid")"
    sleep "$idle_seconds"
    after="$(cpu_ticks "$pid")"
    close_program "$2"
    idle_ms=$(((after - before) * 1000 / $(getconf CLK_TCK)))
}
echo "Measuring idle CPU time for $idle_seconds s each..." >&2
idle_cpu_ms "$launcher_run" "$launcher_title"
launcher_idle="$idle_ms"
idle_cpu_ms "$bare_run" "$bare_title"
bare_idle="$idle_ms"

# ---- the table ----

launcher_start="$(median <"$work/launcher.start")"
bare_start="$(median <"$work/bare.start")"
launcher_peak="$(median <"$work/launcher.peak")"
bare_peak="$(median <"$work/bare.peak")"
resource_start="$(median <"$work/resource.start")"
resource_peak="$(median <"$work/resource.peak")"
template_start="$(median <"$work/template.start")"
template_peak="$(median <"$work/template.peak")"

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'
}

echo
echo "Size (win32, i686: the product; stripped)"
printf '  %-16s %9s bytes  imports: %s\n' launcher.exe "$launcher32_size" "$(imports_of "$launcher32")"
printf '  %-16s %9s bytes  imports: %s\n' bare_dialog.exe "$bare32_size" "$(imports_of "$bare32")"
printf '  %-16s %9s\n' "ratio" "$(ratio "$launcher32_size" "$bare32_size")"
echo
echo "Sections of launcher.exe (win32, stripped; bytes)"
python3 "$work/sections.py" text "$work/launcher32.exe"
echo
echo "Under Wine ($machine_note)"
echo "median of $runs runs; the start time includes Wine's own process start, the same for both"
printf '  %-34s %10s %12s %7s\n' "measure" "launcher" "bare dialog" "ratio"
printf '  %-34s %10s %12s %7s\n' "start to visible window (ms)" \
    "$(awk -v v="$launcher_start" 'BEGIN { printf "%.1f", v / 1000 }')" \
    "$(awk -v v="$bare_start" 'BEGIN { printf "%.1f", v / 1000 }')" \
    "$(ratio "$launcher_start" "$bare_start")"
printf '  %-34s %10s %12s %7s\n' "peak memory, VmHWM (KiB)" "$launcher_peak" "$bare_peak" \
    "$(ratio "$launcher_peak" "$bare_peak")"
printf '  %-34s %10s %12s %7s\n' "CPU time idle for ${idle_seconds} s (ms)" "$launcher_idle" \
    "$bare_idle" "$(ratio "$launcher_idle" "$bare_idle")"
echo "(the launcher polls its queue every 10 ms; the bare dialog blocks in GetMessage)"
echo
echo "Against the resource-equal dialog (same run; the launcher's template, icon and manifest,"
echo "InitCommonControls, SHELL32 and COMDLG32 imported at load time) and the template dialog"
echo "(the same without SHELL32 and COMDLG32: all the launcher must do before it shows)"
printf '  %-34s %10s %12s %7s %10s %7s\n' "measure" "launcher" "resource eq." "ratio" \
    "template" "ratio"
printf '  %-34s %10s %12s %7s %10s %7s\n' "start to visible window (ms)" \
    "$(awk -v v="$launcher_start" 'BEGIN { printf "%.1f", v / 1000 }')" \
    "$(awk -v v="$resource_start" 'BEGIN { printf "%.1f", v / 1000 }')" \
    "$(ratio "$launcher_start" "$resource_start")" \
    "$(awk -v v="$template_start" 'BEGIN { printf "%.1f", v / 1000 }')" \
    "$(ratio "$launcher_start" "$template_start")"
printf '  %-34s %10s %12s %7s %10s %7s\n' "peak memory, VmHWM (KiB)" "$launcher_peak" \
    "$resource_peak" "$(ratio "$launcher_peak" "$resource_peak")" "$template_peak" \
    "$(ratio "$launcher_peak" "$template_peak")"

# ---- the table of docs/platform.md ----


# Whole milliseconds from microseconds; whole KiB with a comma every three digits.
ms() { awk -v v="$1" 'BEGIN { printf "%.0f", v / 1000 }'; }
kib() { awk -v v="$1" 'BEGIN { printf "%.0f", v }' | sed ':a; s/\B[0-9]\{3\}\>/,&/; ta'; }

wine_version="$("$wine64" --version 2>/dev/null || echo Wine)"
commit="$(git -C "$repo" describe --always --dirty 2>/dev/null || echo "a work tree")"
echo
echo "The table of docs/platform.md (markdown):"
echo
echo "\`tools/benchmark.sh\` on $(date -u +%Y-%m-%d), commit $commit. Sizes: the win32 build's exes,"
echo "stripped. Start and memory under ${wine_version%% (*} ($machine_note), median of $runs runs."
echo
echo "| | launcher.exe | template dialog | ratio |"
echo "|---|---:|---:|---:|"
python3 "$work/sections.py" markdown "$work/launcher32.exe" "$work/template32.exe"
printf '| DLLs imported at load time | %s | %s | |\n' "$(imports_of "$work/launcher32.exe")" \
    "$(imports_of "$work/template32.exe")"
printf '| start to visible window (ms) | %s | %s | %s |\n' "$(ms "$launcher_start")" \
    "$(ms "$template_start")" "$(ratio "$launcher_start" "$template_start")"
printf '| peak memory, VmHWM (KiB) | %s | %s | %s |\n' "$(kib "$launcher_peak")" \
    "$(kib "$template_peak")" "$(ratio "$launcher_peak" "$template_peak")"
