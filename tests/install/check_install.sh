#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree a desktop
# expects: both programs, the help (where the program looks for it), the
# desktop entry (desktop-file-validate), the icons and the man page.
# Usage: check_install.sh BUILD_DIR HELP_DIR_FROM_BIN
set -euo pipefail
build=$1
help_rel=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() { [ -e "$prefix/$1" ] || fail "missing $1"; }
# "width height" from a PNG's header (big-endian words at bytes 16 and 20).
png_size() {
    local b
    read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3])) $(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in tambor tambor-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not an installed program"
done
"$prefix/bin/tambor-cli" --help >/dev/null || fail "the installed tambor-cli does not run"

# The help, and the program's way from its executable to it.
need share/tambor/help/index.htm
[ -f "$prefix/bin/$help_rel/index.htm" ] || fail "the program looks for its help in bin/$help_rel, which is missing"
# Every page and picture a page links to is there. The screenshots of
# windows still being built are made later by scripts/screenshots.sh.
pending=" images/edit.png images/backtest.png images/preview.png "
for page in "$prefix"/share/tambor/help/*.htm; do
    for link in $(grep -oE '(href|src)="[^"]+"' "$page" | sed -E 's/^(href|src)="([^"#]*).*/\2/'); do
        case $link in ''|http:*|https:*|mailto:*) continue ;; esac
        [ -e "$(dirname "$page")/$link" ] && continue
        case $pending in *" $link "*) continue ;; esac
        fail "$(basename "$page") links to $link, which is not installed"
    done
done

# The desktop entry, valid and pointing at what was installed.
entry=$prefix/share/applications/tambor.desktop
if [ -f "$entry" ]; then
    if ! out=$(desktop-file-validate "$entry" 2>&1) || [ -n "$out" ]; then
        fail "desktop-file-validate: $out"
    fi
    grep -qx 'Name\[ja\]=タンボル' "$entry" || fail "the desktop entry has no Japanese name タンボル"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$prefix/bin/$exec_name" ] || fail "Exec=$exec_name is not installed in bin"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    for size in 16 22 24 32 48 64 128 256; do
        png=share/icons/hicolor/${size}x${size}/apps/$icon.png
        need "$png"
        [ -f "$prefix/$png" ] && [ "$(png_size "$prefix/$png")" != "$size $size" ] &&
            fail "$png is not a $size x $size PNG"
    done
    need "share/icons/hicolor/scalable/apps/$icon.svg"
else
    fail "missing share/applications/tambor.desktop"
fi

# The man page lists the commands and reads without roff warnings (lines
# wider than a terminal are no fault of the page).
man_page=$prefix/share/man/man1/tambor-cli.1
if [ -f "$man_page" ]; then
    for command in build calc check convert draw stats; do
        grep -q "^\.SS $command\$" "$man_page" || fail "the man page has no section for $command"
    done
    if command -v groff >/dev/null; then
        warnings=$(groff -k -man -Tutf8 -ww -Wbreak -z "$man_page" 2>&1) || fail "groff cannot read the man page"
        [ -z "$warnings" ] || fail "the man page: $warnings"
    fi
else
    fail "missing share/man/man1/tambor-cli.1"
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed tree complete: $(find "$prefix" -type f | wc -l) files"
