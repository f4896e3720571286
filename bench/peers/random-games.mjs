// Positions of random games: from each FEN line of standard input, random
// legal moves by chessops, and the position after every STEP plies up to
// PLIES (a game that ends early gives fewer). The same games on every run (a
// generator of our own with a fixed seed). FEN as chessops writes it.
//   node random-games.mjs PLIES STEP < starts.fen
import { readFileSync } from 'node:fs';
import { makeFen, parseFen } from 'chessops/fen';
import { Chess } from 'chessops/chess';
import { SquareSet } from 'chessops/squareSet';

const [plies, step] = process.argv.slice(2).map(Number);
const lines = readFileSync(0, 'latin1').split('\n').filter((line) => line.length > 0);

let seed = 518;
const random = (n) => {
  seed = (Math.imul(seed, 1103515245) + 12345) >>> 0;
  return Math.floor((seed / 2 ** 32) * n);
};

const out = [];
for (const line of lines) {
  const pos = Chess.fromSetup(parseFen(line).unwrap()).unwrap();
  for (let ply = 1; ply <= plies; ++ply) {
    const moves = [];
    for (const [from, dests] of pos.allDests()) {
      for (const to of dests) {
        const promotes = pos.board.pawn.has(from) && SquareSet.backranks().has(to);
        moves.push({ from, to, promotion: promotes ? 'queen' : undefined });
      }
    }
    if (moves.length === 0) break;
    pos.play(moves[random(moves.length)]);
    if (ply % step === 0) out.push(makeFen(pos.toSetup()));
  }
}
process.stdout.write(out.map((line) => line + '\n').join(''));
