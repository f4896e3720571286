#!/usr/bin/env bash
# The solve verb as a script uses it. "fakes": with the fake engines of
# fakes/ (one for each fault), the choice of engine, the order of the output
# and bad usage. "stockfish": with Debian's stockfish on positions with known
# mates; skipped (77) when it is not installed.
# Prints "N passed, N failed" and fails when any case failed.
set -u
mode=${1:?fakes or stockfish}
tool=${2:?path to kalmera-fen}
here=$(cd "$(dirname "$0")" && pwd)
fakes=$here/fakes
. "$here/../support/checks.sh"
make_work_folder
unset KALMERA_ENGINE

start='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
backRank='6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1'
slow='4k3/8/8/8/8/8/8/4K2R w K - 0 1'

if [ "$mode" = fakes ]; then
  check "solution operations" \
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; pv e4 e5 Nf3; ce 35; acd 2;" \
    "$(echo "$start" | "$tool" solve --engine "$fakes/good.sh")"
  check "other operations kept, ours replaced" \
    '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - id "back rank"; bm Ra8#; c0 "old"; pv Ra8#; ce 32766; acd 1; dm 1;' \
    "$(echo '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - id "back rank"; bm Kf1; c0 "old";' |
       "$tool" solve --engine "$fakes/good.sh")"
  check "check comment" \
    '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - bm Ra8#; pv Ra8#; ce 32766; acd 1; dm 1; c8 "unique";' \
    "$(echo "$backRank" | "$tool" solve --check --engine "$fakes/good.sh")"

  # What went to the engine: the search asked for, and nothing of an illegal line.
  log=$work/sent.log
  FAKE_ENGINE_LOG=$log "$tool" solve --movetime 250 --multipv 2 --engine "$fakes/good.sh" \
    > /dev/null 2>&1 <<< "$(printf '%s\n' '8/8/8/8/8/8/8/8 w - - 0 1' "$start")"
  check "commands sent" \
    "$(printf '%s\n' uci 'setoption name Threads value 1' 'setoption name Hash value 16' \
       ucinewgame 'setoption name MultiPV value 2' isready "position fen $start" \
       'go movetime 250' quit)" \
    "$(cat "$log")"

  check "engine from KALMERA_ENGINE" "bm e4;" \
    "$(echo "$start" | KALMERA_ENGINE=$fakes/good.sh "$tool" solve | grep -o 'bm e4;')"
  check "--engine before KALMERA_ENGINE" "bm e4;" \
    "$(echo "$start" | KALMERA_ENGINE=/nowhere "$tool" solve --engine "$fakes/good.sh" |
       grep -o 'bm e4;')"
  check "engine by name in PATH" "bm e4;" \
    "$(echo "$start" | PATH=$fakes:$PATH "$tool" solve --engine good.sh | grep -o 'bm e4;')"

  # Lines that are no search pass unchanged, each said with its number.
  input=$(printf '%s\n' '# puzzles' '8/8/8/8/8/8/8/8 w - - 0 1 id "empty";' '' 'hello' "$start" \
          'rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3')
  out=$(echo "$input" | "$tool" solve --engine "$fakes/good.sh" 2> "$work/err"; echo "exit $?")
  check "lines passed through" \
    "$(printf '%s\n' '# puzzles' '8/8/8/8/8/8/8/8 w - - 0 1 id "empty";' '' 'hello' \
       'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; pv e4 e5 Nf3; ce 35; acd 2;' \
       'rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3' 'exit 0')" "$out"
  check "passed lines said" \
    "$(printf '%s\n' 'kalmera-fen: line 2: not analysed: White and Black have no king.' \
       'kalmera-fen: line 4: not a position' \
       'kalmera-fen: line 6: not analysed: White is checkmated.')" "$(cat "$work/err")"

  # Two engines side by side: the slow first line still comes first.
  check "input order with two engines" \
    "$(printf '%s\n' 'bm Rh7;' 'bm e4;' 'bm Ra8#;' 'bm e4;')" \
    "$(printf '%s\n' "$slow" "$start" "$backRank" "$start" |
       "$tool" solve --threads 2 --engine "$fakes/good.sh" | grep -o 'bm [^;]*;')"

  # Faults: the line passes unchanged, the reason is said, the run fails.
  fault() {  # name engine options expected-stderr
    local out
    out=$(echo "$start" | "$tool" solve $3 --engine "$fakes/$2" 2> "$work/err"; echo "exit $?")
    check "$1: line unchanged" "$(printf '%s\n' "$start" 'exit 1')" "$out"
    check "$1: said" "$4" "$(cat "$work/err")"
  }
  fault "dies" dies.sh "" \
    "kalmera-fen: line 1: The engine ended unexpectedly (exit status 3)."
  fault "hangs" hangs.sh "--movetime 100" \
    "kalmera-fen: line 1: The engine gave no best move within 3 seconds."
  fault "nonsense" nonsense.sh "" \
    "kalmera-fen: line 1: The engine wrote nonsense: bestmove \"xyz\" is no move in \"bestmove xyz\"."

  # An engine that dies is started anew for the next line.
  mkdir "$work/state"
  out=$(printf '%s\n' "$start" "$backRank" | FAKE_ENGINE_STATE=$work/state \
        "$tool" solve --engine "$fakes/dies-once.sh" 2> "$work/err"; echo "exit $?")
  check "restart after death" \
    "$(printf '%s\n' "$start" '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - bm Ra8#; pv Ra8#; ce 32766; acd 1; dm 1;' 'exit 1')" \
    "$out"

  # No engine at all, or one that never answers: one line, exit 1, no output.
  check "missing engine" "kalmera-fen: cannot find the engine '/nowhere/stockfish' 1" \
    "$(echo "$start" | "$tool" solve --engine /nowhere/stockfish 2>&1 >/dev/null) $?"
  check "missing engine: no output" "0" \
    "$(echo "$start" | "$tool" solve --engine /nowhere/stockfish 2>/dev/null | wc -c)"
  check "missing engine from KALMERA_ENGINE" "kalmera-fen: cannot find the engine '/nowhere' 1" \
    "$(echo "$start" | KALMERA_ENGINE=/nowhere "$tool" solve 2>&1 >/dev/null) $?"
  check "not an engine" \
    "kalmera-fen: $fakes/no-uciok.sh: The engine did not answer \"uci\" within 5 seconds. 1" \
    "$(echo "$start" | "$tool" solve --engine "$fakes/no-uciok.sh" 2>&1 >/dev/null) $?"

  usage() {  # name expected-problem arguments...
    local name=$1 expected=$2
    shift 2
    check "usage: $name" "$(printf 'kalmera-fen: %s\n2' "$expected")" \
      "$(echo "$start" | "$tool" solve "$@" 2>&1 >/dev/null | head -1; echo "${PIPESTATUS[1]}")"
  }
  usage "depth 0" "--depth takes a number from 1 to 99" --depth 0
  usage "depth missing" "--depth takes a number from 1 to 99" --depth
  usage "both limits" "--depth and --movetime cannot be given together" --depth 3 --movetime 9
  usage "threads" "--threads takes a number from 1 to 64" --threads 65
  usage "unknown option" "unknown option '--fast'" --fast
  usage "argument" "unexpected argument 'x'" x
  finish
  exit
fi

# With the real engine: the key and the mate count of known mates, and a cook.
engine=$(command -v stockfish || { [ -x /usr/games/stockfish ] && echo /usr/games/stockfish; })
if [ -z "$engine" ]; then
  echo "stockfish is not installed: skipped"
  exit 77
fi
# Each line: the position, then what solve --check must write. The positions
# are set up for this table; the mating lines, checked by hand, are beside them.
table=(
  # Back-rank mate: 1. Ra8#.
  '6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1' 'bm Ra8#; pv Ra8#; ce 32766; acd 12; dm 1; c8 "unique";'
  # Scholar's mate: 1. Qxf7#.
  'r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4' 'bm Qxf7#; pv Qxf7#; ce 32766; acd 12; dm 1; c8 "unique";'
  # Fool's mate, Black to move: 1... Qh4#.
  'rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2' 'bm Qh4#; pv Qh4#; ce 32766; acd 12; dm 1; c8 "unique";'
  # Smothered mate: 1. Qg8+ Rxg8 2. Nf7#.
  '5r1k/6pp/7N/3Q4/8/8/8/6K1 w - - 0 1' 'bm Qg8+; pv Qg8+ Rxg8 Nf7#; ce 32764; acd 12; dm 2; c8 "unique";'
  # Back rank against two rooks: 1. Re8+ Rxe8 2. Rxe8+ Rxe8 3. Qxe8#.
  '2rr2k1/5ppp/8/8/8/4R3/4RPPP/4Q1K1 w - - 0 1' 'bm Re8+; pv Re8+ Rxe8 Rxe8+ Rxe8 Qxe8#; ce 32762; acd 12; dm 3; c8 "unique";'
)
for ((i = 0; i < ${#table[@]}; i += 2)); do
  position=${table[i]}
  fields=$(echo "$position" | cut -d' ' -f1-4)
  out=$(echo "$position" | "$tool" solve --depth 12 --check --engine "$engine" 2>&1 |
        sed -e 's/ hmvc [0-9]*;//' -e 's/ fmvn [0-9]*;//')
  check "mate: $fields" "$fields ${table[i + 1]}" "$out"
done

# Cooks: two keys that mate as soon. The rook ladder 1. Ra7 Kg8 2. Rb8# or
# 1. Rb7 Kg8 2. Ra8#; and two rooks on the back rank, 1. Ra8# or 1. Rb8#.
# Stockfish 15.1 searches its later root moves with reductions and finds the
# ladder's second key only from depth 16 on: the cooks are checked at 18.
cook() {  # position keys...
  local position=$1
  shift
  local comment
  comment=$(echo "$position" | "$tool" solve --depth 18 --check --engine "$engine" |
            grep -o 'c8 "[^"]*"')
  local expected=no
  for first in "$@"; do
    for second in "$@"; do
      [ "$first" != "$second" ] && [ "$comment" = "c8 \"cook: $first $second\"" ] && expected=yes
    done
  done
  check "cook: $position ($comment)" yes "$expected"
}
cook '7k/8/R7/1R6/8/8/8/6K1 w - - 0 1' Ra7 Rb7
cook '6k1/5ppp/8/8/8/8/5PPP/RR4K1 w - - 0 1' 'Ra8#' 'Rb8#'

# The whole table in one run, two engines side by side, in the input order.
all=$(for ((i = 0; i < ${#table[@]}; i += 2)); do echo "${table[i]}"; done)
check "table with two engines" \
  "$(printf '%s\n' 'dm 1;' 'dm 1;' 'dm 1;' 'dm 2;' 'dm 3;')" \
  "$(echo "$all" | "$tool" solve --depth 12 --threads 2 --engine "$engine" | grep -o 'dm [0-9]*;')"
finish
