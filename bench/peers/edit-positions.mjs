// Positions made from the FEN lines of standard input by random edits: one
// to three of a man added, a man taken off, a man moved, the other side to
// move. Prints N of them, taking the lines in turn; the same ones on every
// run (a generator of our own with a fixed seed). Most are legal; the
// caller keeps those it wants.
//   node edit-positions.mjs N < positions.fen
import { readFileSync } from 'node:fs';

const wanted = Number(process.argv[2]);
const lines = readFileSync(0, 'latin1').split('\n').filter((line) => line.length > 0);

let seed = 960;
const random = (n) => {
  seed = (Math.imul(seed, 1103515245) + 12345) >>> 0;
  return Math.floor((seed / 2 ** 32) * n);
};

const expand = (placement) => {
  const squares = [];
  for (const c of placement) {
    if (c === '/') continue;
    if (c >= '1' && c <= '8') squares.push(...'.'.repeat(Number(c)));
    else squares.push(c);
  }
  return squares;
};
const compress = (squares) => {
  const ranks = [];
  for (let row = 0; row < 8; ++row) {
    const text = squares.slice(row * 8, row * 8 + 8).join('');
    ranks.push(text.replace(/\.+/g, (run) => String(run.length)));
  }
  return ranks.join('/');
};

function edited(fen) {
  const fields = fen.split(' ');
  const squares = expand(fields[0]);
  const all = (test) => squares.flatMap((c, i) => (test(c) ? [i] : []));
  for (let edits = 1 + random(3); edits > 0; --edits) {
    const kind = random(4);
    if (kind === 0) {
      const empty = all((c) => c === '.');
      if (empty.length) squares[empty[random(empty.length)]] = 'PNBRQpnbrq'[random(10)];
    } else if (kind === 1) {
      const men = all((c) => c !== '.' && c !== 'K' && c !== 'k');
      if (men.length) squares[men[random(men.length)]] = '.';
    } else if (kind === 2) {
      const men = all((c) => c !== '.');
      const from = men[random(men.length)], to = random(64);
      if (squares[to] !== 'K' && squares[to] !== 'k' && to !== from) {
        squares[to] = squares[from];
        squares[from] = '.';
      }
    } else {
      fields[1] = fields[1] === 'w' ? 'b' : 'w';
    }
  }
  fields[0] = compress(squares);
  return fields.join(' ');
}

const out = [];
for (let i = 0; out.length < wanted; ++i) out.push(edited(lines[i % lines.length]));
process.stdout.write(out.map((line) => line + '\n').join(''));
