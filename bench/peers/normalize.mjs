// The peer's side of the batch figure: what `kalmera-fen normalize` does, done
// with chessops: every line of standard input parsed as FEN and written back
// (chessops' own FEN, or "error" for a line it refuses), one line each.
//   node normalize.mjs < POSITIONS > OUT
import { readFileSync, writeSync } from 'node:fs';
import { parseFen, makeFen } from 'chessops/fen';

const lines = readFileSync(0, 'latin1').split('\n');
if (lines[lines.length - 1] === '') lines.pop();
const out = [];
let size = 0;
const flush = () => {
  const chunk = Buffer.from(out.join(''), 'latin1');
  for (let at = 0; at < chunk.length; ) at += writeSync(1, chunk, at);
  out.length = 0;
  size = 0;
};
for (const line of lines) {
  const setup = parseFen(line.endsWith('\r') ? line.slice(0, -1) : line);
  const text = (setup.isOk ? makeFen(setup.value) : 'error') + '\n';
  out.push(text);
  size += text.length;
  if (size > 1 << 20) flush();
}
flush();
