#!/bin/sh
# Writes the history file from the verified draw lists, in either of its two
# uses:
#
#   scripts/make-update-data.sh [OUTPUT_DIR]      the update server's file,
#       OUTPUT_DIR/lotodata.txt (default: data/update), cp932 with LF line
#       ends (the program writes CR LF when it takes it);
#   scripts/make-update-data.sh --builtin FILE     the program's built-in copy
#       (the build runs this), cp932 with CR LF line ends, exactly the file a
#       first start writes.
#
# To publish a new draw: add its line to data/history-miniloto.tsv,
# data/history-loto6.tsv or data/history-loto7.tsv (round, date, main
# numbers, bonus; tab separated, see data/SOURCES.md), rebuild the program
# (its built-in copy follows), run this script, and copy OUTPUT_DIR to the
# web server. Every line of the lists is checked first: a list with a gap,
# a typo or an impossible draw writes nothing.
#
# Needs only sh, awk and iconv (all in a fresh Debian 12).
set -eu
line_end=lf
if [ "${1:-}" = "--builtin" ]; then
    [ $# -eq 2 ] || { echo "usage: $0 --builtin FILE" >&2; exit 2; }
    line_end=crlf
    case $2 in /*) target=$2 ;; *) target=$(pwd)/$2 ;; esac
fi
cd "$(dirname "$0")/.."
if [ "$line_end" = lf ]; then
    out_dir=${1:-data/update}
    target=$out_dir/lotodata.txt
fi
out_dir=$(dirname "$target")
mkdir -p "$out_dir"
tmp="$out_dir/.lotodata.txt.$$"
trap 'rm -f "$tmp" "$tmp.utf8" "$tmp.crlf"' EXIT HUP INT TERM

# One section: the header, one line per draw, an empty line.
# Dates from 2019-05-01 on are Reiwa (R01 = 2019), earlier ones Heisei (H01 = 1989).
section() { # file header pick max bonuses
    awk -F '\t' -v header="$2" -v pick="$3" -v max="$4" -v bonuses="$5" -v file="$1" '
    function fail(why) { printf "%s:%d: %s\n", file, NR, why > "/dev/stderr"; bad = 1; exit 1 }
    function number(text,   v) {
        if (text !~ /^[0-9][0-9]$/) fail("番号は 2 桁で書いてください: " text)
        v = text + 0
        if (v < 1 || v > max) fail("番号が 1〜" max " の範囲外です: " text)
        return v
    }
    BEGIN { print header }
    {
        sub(/\r$/, "")
        if (NF != 4) fail("列が 4 つではありません")
        if ($1 != NR) fail("回の番号が " NR " ではありません: " $1)
        if ($2 !~ /^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$/) fail("日付は YYYY-MM-DD で書いてください: " $2)
        if ($2 <= last) fail("日付が前の回より後ではありません: " $2)
        last = $2
        n = split($3, m, ",")
        if (n != pick) fail("本数字が " pick " 個ではありません: " $3)
        split("", seen)
        prev = 0
        for (i = 1; i <= n; i++) {
            v = number(m[i])
            if (v <= prev) fail("本数字が小さい順ではありません: " $3)
            prev = v; seen[v] = 1
        }
        if (split($4, b, ",") != bonuses) fail("ボーナス数字が " bonuses " 個ではありません: " $4)
        prev = 0
        for (i = 1; i <= bonuses; i++) {
            v = number(b[i])
            if (v in seen) fail("ボーナス数字が本数字と重なっています: " $4)
            if (v <= prev) fail("ボーナス数字が小さい順ではありません: " $4)
            prev = v
        }
        y = substr($2, 1, 4) + 0; mo = substr($2, 6, 2) + 0; d = substr($2, 9, 2) + 0
        if ($2 >= "2019-05-01") { era = "R"; ey = y - 2018 } else { era = "H"; ey = y - 1988 }
        printf "第%3d回(%s%02d.%2d.%2d)=%s,%s\n", $1, era, ey, mo, d, $3, $4
    }
    END { if (bad) exit 1; if (NR == 0) fail("当選番号がありません"); print "" }
    ' "$1"
}

section data/history-miniloto.tsv "[ミニロト当選番号]" 5 31 1 > "$tmp.utf8"
section data/history-loto6.tsv "[ロト６当選番号]" 6 43 1 >> "$tmp.utf8"
section data/history-loto7.tsv "[ロト７当選番号]" 7 37 2 >> "$tmp.utf8"
if [ "$line_end" = crlf ]; then
    sed 's/$/\r/' "$tmp.utf8" > "$tmp.crlf" && mv -f "$tmp.crlf" "$tmp.utf8"
fi
iconv -f UTF-8 -t CP932 "$tmp.utf8" > "$tmp"
mv -f "$tmp" "$target"
echo "$target: $(grep -c '=' "$target") draws"
