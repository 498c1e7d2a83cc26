#!/usr/bin/env bash
# The samples of a document are the real output of the commands beside them: each block fenced
# as ```output holds what the last command of the ```sh block before it prints, standard output
# then standard error. Only the part after the command's last "&&" runs (the setup before it
# needs the network), from a directory with the repository's examples/, with build/bin/ the
# build's programs and no stored configuration. In a sample a line "..." stands for any lines.
# Usage: doc_samples.sh SOURCE_DIR BIN_DIR DOCUMENT...
set -u
source_dir=$1 bin=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0 checked=0

# Splits a document into numbered samples: N.cmd (the command), N.expected, N.line.
split_samples() {
    awk -v dir="$1" '
        /^```/ && fence == "" { fence = substr($0, 4); text = ""; start = NR; next }
        /^```$/ && fence != "" {
            if (fence == "sh") {
                command = ""
                n = split(text, lines, "\n")
                for (i = 1; i <= n; ++i) {
                    if (lines[i] == "" || lines[i] ~ /^#/) continue
                    command = continued ? command " " lines[i] : lines[i]
                    continued = sub(/\\$/, "", command)
                }
                sub(/.*&& /, "", command)
            } else if (fence == "output" && command != "") {
                ++samples
                printf "%s", command > (dir "/" samples ".cmd")
                printf "%s", text > (dir "/" samples ".expected")
                printf "%d", start > (dir "/" samples ".line")
            }
            fence = ""
            next
        }
        fence != "" { text = text $0 "\n" }
    ' "$2"
}

# True when the lines of $2 are those of $1, where a line "..." of $1 matches any lines.
matches() {
    awk '
        NR == FNR { e[++n] = $0; next }
        { a[++m] = $0 }
        END {
            for (i = n + 1; i >= 1; --i)
                for (j = m + 1; j >= 1; --j) {
                    if (i > n) ok[i, j] = j > m
                    else if (e[i] == "...") ok[i, j] = ok[i + 1, j] || (j <= m && ok[i, j + 1])
                    else ok[i, j] = j <= m && e[i] == a[j] && ok[i + 1, j + 1]
                }
            exit !ok[1, 1]
        }
    ' "$1" "$2"
}

for document in "$@"; do
    samples="$work/samples"
    rm -rf "$samples" && mkdir -p "$samples"
    split_samples "$samples" "$source_dir/$document"
    for command_file in "$samples"/*.cmd; do
        [ -e "$command_file" ] || continue
        sample=${command_file%.cmd}
        command=$(cat "$command_file")
        run="$work/run"
        rm -rf "$run" && mkdir -p "$run/tmp" "$run/home"
        ln -s "$source_dir/examples" "$run/examples"
        (cd "$run" && env -i PATH="$bin:/usr/bin:/bin" HOME="$run/home" TMPDIR="$run/tmp" \
            XDG_CONFIG_HOME="$run/config" bash -c "${command//build\/bin\//$bin/}" \
            >"$sample.actual" 2>"$sample.err" </dev/null)
        cat "$sample.err" >>"$sample.actual"
        checked=$((checked + 1))
        if ! matches "$sample.expected" "$sample.actual"; then
            failed=$((failed + 1))
            echo "$document:$(cat "$sample.line"): the sample is not what \`$command\` prints:"
            diff -u "$sample.expected" "$sample.actual" | tail -n +3
        fi
    done
done
echo "$((checked - failed)) passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$checked" -gt 0 ]
