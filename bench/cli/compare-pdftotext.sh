#!/bin/bash
# Compares tessary-convert with poppler's `pdftotext -layout` over a folder of
# PDF files (default: tests/corpus), in the same run: pages per second and
# peak memory of each, per file and overall, and the start-up time.
#
#   bench/cli/compare-pdftotext.sh [TESSARY_CONVERT] [CORPUS_DIR]
#
# Needs poppler-utils (pdftotext, pdfinfo) and GNU time (/usr/bin/time); uses
# hyperfine for the start-up time when it is installed. Build tessary-convert
# in Release or RelWithDebInfo first. Encrypted files are opened with the
# password "user" (or none). Files that either program can't read are skipped.
# Each program converts each file REPEAT times (default 20), one process per
# conversion, the two programs taking turns. Pages per second are given for
# CPU time (user + system, steady on a busy machine) and for elapsed time.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
tessary=${1:-$root/build/src/cli/tessary-convert}
corpus=${2:-$root/tests/corpus}
repeat=${REPEAT:-20}
password=user

for tool in pdftotext pdfinfo /usr/bin/time "$tessary"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
export TESSARY=$tessary

# The command line of one conversion to standard output ($1: tool, $2: file,
# $3: password option or empty).
tessary_cmd() { echo "\"\$TESSARY\" -q $3 -o - \"$2\" </dev/null"; }
pdftotext_cmd() { echo "pdftotext -q -layout $3 \"$2\" -"; }

# "elapsed-ms cpu-ms peak-KiB" of $repeat runs of a command line.
measure() {
    /usr/bin/time -f '%e %U %S %M' bash -c "for ((i = 0; i < $repeat; i++)); do $1 >/dev/null 2>&1; done" \
        2>&1 >/dev/null | tail -1 | awk '{ printf "%.0f %.0f %d\n", $1 * 1000, ($2 + $3) * 1000, $4 }'
}

# The password option a converter needs for a file: none, or the user one.
password_option() {
    local cmd
    for option in "" "-$1 $password"; do
        cmd=$("$2" x "$3" "$option")
        if bash -c "$cmd >/dev/null 2>&1"; then
            echo "$option"
            return 0
        fi
    done
    return 1
}

printf '%-44s %5s %9s %9s %6s %8s %8s\n' file pages "tes p/s" "ptt p/s" ratio "tes KiB" "ptt KiB"
total_pages=0 wall_tes=0 wall_ptt=0 cpu_tes=0 cpu_ptt=0 max_tes=0 max_ptt=0 slower=0
files=()
while IFS= read -r pdf; do
    name=${pdf#"$corpus"/}
    if ! tes_pw=$(password_option p tessary_cmd "$pdf"); then
        printf '%-44s skipped: tessary-convert cannot read it\n' "$name"
        continue
    fi
    if ! ptt_pw=$(password_option upw pdftotext_cmd "$pdf"); then
        printf '%-44s skipped: pdftotext cannot read it\n' "$name"
        continue
    fi
    pages=$(pdfinfo $ptt_pw "$pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
    files+=("$pdf")
    # Two rounds each, taking turns, so that both see the same machine state.
    read -r w1 c1 k1 < <(measure "$(tessary_cmd x "$pdf" "$tes_pw")")
    read -r w2 c2 k2 < <(measure "$(pdftotext_cmd x "$pdf" "$ptt_pw")")
    read -r w3 c3 k3 < <(measure "$(tessary_cmd x "$pdf" "$tes_pw")")
    read -r w4 c4 k4 < <(measure "$(pdftotext_cmd x "$pdf" "$ptt_pw")")
    kib_tes=$((k1 > k3 ? k1 : k3))
    kib_ptt=$((k2 > k4 ? k2 : k4))
    read -r pps_tes pps_ptt ratio < <(awk -v p="$pages" -v r="$repeat" -v a=$((c1 + c3)) -v b=$((c2 + c4)) \
        'BEGIN { x = 2 * p * r * 1000 / (a > 0 ? a : 1); y = 2 * p * r * 1000 / (b > 0 ? b : 1);
                 printf "%.0f %.0f %.2f\n", x, y, x / y }')
    printf '%-44s %5d %9s %9s %6s %8s %8s\n' "$name" "$pages" "$pps_tes" "$pps_ptt" "$ratio" "$kib_tes" "$kib_ptt"
    awk -v r="$ratio" 'BEGIN { exit !(r < 1) }' && slower=$((slower + 1))
    total_pages=$((total_pages + pages))
    wall_tes=$((wall_tes + w1 + w3)) wall_ptt=$((wall_ptt + w2 + w4))
    cpu_tes=$((cpu_tes + c1 + c3)) cpu_ptt=$((cpu_ptt + c2 + c4))
    ((kib_tes > max_tes)) && max_tes=$kib_tes
    ((kib_ptt > max_ptt)) && max_ptt=$kib_ptt
done < <(find "$corpus" -name '*.pdf' | sort)

echo
awk -v p="$total_pages" -v r="$repeat" -v n="${#files[@]}" -v s="$slower" \
    -v wa="$wall_tes" -v wb="$wall_ptt" -v ca="$cpu_tes" -v cb="$cpu_ptt" -v ka="$max_tes" -v kb="$max_ptt" 'BEGIN {
    n2 = 2 * p * r * 1000
    printf "overall: %d files, %d pages, one process per conversion\n", n, p
    printf "  %-26s %7.0f pages/s CPU %7.0f pages/s elapsed  peak %6d KiB\n", "tessary-convert", n2 / ca, n2 / wa, ka
    printf "  %-26s %7.0f pages/s CPU %7.0f pages/s elapsed  peak %6d KiB\n", "pdftotext -layout", n2 / cb, n2 / wb, kb
    printf "  ratio %.2f (CPU), %.2f (elapsed); files where tessary-convert is slower: %d\n", cb / ca, wb / wa, s
}'

# All files in one process, as a batch over many files runs.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for pdf in "${files[@]}"; do ln -s "$pdf" "$tmp/$(echo "${pdf#"$corpus"/}" | tr / _)"; done
read -r wall cpu kib < <(cd "$tmp" && measure "\"\$TESSARY\" -q -p $password ./*.pdf </dev/null")
awk -v p="$total_pages" -v r="$repeat" -v w="$wall" -v c="$cpu" -v k="$kib" 'BEGIN {
    printf "  %-26s %7.0f pages/s CPU %7.0f pages/s elapsed  peak %6d KiB\n",
           "tessary-convert, 1 process", p * r * 1000 / c, p * r * 1000 / w, k }'

echo
echo "start-up:"
if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 20 --runs 300 --style basic "$tessary --version" "pdftotext -v" 2>&1 |
        grep -E 'Benchmark|Time \(mean'
else
    for cmd in "$tessary --version" "pdftotext -v"; do
        read -r wall cpu kib < <(measure "$cmd")
        printf '  %-60s %.2f ms\n' "$cmd" "$(awk -v t="$wall" -v r="$repeat" 'BEGIN { print t / r }')"
    done
fi
