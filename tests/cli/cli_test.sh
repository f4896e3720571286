#!/usr/bin/env bash
# The tool as a script uses it: piped input against expected output, JSON, and
# bad usage. Prints "N passed, N failed" and fails when any case failed.
set -u
tool=${1:?path to kalmera-fen}
. "$(dirname "$0")/../support/checks.sh"

check "normalize lines" \
  "$(printf '%s\n' 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' \
     '8/8/8/8/8/8/8/8 w - - 0 1' '8/8/8/8/8/8/8/8 w - - 0 1' '4k3/8/8/8/8/8/8/4K3 b - - 3 7')" \
  "$(printf ' rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\r\n\nx\n4k3/8/8/8/8/8/8/4K3 b - - 3 7' | "$tool")"

check "verb normalize is the default" \
  "$(printf 'k7/8/8/8/8/8/8/7K w - - 0 1\n' | "$tool")" \
  "$(printf 'k7/8/8/8/8/8/8/7K w - - 0 1\n' | "$tool" normalize)"

# A fresh position per line: the en-passant file of one line never leaks into the next.
check "fresh position per line" \
  "$(printf '%s\n' '4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1' '4k3/8/8/3Pp3/8/8/8/4K3 w - - 0 1')" \
  "$(printf '%s\n' '4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1' '4k3/8/8/3Pp3/8/8/8/4K3 w' | "$tool")"

check "mirror then turn in order" \
  "3k4/8/8/8/3Pp3/8/8/3K4 b - d3 0 1" \
  "$(echo '4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1' | "$tool" --turn --mirror)"

check "turn standard" \
  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1" \
  "$(echo 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' | "$tool" --turn)"

check "json object" \
  '{"fen":"rkr5/8/8/8/8/8/8/RKR5 w KQkq - 0 1","side":0,"extended":true,"rookLeft":"a","rookRight":"c","enPassant":0,"halfCount":0,"fullCount":1,"rights":{"whiteLeft":true,"whiteRight":true,"blackLeft":true,"blackRight":true},"errors":{"king":false,"whiteLeft":false,"whiteRight":false,"blackLeft":false,"blackRight":false,"enPassant":false},"reading":{},"reasons":{},"legality":{},"state":"playing","whiteKing":57,"blackKing":1,"marks":"----------------------------------------------------------------"}' \
  "$(echo 'rkr5/8/8/8/8/8/8/RKR5 w KQkq - 0 1' | "$tool" --json)"

check "json flags" \
  '{"fen":"8/8/8/8/8/8/8/8 w - - 0 1","side":0,"extended":false,"rookLeft":"a","rookRight":"h","enPassant":3,"halfCount":0,"fullCount":1,"rights":{"whiteLeft":false,"whiteRight":false,"blackLeft":false,"blackRight":false},"errors":{"king":true,"whiteLeft":false,"whiteRight":false,"blackLeft":false,"blackRight":false,"enPassant":true},"reading":{"fieldsMissing":"The half-move clock and the full-move number are missing."},"reasons":{"king":"White and Black have no king.","enPassant":"No black pawn on c5 that could have made the double step."},"legality":{"kings":"White and Black have no king."},"state":"playing","whiteKing":-1,"blackKing":-1,"marks":"----------------------------------------------------------------"}' \
  "$(echo '8/8/8/8/8/8/8/8 w - c6' | "$tool" --json)"

# Legality: the FEN and the verdict per line, or only the illegal lines.
check "check verdicts" \
  "$(printf '%s\t%s\n' 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' legal \
     '4k3/8/8/8/8/8/8/4R1K1 w - - 0 1' fieldsMissing,oppositeCheck '8/8/8/8/8/8/8/4R3 w - - 0 1' fieldsMissing,kings \
     '4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 3 1' enPassantClock,enPassantOrigin)" \
  "$(printf '%s\n' 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' \
     '4k3/8/8/8/8/8/8/4R1K1 w' '8/8/8/8/8/8/8/4R3' '4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 3 1' | "$tool" check)"
check "check --illegal" "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1	fieldsMissing,oppositeCheck" \
  "$(printf '%s\n' 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' '4k3/8/8/8/8/8/8/4R1K1 w' |
     "$tool" check --illegal)"
check "check --illegal with nothing illegal" "0 0" \
  "$(printf 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n' | "$tool" check --illegal | wc -c) $?"
# The end of the game: after the rules in check, and as "state" in JSON.
check "check names checkmate and stalemate after the rules" \
  "$(printf '%s\t%s\n' '6rk/6pp/8/8/8/8/8/K5R1 b - - 0 1' legal \
     '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1' legal,stalemate '6rk/5Npp/8/8/8/8/8/K7 b - - 0 1' legal,checkmate \
     '7k/6Q1/6K1/8/8/8/8/8 w - - 0 1' oppositeCheck)" \
  "$(printf '%s\n' '6rk/6pp/8/8/8/8/8/K5R1 b - - 0 1' '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1' \
     '6rk/5Npp/8/8/8/8/8/K7 b - - 0 1' '7k/6Q1/6K1/8/8/8/8/8 w - - 0 1' | "$tool" check)"
check "json state" '"state":"checkmate" "state":"stalemate" "state":"playing"' \
  "$(printf '%s\n' '6rk/5Npp/8/8/8/8/8/K7 b - - 0 1' '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1' \
     '8/8/8/8/8/8/8/8 w - - 0 1' | "$tool" --json | grep -o '"state":"[a-z]*"' | tr '\n' ' ' | sed 's/ $//')"
check "check judges the turned position" "4r1k1/8/8/8/8/8/8/4K3 b - - 0 1	oppositeCheck" \
  "$(echo '4k3/8/8/8/8/8/8/4R1K1 w - - 0 1' | "$tool" check --turn)"
check "json legality with its sentence" \
  '"legality":{"oppositeCheck":"Black'"'"'s king on e8 is in check from the rook on e1, but White is to move."}' \
  "$(echo '4k3/8/8/8/8/8/8/4R1K1 w' | "$tool" --json | grep -o '"legality":{[^}]*}')"

# What the reader changed of a text: in the JSON with its sentence, and in
# check before the verdict, so that a changed text is never just "legal".
check "json reading of a second king" \
  '"reading":{"extraWhiteKing":"The white king on a1 was left out for the later one on e1."}' \
  "$(echo '4k3/8/8/8/8/8/8/K3K3 w - - 0 1' | "$tool" --json | grep -o '"reading":{[^}]*}')"
check "json reading of a typing slip, every change" \
  '"reading":{"unknownInPlacement":"The character \"9\" does not belong in a placement, so the board from a6 on was left empty.","unknownInCastling":"The character \"/\" ended the castling field and was passed over.","fieldsUnreadable":"The side to move, the en-passant field and the full-move number could not be read.","textIgnored":"The text \"/8/8/PPPPPPPP/RN...\" after the last field was ignored."}' \
  "$(echo 'rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' | "$tool" --json | grep -o '"reading":{[^}]*}')"
check "json reading after mirror and turn: the squares of the text" \
  '"reading":{"castlingWithoutRook":"The castling rights KQkq were left out: there are no rooks for them."}' \
  "$(echo '4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1' | "$tool" --json --mirror --turn | grep -o '"reading":{[^}]*}')"
reading_in=$(printf '%s\n' '4k3/8/8/8/8/8/8/K3K3 w - - 0 1' 'k7/8/8/8/8/8/PPPPPPPP/P3K3 w - - 0 1' \
  'rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' '4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1' \
  'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1')
check "check says what the reading changed before the rules" \
  "$(printf '%s\t%s\n' '4k3/8/8/8/8/8/8/4K3 w - - 0 1' extraWhiteKing,legal \
     'k7/8/8/8/8/8/PPPPPPPP/4K3 w - - 0 1' pawnsOnHomeRanks,legal \
     'rnbqkbnr/pppppppp/8/8/8/8/8/8 w - - 8 1' unknownInPlacement,unknownInCastling,fieldsUnreadable,textIgnored,kings \
     '4k3/8/8/8/8/8/8/4K3 w - - 0 1' castlingWithoutRook,legal \
     'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' legal)" \
  "$(printf '%s\n' "$reading_in" | "$tool" check)"
check "check --illegal keeps the changed lines, drops the ones just legal" "4 0" \
  "$(printf '%s\n' "$reading_in" | "$tool" check --illegal | grep -vc $'\tlegal$') $(printf '%s\n' "$reading_in" | "$tool" check --illegal | grep -c $'\tlegal$')"
check "plain normalising is as before" "4k3/8/8/8/8/8/8/4K3 w - - 0 1" \
  "$(echo '4k3/8/8/8/8/8/8/K3K3 w - - 0 1' | "$tool" 2>&1)"

# Castling notations of other programs: read in any input, written on request.
xfen_in='r3k2r/8/8/8/8/8/8/R3K1RR w GQkq - 0 1'
check "dialect native is the default" "r3k2r/8/8/8/8/8/8/R3K1RR w KgQq - 0 1" "$(echo "$xfen_in" | "$tool")"
check "dialect xfen" "r3k2r/8/8/8/8/8/8/R3K1RR w GQq - 0 1" "$(echo "$xfen_in" | "$tool" --dialect xfen)"
check "dialect shredder in JSON" '{"fen":"r3k2r/8/8/8/8/8/8/R3K1RR w GAa - 0 1"' \
  "$(echo "$xfen_in" | "$tool" --dialect shredder --json | cut -d, -f1)"
check "shredder input with e.p. and counters" \
  "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w KQkq - 2 9" \
  "$(echo 'bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9' | "$tool")"

check "frc 518" "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" "$("$tool" frc 518)"
check "frc 960" "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1" "$("$tool" frc 960)"

for bad in "frc" "frc 0" "frc 961" "frc x12" "frc 5 6" "--bogus" "paint" "normalize --json extra" \
           "--dialect" "--dialect lichess" "check --json" "normalize --illegal"; do
  # shellcheck disable=SC2086
  err=$("$tool" $bad </dev/null 2>&1 >/dev/null); code=$?
  check "usage error: $bad exits 2" 2 "$code"
  check "usage error: $bad names the problem in one line and where help is" \
    "kalmera-fen: |Try 'kalmera-fen --help'.|2" \
    "$(printf '%s' "$err" | head -n 1 | cut -c1-13)|$(printf '%s\n' "$err" | sed -n 2p)|$(printf '%s\n' "$err" | wc -l)"
done

check "help exits 0 and shows the usage" "1 0" "$("$tool" --help | grep -c "^usage:" | tr "\n" " "; echo "${PIPESTATUS[0]}")"
check "version" "kalmera-fen $(sed -nE 's/^project\(Kalmera VERSION ([0-9.]+).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")" \
  "$("$tool" --version)"

# Binary bytes, NUL bytes and a line of megabytes: one answer line each, no crash.
lines=$( { head -c 20000 /dev/urandom | tr -d '\n'; printf '\n'; printf 'a\0b\n';
           head -c 3000000 /dev/zero | tr '\0' 'K'; printf '\n'; } | "$tool" | wc -l)
check "hostile input gives one line each" 3 "$lines"
check "hostile input exit code" 0 "$(head -c 100000 /dev/urandom | "$tool" >/dev/null; echo $?)"

# A line is read as its first 1,048,576 bytes; a longer one is said by its
# number on standard error and the rest of it read past: a 600 MB line in
# 400 MB of address space (kept whole, it took twice its size).
long=$(mktemp -d)
standard='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
{ printf '%s\n' "$standard"; head -c 1048576 /dev/zero | tr '\0' K; printf '\r\n'
  head -c 1048577 /dev/zero | tr '\0' K; printf '\n%s' "$standard"; } | "$tool" > "$long/out" 2> "$long/err"
check "a line over 1 MB: its answer, the cut said by number, exit 0" \
  "0|$standard|8/8/8/8/8/8/8/7K w - - 0 1|8/8/8/8/8/8/8/7K w - - 0 1|$standard|kalmera-fen: line 3: cut at 1048576 bytes" \
  "$?|$(paste -sd'|' < "$long/out")|$(cat "$long/err")"
code=$(bash -c 'ulimit -v 400000 && { printf "x\n"; head -c 600000000 /dev/zero; printf "\n8/8 b\n"; } |
  "$1" check > "$2/out" 2> "$2/err"; echo $?' limit "$tool" "$long")
check "a 600 MB line in 400 MB of memory" "0 3 kalmera-fen: line 2: cut at 1048576 bytes" \
  "$code $(wc -l < "$long/out") $(cat "$long/err")"
rm -rf "$long"

# A large input is read in blocks, and the lines of a block are answered on
# both cores: the answers come in the order of the lines all the same, as
# when the input comes in pieces too small to be shared out.
big=$(mktemp -d)
awk 'BEGIN { srand(7); split("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1|r3k2r/8/8/8/8/8/8/R3K1RR w GQkq - 4 9|bad line|8/8 b|x", f, "|")
  for (i = 0; i < 80000; i++) { printf "%s %d%s\n", f[int(rand() * 6) + 1], i % 500, (i % 7 == 0 ? "\r" : "") }
  printf "k7/8/8/8/8/8/8/7K b" }' > "$big/in.txt"
split -l 1000 "$big/in.txt" "$big/part."
for p in "$big"/part.*; do "$tool" < "$p"; done > "$big/pieces.txt"
"$tool" < "$big/in.txt" > "$big/whole.txt"
check "large input in order" "$(wc -l < "$big/pieces.txt") $(md5sum < "$big/pieces.txt")" \
  "$(wc -l < "$big/whole.txt") $(md5sum < "$big/whole.txt")"
"$tool" --json --mirror < "$big/in.txt" > "$big/whole.txt"
for p in "$big"/part.*; do "$tool" --json --mirror < "$p"; done > "$big/pieces.txt"
check "large input in order, json" "$(md5sum < "$big/pieces.txt")" "$(md5sum < "$big/whole.txt")"
# Answers that outgrow a worker's buffer (short lines, long JSON) are written
# early, still in order.
awk 'BEGIN { for (i = 0; i < 48000; i++) printf "8/8/8/8/8/8/8/8 w - - 0 %d\n", i % 999 + 1 }' > "$big/short.txt"
split -l 1000 "$big/short.txt" "$big/shortpart."
"$tool" --json < "$big/short.txt" > "$big/whole-short.txt"
for p in "$big"/shortpart.*; do "$tool" --json < "$p"; done > "$big/pieces.txt"
check "answers above a worker's buffer in order" "$(md5sum < "$big/pieces.txt")" "$(md5sum < "$big/whole-short.txt")"
# Without a second thread to be had (a process limit), one thread answers all.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  cp "$tool" "$big/tool" && chmod 777 "$big" && chmod 644 "$big/in.txt"
  setpriv --reuid=65534 --regid=65534 --clear-groups bash -c \
    'ulimit -u 1; exec "$1/tool" --json --mirror < "$1/in.txt" > "$1/limited.txt"' limit "$big"
  code=$?
  check "large input without a second thread" "0 $(md5sum < "$big/whole.txt")" \
    "$code $(md5sum < "$big/limited.txt")"
fi
rm -rf "$big"

# Whatever the bytes, every answer line is one JSON object a parser accepts.
if command -v python3 >/dev/null; then
  check "json stays valid for hostile bytes" "ok" \
    "$( { head -c 5000 /dev/urandom; printf '\x01\xff"\\\n'; } | "$tool" --json |
        python3 -c 'import json,sys; [json.loads(l) for l in sys.stdin]; print("ok")')"
fi

# The diagram verbs.
std='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
html=$(echo "$std" | "$tool" html --base img/)
start='<table cellspacing="2" bgcolor="#000000"><tr><td width="326" bgcolor="#deefef">'
check "html fragment start" "$start" "${html:0:${#start}}"
check "html fragment end" "$std</font>" "${html: -$((${#std} + 7))}"
check "html fragment images" 1 "$(grep -c '<img src="img/bR.png" alt="bR"' <<<"$html")"
check "html document" '<!DOCTYPE HTML PUBLIC' "$(echo "$std" | "$tool" html --document | head -c 21)"
check "html document images from the PNG folder beside the tool" 1 \
  "$(echo "$std" | "$tool" html --document | grep -c "src=\"file://$(dirname "$(readlink -f "$tool")")/PNG/wK.png\"")"
head='<font size="+2"><strong>Gr&ouml;&szlig;e</strong></font><br><br><table'
check "html headline bytes as ISO 8859-1" "$head" \
  "$(echo "$std" | "$tool" html --head1 $'  Gr\xf6\xdfe ' | head -c ${#head})"
a8="*$(printf -- '-%.0s' $(seq 63))"
check "html marks" 1 "$(echo "$std" | "$tool" html --marks "$a8" | grep -c 'bR1.png" alt="bR\[\]"')"
check "html colours" 1 \
  "$(echo "$std" | "$tool" html --colours '$FF,0xFF00,255' | grep -c 'width="326" bgcolor="#ff0000".*width="272" bgcolor="#00ff00"')"
for bad in "html --colours 1,2" "html --colours 1,2,x" "html --colours 1,2,16777216" \
           "html --colours -1,2,3" "picture --png a --colours 0x1000000,0,0" "html --base" "html --png x" "picture" \
           "picture --png a --bmp b" "picture --png a --svg b" "picture --svg" "html --svg x" \
           "html --marks *" "html --marks ${a8}-" \
           "html --marks ${a8/\*/x}"; do
  # shellcheck disable=SC2086
  code=$(echo "$std" | "$tool" $bad >/dev/null 2>&1; echo $?)
  check "usage error: $bad exits 2" 2 "$code"
done
pics=$(mktemp -d)
echo "$std" | "$tool" picture --png "$pics/board.png" --marks "$a8"
check "picture png" "89504e47" "$(head -c 4 "$pics/board.png" | od -An -tx1 | tr -d ' \n')"
echo "$std" | "$tool" picture --bmp "$pics/board.bmp"
check "picture bmp 24 bits" "BM 24" "$(head -c 2 "$pics/board.bmp") $(od -An -tu1 -j28 -N1 "$pics/board.bmp" | tr -d ' ')"
# Without its picture program the tool says which one it looked for.
cp "$tool" "$pics/alone"
err=$(echo "$std" | "$pics/alone" picture --png "$pics/x.png" 2>&1 >/dev/null); code=$?
check "missing picture program exits 1" 1 "$code"
case "$err" in
  "kalmera-fen: cannot start the picture program: $pics/"*"/kalmera-fen-picture: No such file or directory") named=yes ;;
  *) named="no: $err" ;;
esac
check "missing picture program is named" yes "$named"
rm "$pics/alone"
err=$(echo "$std" | "$tool" picture --png "$pics/gone/x.png" 2>&1 >/dev/null); code=$?
check "unwritable picture exits 1" 1 "$code"
check "unwritable picture says so in one line" "1" "$(printf '%s\n' "$err" | grep -c 'gone/x.png')"
# The SVG: the picture's size in user units, and drawn by another renderer it
# is the PNG but for the soft edges of the text.
middle='r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9'
echo "$middle" | "$tool" picture --svg "$pics/board.svg" --marks "$a8"
echo "$middle" | "$tool" picture --png "$pics/board.png" --marks "$a8"
check "svg of 337 x 337 user units" 'width="337" height="337" viewBox="0 0 337 337"' \
  "$(tr -s '\n ' '  ' < "$pics/board.svg" | grep -o 'width="337" height="337" viewBox="0 0 337 337"')"
if command -v rsvg-convert >/dev/null && command -v compare >/dev/null; then
  rsvg-convert "$pics/board.svg" > "$pics/svg.png"
  check "the rendered svg has the picture's size" "337x337" "$(identify -format '%wx%h' "$pics/svg.png")"
  rmse=$(compare -metric RMSE "$pics/board.png" "$pics/svg.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/')
  check "the rendered svg is the png within 5 % RMSE" yes "$(awk -v e="$rmse" 'BEGIN { print (e < 0.05) ? "yes" : "no " e }')"
  apart=$(compare -metric AE -fuzz 25% "$pics/board.png" "$pics/svg.png" null: 2>&1)
  check "under 1 % of its pixels differ by a quarter" yes "$([ "${apart%.*}" -lt 1136 ] && echo yes || echo "no $apart")"
else
  echo "SKIPPED the svg rendering: rsvg-convert or ImageMagick is not installed"
fi
# Seen from Black's side: the diagram's labels and the picture turned round.
check "html --flip starts its file labels with h" 1 \
  "$(echo "$std" | "$tool" html --flip | grep -c '<td height="18" width="36">h</td>')"
echo "$middle" | "$tool" picture --png "$pics/flipped.png" --flip
check "picture --flip is another picture" different \
  "$(cmp -s "$pics/board.png" "$pics/flipped.png" && echo same || echo different)"
echo "$middle" | "$tool" picture --png "$pics/again.png" --marks "$a8"
check "without --flip the picture is as before" same \
  "$(cmp -s "$pics/board.png" "$pics/again.png" && echo same || echo different)"
if command -v convert >/dev/null; then
  check "flipped, h1 (a white rook) is at the top left" \
    "$(convert "$pics/board.png" -crop 34x34+270+270 +repage -format '%#' info:)" \
    "$(convert "$pics/flipped.png" -crop 34x34+32+32 +repage -format '%#' info:)"
fi
# Any size from the vector artwork: sharp, not the 337 picture scaled up;
# 337 is the picture of old, byte for byte.
echo "$middle" | "$tool" picture --png "$pics/337.png" --size 337 --marks "$a8"
check "--size 337 is the picture of old" same "$(cmp -s "$pics/board.png" "$pics/337.png" && echo same || echo different)"
for size in 64 1000 4096; do
  echo "$middle" | "$tool" picture --png "$pics/$size.png" --size $size
  check "picture --size $size" "PNG ${size}x$size" "$(identify -format '%m %wx%h' "$pics/$size.png" 2>/dev/null)"
done
# Smaller than 337 too: the whole board, down to its border on every side.
echo "$middle" | "$tool" picture --png "$pics/200.png" --size 200
for side in "0,100" "199,100" "100,0" "100,199"; do
  check "picture --size 200 has its border at $side" "0,0,0" \
    "$(convert "$pics/200.png" -format "%[fx:int(255*p{$side}.r)],%[fx:int(255*p{$side}.g)],%[fx:int(255*p{$side}.b)]" info: 2>/dev/null)"
done
echo "$middle" | "$tool" picture --bmp "$pics/700.bmp" --size 700
check "bmp --size 700" "BM 700x700" "$(head -c 2 "$pics/700.bmp") $(identify -format "%wx%h" "$pics/700.bmp" 2>/dev/null)"
if command -v convert >/dev/null; then
  convert "$pics/board.png" -filter Catrom -resize 1000x1000 "$pics/up.png"
  detail() { convert "$1" -colorspace gray -define convolve:scale='!' -morphology Convolve Laplacian:0 \
               -format '%[fx:standard_deviation]' info:; }
  check "1000 pixels drawn have twice the detail of 337 scaled up" yes \
    "$(awk -v big="$(detail "$pics/1000.png")" -v up="$(detail "$pics/up.png")" 'BEGIN { print (big > 2 * up) ? "yes" : "no: " big " " up }')"
fi
for bad in "--size 63" "--size 4097" "--size x" "--size" "--size 1e3" "--svg $pics/x.svg --size 500"; do
  # shellcheck disable=SC2086
  code=$(echo "$std" | "$tool" picture --png "$pics/bad.png" $bad >/dev/null 2>&1; echo $?)
  [ "${bad#--svg}" != "$bad" ] && code=$(echo "$std" | "$tool" picture $bad >/dev/null 2>&1; echo $?)
  check "usage error: picture $bad" 2 "$code"
done
# Puzzle sheets: blank lines and lines without a position are said and
# skipped, the sheet comes out all the same.
err=$(printf '%s\n' "$std" '' 'not a position' '4k3/8/8/8/8/8/8/4R1K1 w - - id "Mate in one";' |
      "$tool" sheet --pdf "$pics/sheet.pdf" --per-page 4 --title 'Week 1' 2>&1 >/dev/null); code=$?
check "sheet: the skipped lines by number" "0|kalmera-fen: line 2: blank, skipped|kalmera-fen: line 3: not a FEN or EPD line, skipped" \
  "$code|$(printf '%s\n' "$err" | paste -sd'|')"
check "sheet: a PDF" "%PDF" "$(head -c 4 "$pics/sheet.pdf")"
if command -v pdftotext >/dev/null; then
  check "sheet: the title, the captions numbered" "Week 1|1. White to play|2. White to play" \
    "$(pdftotext "$pics/sheet.pdf" - | grep -E '^(Week|[0-9]+\.)' | paste -sd'|')"
  check "sheet: the EPD id as the diagram's title" 1 "$(pdftotext "$pics/sheet.pdf" - | grep -c '^Mate in one$')"
fi
# A line holds a position when its placement gives all eight ranks ("/"
# completing a short one); "12", "/" and "K" do not, nor nine ranks.
err=$(printf '%s\n' "$std" '12' '/' 'K' 'k/8/8/8/8/8/8/K w' '8/8/8/8/8/8/8/8/8' |
      "$tool" sheet --pdf "$pics/holes.pdf" 2>&1 >/dev/null); code=$?
check "sheet: lines without eight ranks skipped by number" \
  "0|kalmera-fen: line 2: no position of eight ranks, skipped|kalmera-fen: line 3: no position of eight ranks, skipped|kalmera-fen: line 4: no position of eight ranks, skipped|kalmera-fen: line 6: no position of eight ranks, skipped" \
  "$code|$(printf '%s\n' "$err" | paste -sd'|')"
if command -v pdftotext >/dev/null; then
  check "sheet: a diagram for each line with a position" "1. White to play|2. White to play" \
    "$(pdftotext "$pics/holes.pdf" - | grep -E '^[0-9]+\.' | paste -sd'|')"
fi
# Stipulation captions and the answer key: a caption says the line's c1, or
# its dm as a mate for the side to move, else who is to play; --solutions
# ends the sheet with pages of each number and its bm, else pv, else c0
# (strings read with their escapes), "–" for none.
printf '%s\n' '6k1/5ppp/8/8/8/8/8/3R2K1 w - - id "Back rank"; dm 1; bm Rd8#;' \
  '4k3/8/8/8/8/8/8/4K2R w K - c1 "White to play and win"; pv Rh8+ Kd7 Rh7+; c0 "not shown";' \
  'not a position' \
  '6k1/8/8/8/8/8/5q2/7K b - - dm 2; c0 "The queen \"sacrifice\" first";' \
  '4k3/8/8/8/8/8/8/4K3 w - - 0 1' > "$pics/puzzles.epd"
pages() { pdftotext "$1" - | tr -cd '\f' | wc -c; }
answers() { pdftotext "$1" - | tr -d '\f' | sed -n '/^\(Solutions\|Lösungen\)$/,$p'; }
err=$("$tool" sheet --pdf "$pics/answers.pdf" --per-page 4 --solutions < "$pics/puzzles.epd" 2>&1 >/dev/null); code=$?
check "sheet --solutions: lines without a position still said" "0|kalmera-fen: line 3: not a FEN or EPD line, skipped" "$code|$err"
"$tool" sheet --pdf "$pics/captions.pdf" --per-page 4 < "$pics/puzzles.epd" 2>/dev/null
"$tool" sheet --pdf "$pics/antworten.pdf" --per-page 4 --german --solutions < "$pics/puzzles.epd" 2>/dev/null
for n in $(seq 30); do
  echo "4k3/8/8/8/8/8/8/4K3 w - - c0 \"Comment $n:$(printf ' word%.0s' $(seq 60)) end $n\";"
done > "$pics/long.epd"
"$tool" sheet --pdf "$pics/long.pdf" --per-page 12 --solutions < "$pics/long.epd"
if command -v pdftotext >/dev/null; then
  check "sheet: captions from c1 and dm, else who is to play" \
    "1. White mates in 1|2. White to play and win|3. Black mates in 2|4. White to play" \
    "$(pdftotext "$pics/captions.pdf" - | grep -E '^[0-9]+\.' | paste -sd'|')"
  check "sheet: no answer key without --solutions" "1 0" \
    "$(pages "$pics/captions.pdf") $(pdftotext "$pics/captions.pdf" - | grep -c Solutions)"
  check "sheet --solutions: a page of answers after the diagrams" 2 "$(pages "$pics/answers.pdf")"
  check "sheet --solutions: each number with its bm, pv or c0" \
    'Solutions|1. Rd8#|2. Rh8+ Kd7 Rh7+|3. The queen "sacrifice" first|4. –' \
    "$(answers "$pics/answers.pdf" | grep -E '^(Solutions|[0-9]+\.)' | paste -sd'|')"
  check "sheet --german: the captions and the answer key in German" \
    "1. Weiß setzt in 1 Zug matt|3. Schwarz setzt in 2 Zügen matt|4. Weiß am Zug|Lösungen|4. –" \
    "$(pdftotext "$pics/antworten.pdf" - | tr -d '\f' | grep -E '^(1\. W|3\. S|4\. |Lösungen)' | paste -sd'|')"
  # 30 diagrams on three pages, then answers over more than a page, none lost.
  check "sheet --solutions: long answers go on over pages, in order" \
    "yes $(seq -s' ' 30)" \
    "$([ "$(pages "$pics/long.pdf")" -gt 4 ] && echo yes || echo no) $(answers "$pics/long.pdf" | grep -oE 'end [0-9]+$' | cut -d' ' -f2 | paste -sd' ')"
fi
for bad in "sheet" "sheet --pdf" "sheet --pdf x --per-page 5" "sheet --pdf x --per-page" "sheet --pdf x --bogus" \
           "latex --png x" "latex --colours 1,2,3" "latex --head1"; do
  # shellcheck disable=SC2086
  code=$(echo "$std" | "$tool" $bad >/dev/null 2>&1; echo $?)
  check "usage error: $bad" 2 "$code"
done
check "latex of the first line" '\chessboard[setfen=rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1,showmover=true,inverse]' \
  "$(echo "$std" | "$tool" latex --flip | grep chessboard)"
check "latex without an input line" 1 "$("$tool" latex </dev/null >/dev/null 2>&1; echo $?)"
# A position from a picture of a diagram: our own picture read back; the
# pictures that cannot be read are said, with exit 1.
echo "$middle" | "$tool" picture --png "$pics/read.png" --flip
check "recognize reads the placement" "${middle%% *} w - - 0 1" "$("$tool" recognize "$pics/read.png")"
check "recognize from standard input" "${middle%% *} w - - 0 1" "$("$tool" recognize - < "$pics/read.png")"
json=$("$tool" recognize --json "$pics/read.png")
check "recognize --json: seen from Black's side, 64 squares, the rectangle" "true 64 yes" \
  "$(python3 -c 'import json,sys; j=json.loads(sys.argv[1]); b=j["board"]; print(str(j["flipped"]).lower(), len(j["squares"]), "yes" if abs(b["x"]-32)<2 and abs(b["width"]-272)<3 and all(0<=s["confidence"]<=1 for s in j["squares"]) else "no")' "$json")"
check "recognize --json names the squares" '{"square":"a8","piece":"r","confidence":' "$(printf '%s' "$json" | grep -o '{"square":"a8","piece":"r","confidence":')"
printf 'not a picture' > "$pics/junk.png"
head -c 300 "$pics/read.png" > "$pics/cut.png"
convert -size 500x300 xc:white "$pics/white.png" 2>/dev/null
while IFS='|' read -r file said; do
  err=$("$tool" recognize "$pics/$file" 2>&1 >/dev/null); code=$?
  check "recognize $file: said, exit 1" "1 kalmera-fen: $pics/$file: $said" "$code $err"
done <<TABLE
junk.png|not a PNG, JPEG or BMP picture
white.png|no chess board found in the picture
gone.png|No such file or directory
TABLE
err=$("$tool" recognize "$pics/cut.png" 2>&1 >/dev/null); code=$?
check "recognize a cut PNG: damaged, exit 1" "1 yes" "$code $(case "$err" in *"the picture is damaged"*) echo yes;; *) echo "no: $err";; esac)"
convert -size 8100x10 xc:white "$pics/wide.png" 2>/dev/null
err=$("$tool" recognize "$pics/wide.png" 2>&1 >/dev/null); code=$?
check "recognize a picture over 8000 pixels: too large, exit 1" \
  "1 kalmera-fen: $pics/wide.png: the picture is too large: 8100 x 10 pixels (at most 8000 each way)" "$code $err"
# What --json says beside the squares: how the orientation and the side
# were decided, and the squares worth a look.
check "recognize --json: orientation from the coordinates, side from the disc" "coordinates false" \
  "$(python3 -c 'import json,sys; j=json.loads(sys.argv[1]); print(j["orientationFrom"], str(j["sideGuessed"]).lower())' "$json")"
echo "$middle" | "$tool" picture --png "$pics/plain.png" --no-coordinates
convert "$pics/plain.png" -crop 272x272+32+32 +repage "$pics/cropped.png" 2>/dev/null
check "recognize --json without coordinates or disc: White at the bottom, White to move, guessed" \
  "default false true ${middle%% *} w - - 0 1" \
  "$(python3 -c 'import json,sys; j=json.loads(sys.argv[1]); print(j["orientationFrom"], str(j["flipped"]).lower(), str(j["sideGuessed"]).lower(), j["fen"])' "$("$tool" recognize --json "$pics/cropped.png")")"
# A game's position shown from Black's side without coordinates: read with
# White at the bottom, and said to look turned; every square worth a look.
echo 'r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 8' |
  "$tool" picture --png "$pics/turned.png" --flip --no-coordinates
check "recognize --json: a board that looks turned" "default false true 64" \
  "$(python3 -c 'import json,sys; j=json.loads(sys.argv[1]); print(j["orientationFrom"], str(j["flipped"]).lower(), str(j.get("orientationDoubtful")).lower(), sum(s.get("doubtful", False) for s in j["squares"]))' "$("$tool" recognize --json "$pics/turned.png")")"
check "recognize: a board that looks turned is said on standard error" \
  "R1BKQ2R/PPPB2PP/2N2N2/4PP2/4p3/2np1n2/pppb2pp/1kr1qb1r w - - 0 1|kalmera-fen: $pics/turned.png: read with White at the bottom (no coordinates found), though the men stand as if the board were shown from Black's side" \
  "$("$tool" recognize "$pics/turned.png" 2>"$pics/turned.err")|$(cat "$pics/turned.err")"
echo '4k3/8/8/8/8/8/8/4R1K1 b - - 0 1' | "$tool" picture --png "$pics/check.png" --no-coordinates
convert "$pics/check.png" -crop 272x272+32+32 +repage "$pics/check-cropped.png" 2>/dev/null
check "recognize: the king in check is the side to move" "4k3/8/8/8/8/8/8/4R1K1 b - - 0 1" \
  "$("$tool" recognize "$pics/check-cropped.png")"
# Several boards: a sheet of six positions as a PNG and as a PDF file.
sheet_lines=$(head -6 "$(dirname "$0")/../peers/game-positions.txt")
if command -v pdftoppm >/dev/null; then
  printf '%s\n' "$sheet_lines" | "$tool" sheet --pdf "$pics/six.pdf" --per-page 6
  pdftoppm -r 90 -png -singlefile "$pics/six.pdf" "$pics/six"
  expected=$(printf '%s\n' "$sheet_lines" | awk '{ printf "%s %s - - id \"diagram %d\";\n", $1, $2, NR }')
  check "recognize --all: every board of a page, in reading order" "$expected" \
    "$("$tool" recognize --all "$pics/six.png")"
  check "recognize a PDF file: one EPD line a board with its page and diagram" \
    "$(printf '%s\n' "$expected" | sed 's/"diagram/"page 1, diagram/')" "$("$tool" recognize "$pics/six.pdf")"
  check "recognize --json a PDF file: the id in each object" '"id":"page 1, diagram 6"' \
    "$("$tool" recognize --json "$pics/six.pdf" | tail -1 | grep -o '"id":"[^"]*"')"
  # The same page printed and scanned a little aslant, as a picture and as a PDF file of the scan.
  pdftoppm -r 150 -png -singlefile "$pics/six.pdf" "$pics/six-fine"
  convert "$pics/six-fine.png" -background white -rotate 2.2 -gravity center -extent 1240x1754 \
    -quality 85 "$pics/scan.jpg"
  python3 "$(dirname "$0")/hostile_pdf.py" scanned "$pics/scan.pdf" "$pics/scan.jpg" 1240 1754
  check "recognize --all: a page scanned aslant is straightened" "$expected" \
    "$("$tool" recognize --all "$pics/scan.jpg")"
  check "recognize a scanned PDF page aslant" \
    "$(printf '%s\n' "$expected" | sed 's/"diagram/"page 1, diagram/')" "$("$tool" recognize "$pics/scan.pdf")"
  check "recognize --json: by how much it was straightened" '"straightenedBy":2.2' \
    "$("$tool" recognize --json "$pics/scan.jpg" | grep -o '"straightenedBy":[0-9.-]*')"
fi
python3 "$(dirname "$0")/hostile_pdf.py" pages "$pics/long.pdf" 10000
python3 "$(dirname "$0")/hostile_pdf.py" encrypted "$pics/locked.pdf"
python3 "$(dirname "$0")/hostile_pdf.py" damaged "$pics/damaged.pdf"
python3 "$(dirname "$0")/hostile_pdf.py" pages "$pics/empty.pdf" 2
while IFS='|' read -r file said; do
  err=$("$tool" recognize "$pics/$file" 2>&1 >/dev/null); code=$?
  check "recognize $file: said, exit 1" "1 kalmera-fen: $pics/$file: $said" "$code $err"
done <<TABLE
long.pdf|the PDF file has 10000 pages (at most 1000 are read)
locked.pdf|the PDF file is encrypted: it needs a password
damaged.pdf|the PDF file is damaged
empty.pdf|no chess board found in the PDF file
TABLE
# Hostile PNG files within a memory limit: a text chunk that claims 2 GB,
# and a flat picture of 8,000 x 8,000 pixels (1 GB is its budget).
python3 - "$pics" <<'PYTHON'
import struct, sys, zlib
def chunk(t, d, length=None):
    return struct.pack(">I", len(d) if length is None else length) + t + d + struct.pack(">I", zlib.crc32(t + d))
def head(w, h):
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
claims = head(1, 1) + struct.pack(">I", 0x7FFFFFF0) + b"tEXtkey\0"
open(sys.argv[1] + "/claims.png", "wb").write(claims.ljust(51, b"x"))
rows = zlib.compress((b"\0" + b"\xd0" * 24000) * 8000, 9)
open(sys.argv[1] + "/flat.png", "wb").write(head(8000, 8000) + chunk(b"IDAT", rows) + chunk(b"IEND", b""))
PYTHON
err=$( (ulimit -v 400000; "$tool" recognize "$pics/claims.png") 2>&1 >/dev/null); code=$?
check "recognize a PNG whose chunk claims 2 GB: damaged within 400 MB, exit 1" \
  "1 kalmera-fen: $pics/claims.png: the picture is damaged: a PNG chunk is longer than the bytes left in the file" "$code $err"
err=$( (ulimit -v 1100000; "$tool" recognize "$pics/flat.png") 2>&1 >/dev/null); code=$?
check "recognize a flat 8,000 x 8,000 picture within 1 GB: no board, exit 1" \
  "1 kalmera-fen: $pics/flat.png: no chess board found in the picture" "$code $err"
for bad in "recognize" "recognize a b" "recognize --bogus x" "recognize --all"; do
  # shellcheck disable=SC2086
  check "usage error: $bad" 2 "$("$tool" $bad </dev/null >/dev/null 2>&1; echo $?)"
done
check "an empty file name is bad usage" 2 "$(echo "$std" | "$tool" picture --bmp '' >/dev/null 2>&1; echo $?)"
mkfifo "$pics/fifo"
err=$(echo "$std" | timeout 10 "$tool" picture --png "$pics/fifo" 2>&1 >/dev/null); code=$?
check "a FIFO as picture target is refused, not waited on" "1 kalmera-fen: $pics/fifo: Not a regular file (a FIFO)" "$code $err"
# The tool never needs a display, whatever the environment names.
echo "$std" | QT_QPA_PLATFORM=no-such-platform "$tool" picture --png "$pics/any.png" 2>/dev/null
check "picture with a bogus platform" "0 89504e47" "$? $(head -c 4 "$pics/any.png" | od -An -tx1 | tr -d ' \n')"
rm -rf "$pics"

# No input line at all is a failure; an empty line is the empty board.
for verb in "html" "picture --png /dev/null"; do
  # shellcheck disable=SC2086
  err=$("$tool" $verb 2>&1 </dev/null >/dev/null); code=$?
  check "$verb without an input line" "1 kalmera-fen: no input line: standard input is empty" "$code $err"
done
check "html of an empty line is the empty board" 1 \
  "$(echo | "$tool" html | grep -c '8/8/8/8/8/8/8/8 w - - 0 1</font>$')"
check "colours up to 24 bits are taken" 1 \
  "$(echo | "$tool" html --colours 0xFFFFFF,0,16777215 | grep -c 'bgcolor="#ffffff"')"

# Failures of the streams are said and end with 1, never as success.
for verb in "frc 5" "--help" "normalize" "html"; do
  # shellcheck disable=SC2086
  err=$(echo "$std" | "$tool" $verb 2>&1 >/dev/full); code=$?
  check "$verb into a full disk" "1 kalmera-fen: cannot write standard output: No space left on device" "$code $err"
done
for verb in "normalize" "html"; do
  # shellcheck disable=SC2086
  err=$("$tool" $verb 2>&1 </ >/dev/null); code=$?
  check "$verb reading a folder" "1 kalmera-fen: cannot read standard input: Is a directory" "$code $err"
done

# Headlines come as UTF-8 from the shell; what ISO 8859-1 lacks becomes a reference.
head='<font size="+2"><strong>Gr&ouml;&szlig;e &#9822;</strong>'
check "html headline from UTF-8" "$head" "$(echo "$std" | "$tool" html --head1 'Größe ♞' | head -c ${#head})"

# Perft: the leaves of each line's move tree; with --divide each first move
# (castling king to rook in Chess960, king to its square in standard) and the total.
check "perft per line" "$(printf '%s\n' 8902 2812)" \
  "$(printf '%s\n' "$std" '8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1' | "$tool" perft 3)"
check "perft reads the line as normalize does" 400 \
  "$(printf 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\r\n' | "$tool" perft 2)"
check "perft --divide in Chess960" "g1f1: 1|g1f2: 1|g1g2: 1|g1h1: 1|g1h2: 1|12" \
  "$(echo '6k1/8/8/8/8/8/8/6KR w H - 0 1' | "$tool" perft 1 --divide | grep -v '^h1' | paste -sd '|')"
check "perft --divide counts each first move's leaves" \
  "$(printf '%s\n' 'b6a5: 3' 'b6a6: 1' 'b6b5: 3' 'b6c5: 3' 'b6c6: 2' 'b6c7: 1' 13)" \
  "$(echo 'k7/8/1K6/8/8/8/8/8 w - - 0 1' | "$tool" perft 2 --divide)"
check "perft --divide castles e1g1 in standard" "e1c1: 1|e1g1: 1" \
  "$(echo 'r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1' | "$tool" perft --divide 1 | grep -E '^e1[cg]1' | paste -sd '|')"
check "perft of a mate" "0" "$(echo 'rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3' | "$tool" perft 3)"
for bad in "perft" "perft 0" "perft 21" "perft x" "perft 2 3" "perft 2 --fast"; do
  # shellcheck disable=SC2086
  err=$("$tool" $bad </dev/null 2>&1 >/dev/null); code=$?
  check "usage error: $bad" "2 kalmera-fen: |Try 'kalmera-fen --help'." \
    "$code $(printf '%s' "$err" | head -n 1 | cut -c1-13)|$(printf '%s\n' "$err" | sed -n 2p)"
done
err=$(echo "$std" | "$tool" perft 1 2>&1 >/dev/full); code=$?
check "perft into a full disk" "1 kalmera-fen: cannot write standard output: No space left on device" "$code $err"
err=$("$tool" perft 1 2>&1 </ >/dev/null); code=$?
check "perft reading a folder" "1 kalmera-fen: cannot read standard input: Is a directory" "$code $err"

# Arrows, coloured squares and styles: the options and a FEN line's own
# "[%cal ...] [%csl ...]" draw the same; html colours its cells and has no
# arrows; latex writes the chessboard package's keys; bad values are usage.
looks=$(mktemp -d)
for bad in "picture --png x --arrows e2e9" "picture --png x --arrows e2e2" \
           "picture --png x --arrows e2e4:purple" "picture --png x --squares z9" \
           "picture --png x --arrows" "picture --png x --pieces nonesuch" \
           "picture --png x --style sepia" "html --pieces dejavu" "html --style grey" \
           "html --no-coordinates" "latex --pieces dejavu" "latex --style grey"; do
  # shellcheck disable=SC2086
  err=$(echo "$std" | "$tool" $bad 2>&1 >/dev/null); code=$?
  check "usage error: $bad" "2 kalmera-fen: " "$code $(printf '%s' "$err" | head -n 1 | cut -c1-13)"
done
check "usage error names the arrow" "kalmera-fen: --arrows takes moves such as e2e4 or g1f3:red, not 'e2e9'" \
  "$(echo "$std" | "$tool" picture --png x --arrows e2e9 2>&1 | head -n 1)"
check "usage error names the colour" \
  "kalmera-fen: --squares takes the colours green, red, blue and yellow, not 'pink'" \
  "$(echo "$std" | "$tool" picture --png x --squares d5:pink 2>&1 | head -n 1)"
same() { cmp -s "$1" "$2" && echo same || echo different; }
echo "$std" | "$tool" picture --png "$looks/plain.png"
echo "$std" | "$tool" picture --png "$looks/arrows.png" --arrows e2e4,g1f3:red --squares d5:blue,e4
echo "$std [%cal Ge2e4,Rg1f3] [%csl Bd5,Ge4]" | "$tool" picture --png "$looks/own.png"
check "picture: the line's own annotations are the options'" same "$(same "$looks/own.png" "$looks/arrows.png")"
check "picture: annotations show" different "$(same "$looks/plain.png" "$looks/arrows.png")"
echo "$std" | "$tool" picture --png "$looks/red.png" --arrows e2e4:red,g1f3:red --squares d5:blue,e4
check "picture: the arrow's colour shows" different "$(same "$looks/red.png" "$looks/arrows.png")"
if command -v convert >/dev/null; then
  pixel() { convert "$1" -format "%[fx:int(255*p{$2}.r)],%[fx:int(255*p{$2}.g)],%[fx:int(255*p{$2}.b)]" info:; }
  # e3's centre under the green arrow, over the dark square (231,189,165).
  check "picture: the arrow over e3, half transparent" "113,170,87" "$(pixel "$looks/arrows.png" 185,219)"
  # d5's free edge column: the dark square halfway to blue (24,100,216): d5 is light (255,239,206).
  check "picture: d5 tinted blue" "140,170,211" "$(pixel "$looks/arrows.png" 135,151)"
  for style in "grey 230,230,230 155,155,155" "newspaper 255,255,255 255,255,255" "colour 255,239,206 231,189,165"; do
    read -r name light dark <<<"$style"
    echo "$std" | "$tool" picture --png "$looks/$name.png" --style "$name"
    check "picture --style $name: a light square" "$light" "$(pixel "$looks/$name.png" 48,116)"
    [ "$name" = newspaper ] || check "picture --style $name: a dark square" "$dark" "$(pixel "$looks/$name.png" 82,116)"
  done
  echo "$std" | "$tool" picture --png "$looks/nolabels.png" --no-coordinates
  check "picture --no-coordinates: no rank digit" "222,239,239" "$(pixel "$looks/nolabels.png" 16,49)"
fi
check "picture --style colour is the picture of old" same "$(same "$looks/colour.png" "$looks/plain.png")"
echo "$std" | "$tool" picture --png "$looks/dejavu.png" --pieces dejavu
check "picture --pieces dejavu: other men" different "$(same "$looks/dejavu.png" "$looks/plain.png")"
echo "$std" | "$tool" picture --png "$looks/kalmera.png" --pieces kalmera
check "picture --pieces kalmera is our own" same "$(same "$looks/kalmera.png" "$looks/plain.png")"
echo "$std" | "$tool" picture --svg "$looks/arrows.svg" --arrows e2e4
check "svg: the arrow half transparent" 1 "$(grep -c 'fill-opacity="0.58' "$looks/arrows.svg")"
# HTML: the cell of a coloured square takes its tint; an arrow changes nothing.
check "html: arrows change nothing" same \
  "$(cmp -s <(echo "$std" | "$tool" html) <(echo "$std" | "$tool" html --arrows e2e4) && echo same || echo different)"
check "html: d5's cell tinted red" 1 "$(echo "$std" | "$tool" html --squares d5:red | grep -c '<td bgcolor="#ec8877"></td>')"
latex=$(echo "$std" | "$tool" latex --arrows e2e4:blue --squares d5 --no-coordinates --flip)
check "latex: the package's keys" ",showmover=true,label=false,color={rgb,255:red,143;green,206;blue,144},colorbackfields={d5},pgfstyle=straightmove,arrow=to,linewidth=0.3ex,opacity=0.6,color={rgb,255:red,24;green,100;blue,216},markmoves={e2-e4},inverse]" \
  "$(grep -o ',showmover.*' <<<"$latex")"
check "latex: the FEN has no annotations" 1 "$(echo "$std [%cal Ge2e4]" | "$tool" latex | grep -c "setfen=$std,")"
# A sheet takes them too, and an EPD line's c9.
printf '%s\n' '4k3/8/8/8/8/8/4P3/4K3 w - - c9 "[%cal Ge2e4] [%csl Rd5]"; id "drawn";' |
  "$tool" sheet --pdf "$looks/c9.pdf" --per-page 1 --style newspaper --pieces skak --no-coordinates
check "sheet with c9 and a style" "%PDF" "$(head -c 4 "$looks/c9.pdf")"
printf '%s\n' '4k3/8/8/8/8/8/4P3/4K3 w - - id "drawn";' |
  "$tool" sheet --pdf "$looks/no-c9.pdf" --per-page 1 --style newspaper --pieces skak --no-coordinates
if command -v pdftoppm >/dev/null; then
  pdftoppm -r 30 -png -singlefile "$looks/c9.pdf" "$looks/c9"
  pdftoppm -r 30 -png -singlefile "$looks/no-c9.pdf" "$looks/no-c9"
  check "sheet: the c9 annotations are drawn" different "$(same "$looks/c9.png" "$looks/no-c9.png")"
fi
rm -rf "$looks"

finish
