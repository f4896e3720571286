#!/usr/bin/env bash
# The LaTeX diagrams as TeX Live reads them: each document of a table of
# positions compiles with pdflatex -halt-on-error, the board the chessboard
# package read back (its savefen key) has the placement we wrote, and the
# headlines come out of the PDF as they were typed.
# Exit 77 (skipped) where TeX or its chessboard package is missing.
#   tests/latex/latex_test.sh KALMERA_FEN
set -u
tool=${1:?path to kalmera-fen}
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
finish
