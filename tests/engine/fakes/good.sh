#!/bin/sh
# A well-behaved UCI engine that knows a few positions by heart and answers
# them without a search; any other position gets "bestmove (none)", which a
# program that sent it must take for nonsense. Every line it reads goes to
# $FAKE_ENGINE_LOG when that is set, so that a test can see what was sent.
log=${FAKE_ENGINE_LOG:-/dev/null}
fen=
searching=
answer() {
  case $fen in
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1")
      echo "info depth 1 seldepth 2 multipv 1 score cp 30 nodes 20 nps 20000 time 1 pv e2e4 e7e5"
      echo "info depth 2 seldepth 3 multipv 1 score cp 35 nodes 80 nps 40000 time 2 pv e2e4 e7e5 g1f3"
      best="e2e4 ponder e7e5" ;;
    "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1")
      echo "info depth 1 seldepth 1 multipv 1 score mate 1 nodes 39 nps 19500 time 2 pv a1a8"
      best=a1a8 ;;
    # A position that takes its time, so that later ones finish first.
    "4k3/8/8/8/8/8/8/4K2R w K - 0 1")
      sleep 0.3
      echo "info depth 1 seldepth 1 multipv 1 score cp 500 nodes 9 nps 9000 time 1 pv h1h7"
      best=h1h7 ;;
    *)
      best="(none)" ;;
  esac
}
while IFS= read -r line; do
  echo "$line" >> "$log"
  case $line in
    uci)
      echo "id name Fake Engine"
      echo "id author The Kalmera tests"
      echo "option name Threads type spin default 1 min 1 max 64"
      echo "option name Hash type spin default 16 min 1 max 1024"
      echo "option name MultiPV type spin default 1 min 1 max 10"
      echo "option name UCI_Chess960 type check default false"
      echo "uciok" ;;
    isready) echo "readyok" ;;
    "position fen "*) fen=${line#position fen } ;;
    *searchmoves*)
      # The first of the moves it may search, as the best of them.
      moves=${line#*searchmoves }
      echo "info depth 1 seldepth 1 multipv 1 score cp 0 nodes 1 nps 1000 time 1 pv ${moves%% *}"
      echo "bestmove ${moves%% *}" ;;
    "go infinite"*)
      # Until stopped, as the protocol wants it.
      answer
      searching=1 ;;
    go*)
      answer
      echo "bestmove $best" ;;
    stop)
      if [ -n "$searching" ]; then
        echo "bestmove $best"
        searching=
      fi ;;
    quit) exit 0 ;;
  esac
done
