#!/usr/bin/env bash
# Times `sw38591-cli compose` against srec_cat doing the same merge and against a plain copy
# of the firmware, on a synthetic firmware of about 4 MB. Not a test: it prints figures.
#
#   bench/compose_bench.sh [path/to/sw38591-cli] [runs]
#
# Each command runs `runs` times (default 7); the median is shown. Build the command-line
# program in release mode for meaningful figures.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${1:-${SW38591_CLI:-$here/build/bin/sw38591-cli}}
runs=${2:-7}
command -v srec_cat >/dev/null || { echo "srec_cat not found (Debian package srecord)" >&2; exit 2; }
command -v srec_cmp >/dev/null || { echo "srec_cmp not found (Debian package srecord)" >&2; exit 2; }
[[ -x $cli ]] || { echo "sw38591-cli not found at $cli" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
conf=$work/PROJECTS/A
mkdir -p "$conf/bin" "$work/MASTER"
fw=$work/MASTER/sx38591.sx

# 0x280000 to 0x41FFFF in 32-byte S2 records, both bank windows inside, CR LF line ends,
# ending with S9 as the flash tool's firmware does.
{
    srec_cat -generate 0x280000 0x420000 -repeat-string "synthetic firmware, not a real one " \
        -o - -address-length=3 -obs=32 | grep -v '^S5'
    echo S9030000FC
} | sed 's/$/\r/' >"$fw"
head -c 16384 /dev/urandom >"$conf/bin/bank1.bin"
head -c 18432 /dev/urandom >"$conf/bin/bank2.bin"

now() { echo "${EPOCHREALTIME/[.,]/}"; }  # microseconds

# Median wall time in microseconds of "$@" over $runs runs.
median_us() {
    local times=() t0 t1
    for ((i = 0; i < runs; i++)); do
        t0=$(now)
        "$@" >/dev/null
        t1=$(now)
        times+=($((t1 - t0)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

compose() { "$cli" compose "$conf" --firmware "$fw" --out "$work/composed.sx"; }
srec_merge() {
    srec_cat "$fw" -exclude 0x388000 0x38C000 -exclude 0x398000 0x39C000 \
        "$conf/bin/bank1.bin" -binary -offset 0x388000 \
        "$conf/bin/bank2.bin" -binary -crop 0 0x4000 -offset 0x398000 \
        -o "$work/srec_cat.sx" -address-length=3 -obs=32
}
plain_copy() { cp "$fw" "$work/copy.sx"; }

# Warm the file cache and check that both merges hold the same data.
compose >/dev/null
srec_merge
srec_cmp "$work/composed.sx" "$work/srec_cat.sx" >/dev/null \
    || { echo "the compose and srec_cat disagree" >&2; exit 1; }

t_compose=$(median_us compose)
t_srec=$(median_us srec_merge)
t_copy=$(median_us plain_copy)

ms() { awk -v us="$1" 'BEGIN { printf "%8.1f ms", us / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "firmware: $(stat -c %s "$fw") bytes, $(wc -l <"$fw") lines; median of $runs runs"
echo "sw38591-cli compose  $(ms "$t_compose")"
echo "srec_cat merge       $(ms "$t_srec")"
echo "plain copy           $(ms "$t_copy")"
echo "compose / srec_cat   $(ratio "$t_compose" "$t_srec")   (target: at most 0.50)"
echo "compose / copy       $(ratio "$t_compose" "$t_copy")"
