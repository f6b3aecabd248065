#!/usr/bin/env bash
# Fails when an #include "..." of the program's own sources runs against the
# dependency rules in tools/include-rules.txt, when a source file belongs to
# no module of that table, or when docs/architecture.md says something else:
# its copy of the table differs, or its picture of the layers leaves a module
# out or lets a module use one that is not drawn below it.
# Tests and benchmarks are not checked: they reach into every layer they drive.
#   tools/check-includes.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
rules=tools/include-rules.txt
doc=docs/architecture.md

# The rule lines as the document shows them, in its block fenced with ```rules,
# and the picture of the layers, its block fenced with ```layers.
doc_rules=$(awk '/^```rules$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$doc")
layers=$(awk '/^```layers$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$doc")
file_rules=$(grep -vE '^[[:space:]]*(#|$)' "$rules")
if [ "$(tr -s ' \t' ' ' <<<"$doc_rules")" != "$(tr -s ' \t' ' ' <<<"$file_rules")" ]; then
    echo "includes: the rules in $doc differ from $rules:" >&2
    diff <(tr -s ' \t' ' ' <<<"$doc_rules") <(tr -s ' \t' ' ' <<<"$file_rules") >&2 || true
    exit 1
fi

# Every production source with the quoted includes it makes, one
# "file<TAB>include" line each ("file<TAB>" for a file that includes nothing).
listing=$(git ls-files '*.cpp' '*.h' ':!tests/' ':!bench/' | while IFS= read -r file; do
    printf '%s\t\n' "$file"
    sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file" |
        sed "s|^|$file\t|"
done)

awk -F'\t' -v rules="$rules" -v layers="$layers" '
    # The module of a path: the longest module folder it lies in.
    function module_of(path,    best, m) {
        best = ""
        for (m in modules) {
            if (index(path, m "/") == 1 && length(m) > length(best)) {
                best = m
            }
        }
        return best
    }
    BEGIN {
        while ((getline line < rules) > 0) {
            sub(/#.*/, "", line)
            n = split(line, word, /[[:space:]]+/)
            first = (word[1] == "") ? 2 : 1
            if (first > n) {
                continue
            }
            from = word[first]
            modules[from] = 1
            for (i = first + 1; i <= n; i++) {
                if (word[i] != "" && word[i] != "-") {
                    allowed[from, word[i]] = 1
                    targets[from] = targets[from] " " word[i]
                }
            }
        }
        # The picture: one row of modules per line, top to bottom. Every
        # module is in one row and uses only modules of rows below its own
        # (the single headers named in the table are the exceptions).
        n = split(layers, row_line, "\n")
        rows = 0
        for (r = 1; r <= n; r++) {
            # Words in parentheses are labels; lines, corners and arrows
            # drawn with - | + are not words.
            gsub(/\([^)]*\)/, " ", row_line[r])
            gsub(/[-|+]+/, " ", row_line[r])
            if (row_line[r] ~ /^[[:space:]]*$/) {
                continue
            }
            rows++
            k = split(row_line[r], word, /[[:space:]]+/)
            for (i = 1; i <= k; i++) {
                if (word[i] == "") {
                    continue
                }
                if (!(word[i] in modules)) {
                    printf "includes: the picture shows %s, which %s does not have\n", word[i], rules
                    bad = 1
                } else if (word[i] in row) {
                    printf "includes: the picture shows %s twice\n", word[i]
                    bad = 1
                }
                row[word[i]] = rows
            }
        }
        for (m in modules) {
            if (!(m in row)) {
                printf "includes: the picture in the document does not show %s\n", m
                bad = 1
                continue
            }
            k = split(targets[m], t, " ")
            for (i = 1; i <= k; i++) {
                if (t[i] in modules && t[i] in row && row[t[i]] <= row[m]) {
                    printf "includes: %s may use %s, which the picture does not show below it\n", m, t[i]
                    bad = 1
                }
            }
        }
    }
    {
        file = $1
        own = module_of(file)
        if (own == "") {
            if (!(file in reported)) {
                printf "includes: %s belongs to no module of %s\n", file, rules
                reported[file] = 1
            }
            bad = 1
            next
        }
        if ($2 == "") {
            next
        }
        target = module_of($2)
        if (target == "") {
            # Generated and library headers lie outside the tree; a file of
            # ours outside every module (tests, tools) is not for the program.
            if ((getline unused < $2) >= 0) {
                close($2)
                printf "includes: %s includes \"%s\", which belongs to no module\n", file, $2
                bad = 1
            }
            next
        }
        if (target == own || allowed[own, target] || allowed[own, $2]) {
            next
        }
        printf "includes: %s includes \"%s\" (%s may not use %s)\n", file, $2, own, target
        bad = 1
    }
    END { exit bad }
' <<<"$listing" || {
    echo "includes: see $rules and the dependency rules in $doc" >&2
    exit 1
}
echo "includes: $(wc -l <<<"$(cut -f1 <<<"$listing" | sort -u)") files follow the dependency rules"
