#!/usr/bin/env python3
"""Scores the text extracted from the corpus against the text each file was made from.

Usage: corpus_scores.py DUMP_PROGRAM CORPUS_DIR

For every unencrypted file whose manifest row says basic_readable "yes", whatever matrix it draws
its text under:
recall is the share of the truth's words found in DUMP_PROGRAM's output (as a multiset), order
the length of the longest common subsequence of the two word sequences over the truth's word
count. Words are runs of letters and digits after NFKC and lower-casing. Every file must reach a
recall of 0.99; single-column files also an order of 0.98 (the layout sets columns side by side
by design, so multi-column pages are held to recall only).
"""
import bisect
import collections
import csv
import re
import subprocess
import sys
import unicodedata

MULTI_COLUMN = {
    "ghostscript/gs-groff-2col.pdf": "two columns",
    "libreoffice/lo-columns.pdf": "two columns",
    "libreoffice/lo-twocol-table.pdf": "two columns and a table",
}


def words(text):
    return re.findall(r"[^\W_]+", unicodedata.normalize("NFKC", text).lower())


def lcs_length(a, b):
    """Hunt-Szymanski: tails[k] is the smallest end in b of a common subsequence of length k+1."""
    positions = collections.defaultdict(list)
    for j, w in enumerate(b):
        positions[w].append(j)
    tails = []
    for w in a:
        for j in reversed(positions.get(w, ())):
            k = bisect.bisect_left(tails, j)
            tails[k:k + 1] = [j]
    return len(tails)


def main():
    dump, corpus = sys.argv[1], sys.argv[2]
    failures = []
    print(f"{'file':45} {'words':>6} {'recall':>7} {'order':>7}  held to")
    with open(f"{corpus}/manifest.tsv", newline="") as manifest:
        for row in csv.DictReader(manifest, delimiter="\t"):
            if (row["basic_readable"], row["encryption"]) != ("yes", "none"):
                continue
            path = row["path"]
            with open(f"{corpus}/{row['truth']}", encoding="utf-8") as f:
                truth = words(f.read())
            result = subprocess.run([dump, f"{corpus}/{path}"], capture_output=True)
            output = words(result.stdout.decode("utf-8", errors="replace"))
            have, count = collections.Counter(output), max(len(truth), 1)
            recall = sum(min(n, have[w]) for w, n in collections.Counter(truth).items()) / count
            order = lcs_length(truth, output) / count
            multi = path in MULTI_COLUMN
            print(f"{path:45} {len(truth):6d} {recall:7.3f} {order:7.3f}  recall{'' if multi else ', order'}")
            if result.returncode != 0 or recall < 0.99 or (not multi and order < 0.98):
                failures.append(f"{path}: exit {result.returncode}, recall {recall:.3f}, order {order:.3f}")
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
