#!/bin/sh
# Answers the handshake, then writes a best move that is no move.
while IFS= read -r line; do
  case $line in
    uci) echo "id name Confused Engine"; echo "uciok" ;;
    isready) echo "readyok" ;;
    go*) echo "info depth 1 score cp 12 pv e2e4"; echo "bestmove xyz" ;;
  esac
done
