#!/usr/bin/env bash
# An installation, every file of it used: the command through its link, the plug-in it loads,
# each converter through the post-processor, each locale found by name, the manual page
# rendered and holding every help text, the bash completion completing every option of the
# help, and a project of someone else's built against the CMake package. installed-files.txt
# names every file and the step that uses it.
#
#   installed_tree_test.sh SOURCE --install BUILD PREFIX   installs BUILD into PREFIX first
#   installed_tree_test.sh SOURCE --installed PREFIX LIST  an installation (LIST: its files)
set -euo pipefail
source_dir=$1
if [[ $2 == --install ]]; then
    prefix=$4
    rm -rf "$prefix"
    cmake --install "$3" --prefix "$prefix" >/dev/null
    mapfile -t installed < "$3/install_manifest.txt"
else
    prefix=$3
    mapfile -t installed < "$4"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "installed tree $prefix: $*" >&2; exit 1; }
morvane() { env -u MORVANE_PLUGIN XDG_CONFIG_HOME="$work/config" "$prefix/bin/morvane" "$@"; }
examples=$source_dir/examples

# Every installed file is named by the table, every line of the table names a file.
mapfile -t patterns < <(grep -v '^#' "$source_dir/tests/install/installed-files.txt" | awk 'NF {print $1}')
declare -A matched
for file in "${installed[@]}"; do
    [[ -d $file && ! -L $file ]] && continue
    relative=${file#"$prefix"/}
    named=
    for pattern in "${patterns[@]}"; do
        # shellcheck disable=SC2053
        if [[ $relative == $pattern ]]; then named=$pattern; matched[$pattern]=1; fi
    done
    [[ -n $named ]] || fail "$relative is installed but no test uses it (tests/install/installed-files.txt)"
done
for pattern in "${patterns[@]}"; do
    [[ -n ${matched[$pattern]:-} ]] || fail "nothing installed as $pattern"
done

# program, plugin
version=$(morvane --version)
[[ $version == *"plug-in Morvane 0.0.0.1 ("*"/libmorvane.so)"* ]] || fail "--version: $version"

# converters: each listed, each converting through the post-processor's libraries
listing=$(morvane converters)
for converter in "$prefix"/lib/morvane/Converters/*.conv; do
    name=$(basename "$converter" .conv)
    [[ $listing == *"$name.conv"* ]] || fail "morvane converters does not list $name"
    morvane convert "$examples/square.nci" -c "$name" --longhand -o "$work/$name.out" ||
        fail "converting with $name"
done
grep -q "N80 X40. F400." "$work/Fanuc-longhand.out" || fail "Fanuc-longhand: $(cat "$work/Fanuc-longhand.out")"

# locales
for locale in "$prefix"/lib/morvane/locale/*.conf; do
    morvane convert "$examples/square.nci" --nci --no-config --locale "$(basename "$locale" .conf)" >/dev/null ||
        fail "the locale $locale is not found by its name"
done

# manual: renders without a warning, and holds the words of every help text in their order
page=$prefix/share/man/man1/morvane.1
groff -man -Tascii -ww -z "$page" 2>"$work/groff.err"
[[ ! -s $work/groff.err ]] || fail "the manual page has faults: $(cat "$work/groff.err")"
groff -man -Tascii -P-cbou "$page" > "$work/manual.txt"
commands=("" convert check show formats converters version)
for command in "${commands[@]}"; do
    # shellcheck disable=SC2086
    morvane $command --help > "$work/help.txt"
    python3 - "$work/help.txt" "$work/manual.txt" <<'PY' || fail "the manual page lacks the help of '$command'"
import sys
help_words, page_words = (open(p).read().split() for p in sys.argv[1:])
text = " ".join(page_words)
sys.exit(0 if " " + " ".join(help_words) + " " in " " + text + " " else 1)
PY
done

# completion: commands, every option of every help, formats, converter names
# shellcheck disable=SC1090
source "$prefix/share/bash-completion/completions/morvane"
completes() {  # WORD... : what completing the last word offers
    COMP_WORDS=("$prefix/bin/morvane" "$@"); COMP_CWORD=$#
    XDG_CONFIG_HOME=$work/config _morvane
    printf ' %s ' "${COMPREPLY[@]}"
}
[[ $(completes co) == *" convert "*" converters "* ]] || fail "commands: $(completes co)"
# The options a help text gives: in its usage lines and the heads of its lists of options.
options_of() {
    awk '/^usage:/ {u = 1; print; next} u && /^ +\[/ {print; next} {u = 0}
         /^(  |      )-/ {sub(/^ +/, ""); sub(/  .*/, ""); print}' |
        grep -oE '(^|[][ ,(|])--?[[:alpha:]][[:alnum:]-]*' | sed 's/^[][ ,(|]//'
}
for command in "${commands[@]}"; do
    # shellcheck disable=SC2086
    offered=$(completes $command -)
    # shellcheck disable=SC2086
    for option in $(morvane $command --help | options_of); do
        [[ $offered == *" $option "* ]] || fail "'$command $option' is not completed (offered:$offered)"
    done
done
[[ $(completes convert x --from '') == *" heidenhain "*" numeripath "* ]] || fail "formats"
offered=$(completes convert x -c Fa)
[[ $offered == *" Fanuc "* && $offered == *" Fanuc-longhand "* ]] || fail "converter names:$offered"

# consumer: find_package, every header, the static libraries, the same NCI as the command
headers=()
for file in "$prefix"/include/morvane/*; do headers+=("$(basename "$file")"); done
cmake -S "$source_dir/tests/install/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
      "-DMORVANE_HEADERS=$(IFS=';'; echo "${headers[*]}")" >"$work/consumer.log" 2>&1 &&
    cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 || fail "consumer: $(cat "$work/consumer.log")"
"$work/consumer/consumer" "$examples/square.nc" > "$work/library.nci"
morvane convert "$examples/square.nc" --nci --no-config -q > "$work/command.nci"
cmp "$work/library.nci" "$work/command.nci" || fail "the library and the command convert square.nc differently"
echo "installed tree $prefix: every file used"
