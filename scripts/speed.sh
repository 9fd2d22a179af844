#!/usr/bin/env bash
# Whole-process speed of the batch commands and of the window, each row with the reference
# programs in the same run, runs alternating so that the machine's load falls on all alike.
# Prints medians of wall-clock seconds (and of CPU seconds, user + system, which a busy
# machine disturbs less).
#   scripts/speed.sh [BUILD_DIR] [RUNS]          (defaults: build, 7)
# SPEED_SIZES="0.5 5 20" adds a scale table: megabytes of mixed document, time and peak memory.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-7}
tessary=$build/tessary
export TESSARY_DATA_DIR=${TESSARY_DATA_DIR:-$here}
work=$(mktemp -d /tmp/tessary-speed.XXXXXX)
trap 'rm -rf "$work"' EXIT
# Settings of this run only: the user's zoom, print settings and recent files stay out of it.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
lo_profile=file:///tmp/lo-speed

have() { command -v "$1" >/dev/null 2>&1; }
missing=()
have unrtf || missing+=("unrtf (apt-get install unrtf)")
have soffice || missing+=("soffice (LibreOffice)")
have xvfb-run || missing+=("xvfb-run")
[[ -x $tessary ]] || { echo "no $tessary: build it first" >&2; exit 1; }

printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 One line of text.\\par}\n' >"$work/one.rtf"
python3 "$here/scripts/mixed-document.py" 511000 >"$work/mixed.rtf"

# Runs a command, discarding its output, and prints "wall cpu" in seconds.
timed() {
    /usr/bin/time -o "$work/time" -f '%e %U %S' "$@" >/dev/null 2>&1
    awk 'END { printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }

# Row NAME, then any number of LABEL=COMMAND pairs, run alternately RUNS times.
declare -A wall cpu
row() {
    local name=$1
    shift
    local labels=() cmds=() pair
    for pair in "$@"; do
        labels+=("${pair%%=*}")
        cmds+=("${pair#*=}")
    done
    local i k out
    for ((k = 0; k < ${#labels[@]}; k++)); do : >"$work/w$k"; : >"$work/c$k"; done
    for ((i = 0; i < runs; i++)); do
        for ((k = 0; k < ${#labels[@]}; k++)); do
            out=$(timed bash -c "${cmds[$k]}")
            echo "${out% *}" >>"$work/w$k"
            echo "${out#* }" >>"$work/c$k"
        done
    done
    printf '%-44s' "$name"
    for ((k = 0; k < ${#labels[@]}; k++)); do
        printf '  %s %ss (cpu %ss)' "${labels[$k]}" "$(median <"$work/w$k")" "$(median <"$work/c$k")"
    done
    echo
}

lo() { echo "soffice -env:UserInstallation=$lo_profile --headless --convert-to $1 $2 --outdir $work/lo"; }
echo "medians of $runs runs, seconds; $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"
if have soffice; then bash -c "$(lo txt "$work/one.rtf")" >/dev/null 2>&1; fi # the profile, once

refs=("version=$tessary --version")
have unrtf && refs+=("unrtf=unrtf --html $work/one.rtf")
row "--export-html, one line" "tessary=$tessary --export-html $work/one.rtf $work/one.html" "${refs[@]}"

refs=()
have unrtf && refs+=("unrtf=unrtf --html $work/mixed.rtf")
have soffice && refs+=("soffice=$(lo html "$work/mixed.rtf")")
row "--export-html, 499 KB mixed" "tessary=$tessary --export-html $work/mixed.rtf $work/mixed.html" "${refs[@]}"

refs=()
have soffice && refs+=("soffice=$(lo pdf "$work/mixed.rtf")")
row "--export-pdf, 499 KB mixed ($(
    $tessary --export-pdf "$work/mixed.rtf" "$work/m.pdf" && pdfinfo "$work/m.pdf" 2>/dev/null |
        awk '/^Pages/ { print $2 }') pages)" \
    "tessary=$tessary --export-pdf $work/mixed.rtf $work/mixed.pdf" "${refs[@]}"

# Start to the main window on screen: exec to its first paint (bench_startup, under Xvfb).
if have xvfb-run && [[ -x $build/bench/bench_startup ]]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
        for i in \$(seq $runs); do START_NS=\$(date +%s%N) $build/bench/bench_startup; done" \
        >"$work/startup" 2>/dev/null
    for what in "first paint of the main window" "spelling dictionary in"; do
        printf '%-44s  tessary %ss (cpu %ss)\n' "start to $what" \
            "$(grep "^$what" "$work/startup" | awk '{ print $(NF - 4) / 1000 }' | median)" \
            "$(grep "^$what" "$work/startup" | awk '{ print $(NF - 1) / 1000 }' | median)"
    done
else
    missing+=("the window row (xvfb-run, bench/bench_startup)")
fi
if [[ -x $build/bench/bench_files ]]; then
    printf '%-44s  ' "open 500 KB in the window (bench_files)"
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_files" 2>/dev/null | grep -i -m1 open
fi

if [[ -n ${SPEED_SIZES:-} ]]; then
    echo
    echo "scale: MB  --export-html s  peak KB  --export-pdf s  peak KB"
    for mb in $SPEED_SIZES; do
        python3 "$here/scripts/mixed-document.py" "$(awk -v m="$mb" 'BEGIN { print int(m * 1000000) }')" >"$work/big.rtf"
        /usr/bin/time -o "$work/time" -f '%e %M' "$tessary" --export-html "$work/big.rtf" "$work/big.html" >/dev/null 2>&1
        h=$(tail -1 "$work/time")
        /usr/bin/time -o "$work/time" -f '%e %M' "$tessary" --export-pdf "$work/big.rtf" "$work/big.pdf" >/dev/null 2>&1
        p=$(tail -1 "$work/time")
        echo "       $mb  $h  $p"
    done
fi
((${#missing[@]})) && echo "missing, so left out: ${missing[*]}"
exit 0
