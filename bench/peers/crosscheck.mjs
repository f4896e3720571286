// Cross-checks the castling notations of kalmera-fen against the chessops
// library: (1) our X-FEN and Shredder-FEN, parsed by chessops, name the same
// castling rook squares as the rights our record counts; (2) chessops' own FEN
// of each position, read by kalmera-fen, gives the same rights.
//   node crosscheck.mjs KALMERA_FEN POSITIONS_FILE
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { parseFen, makeFen } from 'chessops/fen';
import { makeSquare } from 'chessops/util';

const [tool, file] = process.argv.slice(2);
const positions = readFileSync(file, 'latin1').split('\n').filter((line) => line.length > 0);

function run(args, lines) {
  const r = spawnSync(tool, args, { input: lines.join('\n') + '\n', encoding: 'latin1', maxBuffer: 1 << 30 });
  if (r.status !== 0) throw new Error(`${tool} ${args.join(' ')}: exit ${r.status} ${r.stderr}`);
  return r.stdout.split('\n').slice(0, -1);
}

// The castling rook squares of the rights our record counts.
function ours(json) {
  const o = JSON.parse(json);
  const left = o.extended ? o.rookLeft : 'a';
  const right = o.extended ? o.rookRight : 'h';
  const squares = [];
  const counts = (side) => o.rights[side] && !o.errors[side];
  if (counts('whiteLeft')) squares.push(left + '1');
  if (counts('whiteRight')) squares.push(right + '1');
  if (counts('blackLeft')) squares.push(left + '8');
  if (counts('blackRight')) squares.push(right + '8');
  return squares.sort().join(' ') || '-';
}

function theirs(fen) {
  const setup = parseFen(fen);
  if (setup.isErr) return `chessops refuses it (${setup.error.message})`;
  return [...setup.value.castlingRights].map(makeSquare).sort().join(' ') || '-';
}

const json = run(['--json'], positions);
const xfen = run(['--dialect', 'xfen'], positions);
const shredder = run(['--dialect', 'shredder'], positions);
const chessopsFens = xfen.map((fen) => {
  const setup = parseFen(fen);
  return setup.isErr ? fen : makeFen(setup.value);
});
const back = run(['--json'], chessopsFens);

let failures = 0;
const agree = { xfen: 0, shredder: 0, back: 0 };
const report = (what, i, want, got, text) => {
  if (++failures <= 10) console.log(`DIFF ${what}: ${positions[i]}\n  text ${text}\n  want ${want}\n  got  ${got}`);
};
for (let i = 0; i < positions.length; ++i) {
  const want = ours(json[i]);
  if (theirs(xfen[i]) === want) ++agree.xfen; else report('X-FEN', i, want, theirs(xfen[i]), xfen[i]);
  if (theirs(shredder[i]) === want) ++agree.shredder;
  else report('Shredder-FEN', i, want, theirs(shredder[i]), shredder[i]);
  if (ours(back[i]) === theirs(chessopsFens[i])) ++agree.back;
  else report('chessops FEN read back', i, theirs(chessopsFens[i]), ours(back[i]), chessopsFens[i]);
}
console.log(`${positions.length} positions: X-FEN agrees ${agree.xfen}, Shredder-FEN ${agree.shredder}, ` +
            `chessops' own FEN read back ${agree.back}`);
process.exit(failures === 0 ? 0 : 1);
