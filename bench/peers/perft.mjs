// Perft in chessops, the same count as `kalmera-fen perft D`: for each FEN
// line of standard input, the leaves of its move tree D plies deep, counted
// at the last ply from the move lists without playing them (as ours does).
// With --time, each count is followed by a tab, the seconds it took and the
// nodes a second.
//   node perft.mjs D [--time] < positions.fen
import { readFileSync } from 'node:fs';
import { parseFen } from 'chessops/fen';
import { Chess } from 'chessops/chess';
import { SquareSet } from 'chessops/squareSet';

const depth = Number(process.argv[2]);
const timed = process.argv.includes('--time');
const promotionRanks = SquareSet.backranks();
const roles = ['queen', 'rook', 'bishop', 'knight'];

function perft(pos, plies) {
  let nodes = 0;
  for (const [from, dests] of pos.allDests()) {
    const promotes = pos.board.pawn.has(from) && dests.intersects(promotionRanks);
    if (plies === 1) {
      nodes += promotes ? 4 * dests.size() : dests.size();
      continue;
    }
    for (const to of dests) {
      for (const promotion of promotes ? roles : [undefined]) {
        const child = pos.clone();
        child.play({ from, to, promotion });
        nodes += perft(child, plies - 1);
      }
    }
  }
  return nodes;
}

const lines = readFileSync(0, 'latin1').split('\n').filter((line) => line.length > 0);
for (const line of lines) {
  const pos = Chess.fromSetup(parseFen(line).unwrap()).unwrap();
  const start = process.hrtime.bigint();
  const nodes = depth > 0 ? perft(pos, depth) : 1;
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  console.log(timed ? `${nodes}\t${seconds.toFixed(3)}\t${Math.round(nodes / seconds)}` : `${nodes}`);
}
