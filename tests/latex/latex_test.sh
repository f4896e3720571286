#!/usr/bin/env bash
# The LaTeX diagrams as TeX Live reads them: each document of a table of
# positions compiles with pdflatex -halt-on-error, the board the chessboard
# package read back (its savefen key) has the placement we wrote, and the
# headlines come out of the PDF as they were typed.
# Exit 77 (skipped) where TeX or its chessboard package is missing.
#   tests/latex/latex_test.sh KALMERA_FEN COLLECTION_LATEX
set -u
tool=${1:?path to kalmera-fen}
collection_latex=${2:?path to collection_latex}
verbose=1
. "$(dirname "$0")/../support/checks.sh"
for program in pdflatex kpsewhich pdftotext; do
  command -v $program >/dev/null || { echo "SKIPPED: $program is not installed"; exit 77; }
done
for package in chessboard.sty xifthen.sty cmap.sty; do
  [ -n "$(kpsewhich $package)" ] || { echo "SKIPPED: the TeX package $package is not installed"; exit 77; }
done
make_work_folder
cd "$work"

none=$(printf -- '-%.0s' $(seq 64))
marks="*$(printf -- '-%.0s' $(seq 35))*$(printf -- '-%.0s' $(seq 27))"  # a8 and e4
hostile='Gr'$'\xc3\xb6\xc3\x9f''e ^~_ {x} $5 & #1 50% \back'
# name | FEN | options | first headline | second headline | how the PDF shows
# the second (when not as typed)
while IFS='|' read -r name fen options head1 head2 shown2; do
  # shellcheck disable=SC2086
  if ! echo "$fen" | "$tool" latex --document $options --head1 "$head1" --head2 "$head2" > "$name.tex"; then
    check "$name: the tool writes it" 0 1; continue
  fi
  # The chessboard package writes the board it read into a file of its own.
  sed -i "s/^\\(\\\\chessboard\\[.*\\)\\]\$/\\1,savefen=$name-read]/" "$name.tex"
  pdflatex -halt-on-error -interaction=nonstopmode "$name.tex" > "$name.out" 2>&1
  code=$?
  check "$name: pdflatex compiles it" 0 "$code"
  [ $code -eq 0 ] || { grep -A3 '^!' "$name.out" | head -n 8; continue; }
  want=$(echo "$fen" | "$tool" | cut -d' ' -f1)
  check "$name: LaTeX read back the placement we wrote" "$want" "$(cut -d' ' -f1 "$name-read.fen" 2>/dev/null)"
  text=$(pdftotext "$name.pdf" - 2>/dev/null | tr -s '\n' ' ')
  for head in "$head1" "${shown2:-$head2}"; do
    [ -z "$head" ] && continue
    check "$name: the headline comes out as typed" yes "$(grep -qF -- "$head" <<<"$text" && echo yes || echo "no: $text")"
  done
done <<TABLE
standard|rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1||Startposition|
chess960-inner-rooks|rkrnnqbb/pppppppp/8/8/8/8/PPPPPPPP/RKRNNQBB w KQkq - 0 1|--flip|FRC Startposition|Position Nr . 959
black-to-move|r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 3 3|||
inner-rook-castling|r3k2r/8/8/8/8/8/8/R3K1RR w KgQkq - 0 1|||
en-passant|rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3|--marks $marks|e.p.|
marks|4k3/8/8/8/8/8/8/4K3 w - - 0 1|--marks $marks|Marks on a8 and e4|
hostile-headlines|8/8/8/8/8/8/8/8 w - - 0 1||$hostile|Łódź -- "quoted" 'single' \`grave\` <<angles>> ¦bar¦ ©|
beyond-the-fonts|4k3/8/8/8/8/8/8/4K3 w - - 0 1||Beyond the fonts|Путь 😀 ♞ ok|[U+041F][U+0443][U+0442][U+044C] [U+1F600] [U+265E] ok
TABLE

# The command alone, for a document of one's own: no preamble, the board.
fragment=$(echo 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' | "$tool" latex --head1 'A & B')
check "the command alone" \
  "\\begin{center}|{\\Large\\bfseries A \\& B}\\par|\\medskip|\\chessboard[setfen=rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1,showmover=true]|\\end{center}" \
  "$(printf '%s\n' "$fragment" | paste -sd'|')"
# A whole collection as the editor exports it: a board for each position
# (the line that is none left out) under its number, title and stipulation,
# in a document that compiles as it is, whatever its texts hold.
printf '%s\n' '# Week 1' \
  '6k1/5ppp/8/8/8/8/8/3R2K1 w - - id "Back rank"; dm 1; bm Rd8#;' \
  'not a position' \
  "4k3/8/8/8/8/8/8/4K2R w K - id \"$hostile\"; c1 \"Путь ♞ \\\"quoted\\\" -- ok\";" \
  'r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 3 3' > collection.epd
"$collection_latex" collection.epd 'Woche 1 & 2' --german > collection.tex
check "collection: one board for each position" 3 "$(grep -c '^\\chessboard\[' collection.tex)"
# Each board writes the placement LaTeX read into a file of its own.
awk '/^\\chessboard\[.*\]$/ { sub(/\]$/, ",savefen=collection-read-" ++n "]") } { print }' \
  collection.tex > collection-read.tex
pdflatex -halt-on-error -interaction=nonstopmode collection-read.tex > collection.out 2>&1
code=$?
check "collection: pdflatex compiles it" 0 "$code"
[ $code -eq 0 ] || grep -A3 '^!' collection.out | head -n 8
n=0
for fen in '6k1/5ppp/8/8/8/8/8/3R2K1' '4k3/8/8/8/8/8/8/4K2R' 'r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R'; do
  n=$((n + 1))
  check "collection: board $n read back as written" "$fen" "$(cut -d' ' -f1 "collection-read-$n.fen" 2>/dev/null)"
done
text=$(pdftotext collection-read.pdf - 2>/dev/null | tr -s '\n' ' ')
for shown in 'Woche 1 & 2' '1. Back rank' 'Weiß setzt in 1 Zug matt' "2. $hostile" \
             '[U+041F][U+0443][U+0442][U+044C] [U+265E] "quoted" -- ok' '3.'; do
  check "collection: \"$shown\" comes out as typed" yes \
    "$(grep -qF -- "$shown" <<<"$text" && echo yes || echo "no: $text")"
done
# Arrows, coloured squares and a mark compiled, drawn by pdftoppm and sampled
# where each must show: the board is found as the ink of a document without
# them, and the squares compared with it (the mean of a colour against the
# others). Seen from either side.
if command -v pdftoppm >/dev/null && command -v convert >/dev/null; then
  render() {  # name options...: NAME.png of the board without coordinates
    local name=$1; shift
    echo '4k3/8/8/8/8/8/8/4K3 w - - 0 1' | "$tool" latex --document --no-coordinates "$@" > "$name.tex"
    pdflatex -halt-on-error -interaction=nonstopmode "$name.tex" > "$name.out" 2>&1 &&
      pdftoppm -r 144 -png -singlefile "$name.pdf" "$name"
  }
  # The mean red, green and blue (0..1) of a part of a square (a file and a
  # rank as shown, 0 at the top left): "whole" or its middle column.
  sample() {  # image file rank part
    local size=$((side / 8)) x y w
    x=$((left + $2 * side / 8)); y=$((top + $3 * side / 8)); w=$size
    [ "$4" = middle ] && { x=$((x + size * 3 / 10)); w=$((size * 4 / 10)); }
    convert "$1" -crop "${w}x${size}+$x+$y" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:
  }
  # Whether colour $4 (1 red, 2 green, 3 blue) of a square stands out by 0.02
  # more in the annotated picture than in the plain one.
  shows() {  # file rank part colour
    local a p
    a=$(sample annotated.png "$@"); p=$(sample plain.png "$@")
    awk -v a="$a" -v p="$p" -v c="$4" 'BEGIN { split(a, x, " "); split(p, y, " ");
      o = c == 1 ? 2 : 1; print ((x[c] - x[o]) - (y[c] - y[o]) > 0.02 ? "shows" : "missing") }'
  }
  marks="$(printf -- '-%.0s' $(seq 35))*$(printf -- '-%.0s' $(seq 28))"  # d4
  for flip in "" --flip; do
    render plain $flip
    render annotated $flip --arrows e2e4,g1f3:red --squares d5:blue,h7:red --marks "$marks"
    check "annotations$flip: pdflatex compiles them" 0 "$?"
    # "WIDTHxHEIGHT PAGExPAGE+LEFT+TOP": the board is as high as it is wide (the
    # side-to-move mark stands to its right).
    read -r _ _ size page _ < <(convert plain.png -trim info:)
    side=${size#*x}
    offset=${page#*+}; left=${offset%%+*}; top=${offset#*+}
    at() { [ -z "$flip" ] && echo "$1 $2" || echo "$((7 - $1)) $((7 - $2))"; }  # file rank from a8
    check "annotations$flip: the green arrow over e3" shows "$(shows $(at 4 5) middle 2)"
    check "annotations$flip: the red arrow's head on f3" shows "$(shows $(at 5 5) whole 1)"
    check "annotations$flip: blue under d5" shows "$(shows $(at 3 3) whole 3)"
    check "annotations$flip: red under h7" shows "$(shows $(at 7 1) whole 1)"
    check "annotations$flip: the mark's green border on d4" shows "$(shows $(at 3 4) whole 2)"
    check "annotations$flip: nothing on a1" missing "$(shows $(at 0 7) whole 2)"
  done
fi
finish
