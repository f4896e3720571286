// Prints the legal moves of each FEN line of standard input by the chessops
// library, one line each: the moves in UCI, sorted, separated by blanks, in
// the castling form of kalmera-fen (king to rook in Chess960 positions, king
// to its g- or c-file square in standard ones); "unreadable: ..." for a line
// chessops refuses.
//   node movelist.mjs < positions.fen
// chessops gives castling as king to rook always. A position counts as
// Chess960 as kalmera-fen's reader decides it: some castling rook off its
// corner, or its king off the e-file.
import { readFileSync } from 'node:fs';
import { parseFen } from 'chessops/fen';
import { Chess } from 'chessops/chess';
import { makeUci, squareFile, squareRank } from 'chessops/util';

function isChess960(pos) {
  for (const rook of pos.castles.castlingRights) {
    const colour = squareRank(rook) === 0 ? 'white' : 'black';
    const king = pos.board.kingOf(colour);
    const corner = king !== undefined && squareFile(rook) > squareFile(king) ? 7 : 0;
    if (king === undefined || squareFile(king) !== 4 || squareFile(rook) !== corner) return true;
  }
  return false;
}

function legalMoves(fen) {
  const setup = parseFen(fen);
  if (setup.isErr) return `unreadable: ${setup.error.message}`;
  const position = Chess.fromSetup(setup.value);
  if (position.isErr) return `unreadable: ${position.error.message}`;
  const pos = position.value;
  const chess960 = isChess960(pos);
  const moves = [];
  for (const [from, dests] of pos.allDests()) {
    const piece = pos.board.get(from);
    for (const to of dests) {
      const castling = piece.role === 'king' && pos.board.rook.has(to) && pos.board[piece.color].has(to);
      if (castling && !chess960) {
        moves.push(makeUci({ from, to: (to & ~7) + (squareFile(to) > squareFile(from) ? 6 : 2) }));
      } else if (piece.role === 'pawn' && (squareRank(to) === 0 || squareRank(to) === 7)) {
        for (const promotion of ['queen', 'rook', 'bishop', 'knight']) moves.push(makeUci({ from, to, promotion }));
      } else {
        moves.push(makeUci({ from, to }));
      }
    }
  }
  return moves.sort().join(' ');
}

const lines = readFileSync(0, 'latin1').split('\n');
if (lines[lines.length - 1] === '') lines.pop();
process.stdout.write(lines.map((line) => legalMoves(line) + '\n').join(''));
