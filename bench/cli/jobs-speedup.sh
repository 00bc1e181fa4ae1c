#!/bin/bash
# The speed-up of tessary-convert --jobs: converts every PDF file under a
# folder in one run with 1 job, 2 jobs and one job per core, and prints the
# elapsed time of each and its speed-up over 1 job. The text files of every
# run must be byte for byte those of 1 job.
#
#   bench/cli/jobs-speedup.sh PDF_DIR [TESSARY_CONVERT]
#
# The PDF files are linked into a temporary folder, where the text files go
# (the folder given is only read). Each run is repeated REPEAT times (default
# 3); the best time counts, as the one least disturbed by other work on the
# machine. Build tessary-convert in Release or RelWithDebInfo first.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
pdfs=${1:?usage: jobs-speedup.sh PDF_DIR [TESSARY_CONVERT]}
tessary=${2:-$root/build/src/cli/tessary-convert}
repeat=${REPEAT:-3}
cores=$(nproc)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in"
while IFS= read -r pdf; do
    name=${pdf#"$pdfs"/}
    ln -s "$(realpath "$pdf")" "$work/in/${name//\//_}"
done < <(find "$pdfs" -name '*.pdf' | sort)
files=$(find "$work/in" -name '*.pdf' | wc -l)

# Seconds of the fastest of $repeat runs with $1 jobs; the text files are
# kept in $work/out-$1.
best_time() {
    local jobs=$1 best=""
    for ((i = 0; i < repeat; i++)); do
        rm -f "$work"/in/*.txt
        local start end
        start=$(date +%s.%N)
        "$tessary" -q -j "$jobs" "$work"/in/*.pdf </dev/null 2>"$work/err-$jobs" || true
        end=$(date +%s.%N)
        best=$(awk -v a="$start" -v b="$end" -v best="$best" \
            'BEGIN { t = b - a; print (best == "" || t < best) ? t : best }')
    done
    mkdir -p "$work/out-$jobs"
    mv "$work"/in/*.txt "$work/out-$jobs"/ 2>/dev/null || true
    echo "$best"
}

one=$(best_time 1)
opened=$(find "$work/out-1" -name '*.txt' | wc -l)
echo "$files PDF files, $opened converted; $cores cores; best of $repeat runs"
printf '%-14s %9s %9s\n' jobs seconds speed-up
printf '%-14s %9.2f %9.2f\n' 1 "$one" 1
for jobs in 2 0; do
    [[ $jobs == 2 && $cores -lt 2 ]] && continue
    t=$(best_time "$jobs")
    label=$jobs
    [[ $jobs == 0 ]] && label="0 ($cores cores)"
    printf '%-14s %9.2f %9.2f\n' "$label" "$t" "$(awk -v a="$one" -v b="$t" 'BEGIN { print a / b }')"
    diff -rq "$work/out-1" "$work/out-$jobs" >/dev/null || echo "  text files differ from 1 job!"
    cmp -s "$work/err-1" "$work/err-$jobs" || echo "  messages differ from 1 job!"
done
