#!/bin/sh
# Answers the handshake, then never gives a best move, not even when stopped.
while IFS= read -r line; do
  case $line in
    uci) echo "id name Hanging Engine"; echo "uciok" ;;
    isready) echo "readyok" ;;
  esac
done
