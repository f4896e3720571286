// Checks kalmera-fen's legality rules against the chessops library.
//   node legality.mjs KALMERA_FEN REAL_POSITIONS_FILE...
// The positions: those of real games, each also mirrored and turned, and
// positions made from them by random edits (pieces added, removed and moved,
// the side to move switched, an e.p. file set), at least 50,000 in all.
// (1) No position of a real game gets any problem from us. (2) Where chessops
// can judge, our `kings`, `oppositeCheck`, `impossibleCheck` and `material`
// agree with its validate() (Kings, OppositeCheck), isImpossibleCheck() and
// isStandardMaterial().
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { parseFen } from 'chessops/fen';
import { Chess, IllegalSetup, isImpossibleCheck, isStandardMaterial } from 'chessops/chess';

const [tool, ...files] = process.argv.slice(2);

function run(args, lines) {
  const r = spawnSync(tool, args, { input: lines.join('\n') + '\n', encoding: 'latin1', maxBuffer: 1 << 30 });
  if (r.status !== 0) throw new Error(`${tool} ${args.join(' ')}: exit ${r.status} ${r.stderr}`);
  return r.stdout.split('\n').slice(0, -1);
}

// The real positions as they are, mirrored, turned, and both.
const real = [];
for (const file of files) {
  const lines = readFileSync(file, 'latin1').split('\n').filter((line) => line.length > 0);
  for (const transform of [[], ['--mirror'], ['--turn'], ['--mirror', '--turn']]) {
    real.push(...run(transform, lines));
  }
}

// A small generator of our own, so that every run edits the same way.
let seed = 20261209;
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
    let text = '', empty = 0;
    for (const c of squares.slice(row * 8, row * 8 + 8)) {
      if (c === '.') ++empty;
      else { if (empty) text += empty; empty = 0; text += c; }
    }
    ranks.push(text + (empty ? empty : ''));
  }
  return ranks.join('/');
};

function edited(fen) {
  const fields = fen.split(' ');
  const squares = expand(fields[0]);
  const occupied = () => squares.flatMap((c, i) => (c === '.' ? [] : [i]));
  for (let edits = 1 + random(3); edits > 0; --edits) {
    const kind = random(5);
    if (kind === 0) {  // a piece added
      const empty = squares.flatMap((c, i) => (c === '.' ? [i] : []));
      if (empty.length) squares[empty[random(empty.length)]] = 'PNBRQKpnbrqk'[random(12)];
    } else if (kind === 1) {  // a piece removed
      const men = occupied();
      if (men.length) squares[men[random(men.length)]] = '.';
    } else if (kind === 2) {  // a piece moved
      const men = occupied();
      if (men.length) {
        const from = men[random(men.length)], to = random(64);
        if (to !== from) { squares[to] = squares[from]; squares[from] = '.'; }
      }
    } else if (kind === 3) {  // the other side to move
      fields[1] = fields[1] === 'w' ? 'b' : 'w';
    } else {  // an e.p. file, with the clock as it was or reset
      fields[3] = 'abcdefgh'[random(8)] + (fields[1] === 'w' ? '6' : '3');
      if (random(2)) fields[4] = '0';
    }
  }
  fields[0] = compress(squares);
  return fields.join(' ');
}

const wanted = 50000;
const made = [];
for (let i = 0; made.length < Math.max(42000, wanted - real.length); ++i) {
  made.push(edited(real[i % real.length]));
}
const positions = [...real, ...made];
const judged = run(['check'], positions).map((line) => {
  const [fen, verdict] = line.split('\t');
  // The rules broken; "legal", and the end of the game named after it, are none.
  const keys = verdict.split(',').filter((k) => !['legal', 'checkmate', 'stalemate'].includes(k));
  return { fen, problems: new Set(keys) };
});

let failures = 0;
const report = (what, fen, ours, theirs) => {
  if (++failures <= 10) console.log(`DIFF ${what}: ${fen}\n  ours ${ours}, chessops ${theirs}`);
};

const realFlagged = judged.slice(0, real.length).filter((j) => j.problems.size > 0);
for (const j of realFlagged.slice(0, 10)) console.log(`REAL POSITION FLAGGED: ${j.fen} ${[...j.problems]}`);
failures += realFlagged.length;

const counts = { kings: [0, 0], oppositeCheck: [0, 0], impossibleCheck: [0, 0], material: [0, 0] };
let otherEnPassant = 0, unreadable = 0;
const compare = (rule, fen, ours, theirs) => {
  ++counts[rule][0];
  if (ours === theirs) ++counts[rule][1];
  else report(rule, fen, ours, theirs);
};
for (const { fen, problems } of judged) {
  const setup = parseFen(fen);
  if (setup.isErr) { ++unreadable; report('readable', fen, 'reads it', setup.error.message); continue; }
  const pos = Chess.default();
  pos.setupUnchecked(setup.value);
  compare('material', fen, problems.has('material'), !isStandardMaterial(pos));
  if (pos.board.occupied.isEmpty()) continue;  // chessops: "empty", not a verdict on kings
  const error = pos.validate().isErr ? pos.validate().error.message : undefined;
  compare('kings', fen, problems.has('kings'), error === IllegalSetup.Kings);
  if (problems.has('kings')) continue;  // the check rules need both kings
  compare('oppositeCheck', fen, problems.has('oppositeCheck'), error === IllegalSetup.OppositeCheck);
  // chessops drops an e.p. target whose pawn's start square is occupied (we
  // keep it and flag it): it then judges another position.
  const ours = fen.split(' ')[3];
  const theirs = pos.epSquare === undefined ? '-' : 'abcdefgh'[pos.epSquare % 8] + (Math.floor(pos.epSquare / 8) + 1);
  if (ours !== theirs) { ++otherEnPassant; continue; }
  compare('impossibleCheck', fen, problems.has('impossibleCheck'), isImpossibleCheck(pos));
}

const flaggedBy = (key) => judged.filter((j) => j.problems.has(key)).length;
console.log(`${positions.length} positions: ${real.length} of real games (mirrored and turned), ` +
            `${made.length} made from them by random edits`);
console.log(`real positions with a problem: ${realFlagged.length}`);
for (const [rule, [compared, agreed]] of Object.entries(counts)) {
  console.log(`${rule}: agrees with chessops on ${agreed} of ${compared} (flagged ${flaggedBy(rule)})`);
}
console.log(`impossibleCheck not compared: ${otherEnPassant} positions whose e.p. target chessops drops`);
for (const key of ['pawnCaptures', 'enPassantClock', 'enPassantOrigin']) {
  console.log(`${key}: flagged ${flaggedBy(key)} (no peer has this rule)`);
}
if (positions.length < wanted) { console.log(`FAIL only ${positions.length} positions`); ++failures; }
if (unreadable) console.log(`chessops could not read ${unreadable} of our FENs`);
process.exit(failures === 0 ? 0 : 1);
