// The attack tables: steppers and pawns from their steps, lines between
// squares, and the sliders' tables, filled at the first use.
#include <cstdlib>
#include <mutex>
#include <vector>

#include "moves/Bitboards.h"

namespace kalmera {

AttackTables attackTables;

namespace {

struct Step {
  int file, row;
};
constexpr Step kKnightSteps[] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                                 {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
constexpr Step kKingSteps[] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                               {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
constexpr Step kRookRays[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
constexpr Step kBishopRays[] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

constexpr bool onBoard(int file, int row) { return file >= 0 && file < 8 && row >= 0 && row < 8; }

Bitboard steps(int square, const Step (&table)[8]) {
  Bitboard b = 0;
  for (const Step s : table) {
    const int file = square % 8 + s.file, row = square / 8 + s.row;
    if (onBoard(file, row)) b |= squareBit(row * 8 + file);
  }
  return b;
}

// A slider's attacks by walking its rays: each ray ends on the first
// occupied square. With `relevant`, the squares whose occupation can change
// the attacks instead: each ray without its last square.
Bitboard walkRays(int square, const Step (&rays)[4], Bitboard occupied, bool relevant = false) {
  Bitboard b = 0;
  for (const Step r : rays) {
    int file = square % 8 + r.file, row = square / 8 + r.row;
    while (onBoard(file, row)) {
      if (relevant && !onBoard(file + r.file, row + r.row)) break;
      b |= squareBit(row * 8 + file);
      if (occupied & squareBit(row * 8 + file)) break;
      file += r.file;
      row += r.row;
    }
  }
  return b;
}

// The factors the search below found from its seed, kept so that start-up
// only checks them while filling the tables (a search from the seed takes
// about 150 ms). A factor that no longer fits (a changed mask) is searched for.
constexpr Bitboard kRookFactors[64] = {
    0x1080004008801020ULL, 0x0840092002C03000ULL, 0x1900200010400900ULL, 0x0880100008000480ULL,
    0x4200100420080200ULL, 0x8100020100080400ULL, 0x0200040110886200ULL, 0x0200008040220411ULL,
    0x0404800084400220ULL, 0x0000401000402000ULL, 0x0086001081220440ULL, 0x0408800800100280ULL,
    0x000A001201040820ULL, 0x8848800200840080ULL, 0x4001000100040200ULL, 0x0442000102105084ULL,
    0x9080010020804100ULL, 0x0040404000201009ULL, 0x0000808010002009ULL, 0x2200090021D00100ULL,
    0x0008008008040080ULL, 0x0004004002010040ULL, 0x0011040008015042ULL, 0x00000A0001768104ULL,
    0x0000800080204009ULL, 0x2010004140002001ULL, 0x9800200280100080ULL, 0x1000100080080080ULL,
    0x0442000A00049020ULL, 0x2100040080020080ULL, 0x0800120400900148ULL, 0x0010040A00128541ULL,
    0x2800804000800030ULL, 0x1010002000400041ULL, 0x4000200011004100ULL, 0x0610008410800800ULL,
    0x0400802402800800ULL, 0xC100020080800400ULL, 0x0002000802000401ULL, 0x0182085882000401ULL,
    0x0220204000808000ULL, 0x2860100040024022ULL, 0x0001002004110040ULL, 0x99101042000A0020ULL,
    0x0004080004008080ULL, 0x0010040002008080ULL, 0x2012004881020004ULL, 0x8300842444820011ULL,
    0x0088403882010200ULL, 0x0820400080210100ULL, 0x0110910040A00300ULL, 0x0801100280080480ULL,
    0x0242009008200600ULL, 0x1002000489500200ULL, 0x0040800200010080ULL, 0x0091800041000080ULL,
    0x0000209300488001ULL, 0x04C1002414824001ULL, 0x020020000B001041ULL, 0x7000100004200901ULL,
    0x8002002004100802ULL, 0x30010002084C0007ULL, 0x0888221800813004ULL, 0x4000002840840112ULL};
constexpr Bitboard kBishopFactors[64] = {
    0xA010041108003100ULL, 0x006082020A002900ULL, 0x6810010619200000ULL, 0x08281A0520000408ULL,
    0x0001104001000400ULL, 0x0018901008048400ULL, 0x00040A0210245280ULL, 0x000200210808A402ULL,
    0x9140048410821200ULL, 0x0800091010820041ULL, 0x20504804832202C0ULL, 0x0100091401081000ULL,
    0x8021011140000012ULL, 0x0810020804450400ULL, 0x208B0542109008A2ULL, 0x0080084A08040204ULL,
    0x0040E2A80811244CULL, 0x2505022008008108ULL, 0x0430220100420040ULL, 0x010A040420220040ULL,
    0x1105000290400000ULL, 0x0093001200822120ULL, 0x4000A62048043004ULL, 0x280120048A015004ULL,
    0x006090002A020814ULL, 0x44042000240800D0ULL, 0x01102800040A4400ULL, 0x1004080080220040ULL,
    0x0001001011004024ULL, 0x0010044000805040ULL, 0x0914041200820100ULL, 0x0004821012821480ULL,
    0x0024040500C05021ULL, 0x0088611002080200ULL, 0x0116080A00040020ULL, 0x4000020080080080ULL,
    0x2450450140840040ULL, 0x0000880201484100ULL, 0x0222020404020092ULL, 0x8081110600002E00ULL,
    0x2842101105000801ULL, 0x1100809008001025ULL, 0x00020202221C0400ULL, 0x0422014022009020ULL,
    0x0210046102100C00ULL, 0xC004008082029102ULL, 0x00AA461801101200ULL, 0x0404080080201108ULL,
    0x020542108C205002ULL, 0x0410544804100100ULL, 0x0040910841100000ULL, 0x0400200042021100ULL,
    0x00004204850400C0ULL, 0x0200100410A42102ULL, 0x1040020801210102ULL, 0x0805040410420000ULL,
    0x2884804130100200ULL, 0x800C262201242000ULL, 0x1058000194108800ULL, 0x0014221054420204ULL,
    0x0104000012A02200ULL, 0x0200881003300100ULL, 0x0140400202840100ULL, 0x0402020801010201ULL};

// xorshift64*: small, fast and the same on every machine.
struct FactorSource {
  std::uint64_t state = 0x9E3779B97F4A7C15ULL;
  std::uint64_t next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1DULL;
  }
  // Factors with few bits set spread the mask's bits best.
  std::uint64_t sparse() { return next() & next() & next(); }
};

// Whether `factor` sends every occupation of the mask to a slot of its own or
// to one with the same attacks; fills the table on the way. A slot belongs to
// the current attempt when its stamp says so: no clearing between attempts.
bool fits(Bitboard factor, unsigned shift, const std::vector<Bitboard>& occupations,
          const std::vector<Bitboard>& attacks, Bitboard* table, std::vector<unsigned>& stamp,
          unsigned attempt) {
  for (std::size_t i = 0; i < occupations.size(); ++i) {
    const std::size_t slot = (occupations[i] * factor) >> shift;
    if (stamp[slot] != attempt) {
      stamp[slot] = attempt;
      table[slot] = attacks[i];
    } else if (table[slot] != attacks[i]) {
      return false;
    }
  }
  return true;
}

// The entry of one square with its table filled: the factor kept from an
// earlier search when it fits, otherwise one found now.
void findMagic(int square, const Step (&rays)[4], Bitboard kept, MagicEntry& entry, Bitboard* table,
               FactorSource& source) {
  const Bitboard mask = walkRays(square, rays, 0, true);
  const int bits = squareCount(mask);
  const std::size_t size = std::size_t{1} << bits;
  std::vector<Bitboard> occupations(size), attacks(size);
  std::size_t n = 0;
  Bitboard subset = 0;
  do {  // every subset of the mask (carry-rippler)
    occupations[n] = subset;
    attacks[n++] = walkRays(square, rays, subset);
    subset = (subset - mask) & mask;
  } while (subset != 0);

  std::vector<unsigned> stamp(size, 0);
  entry.attacks = table;
  entry.mask = mask;
  entry.shift = static_cast<unsigned>(64 - bits);
  entry.factor = kept;
  if (fits(kept, entry.shift, occupations, attacks, table, stamp, 1)) return;
  for (unsigned attempt = 2;; ++attempt) {
    const Bitboard factor = source.sparse();
    if (squareCount((mask * factor) >> 56) < 6) continue;
    if (fits(factor, entry.shift, occupations, attacks, table, stamp, attempt)) {
      entry.factor = factor;
      return;
    }
  }
}

void fillTables(AttackTables& t) {
  for (int s = 0; s < 64; ++s) {
    t.knight[s] = steps(s, kKnightSteps);
    t.king[s] = steps(s, kKingSteps);
    const Bitboard b = squareBit(s);
    // White's pawns move toward row 0 (rank 8).
    t.pawn[0][s] = ((b & ~kFileA) >> 9) | ((b & ~kFileH) >> 7);
    t.pawn[1][s] = ((b & ~kFileA) << 7) | ((b & ~kFileH) << 9);
  }
  FactorSource source;
  Bitboard* table = t.slides;
  for (int s = 0; s < 64; ++s) {
    findMagic(s, kRookRays, kRookFactors[s], t.rook[s], table, source);
    table += std::size_t{1} << (64 - t.rook[s].shift);
  }
  for (int s = 0; s < 64; ++s) {
    findMagic(s, kBishopRays, kBishopFactors[s], t.bishop[s], table, source);
    table += std::size_t{1} << (64 - t.bishop[s].shift);
  }
  if (table != t.slides + sizeof t.slides / sizeof t.slides[0]) std::abort();
  for (int a = 0; a < 64; ++a) {
    for (int b = 0; b < 64; ++b) {
      t.between[a][b] = t.line[a][b] = 0;
      if (a == b) continue;
      for (const auto* rays : {&kRookRays, &kBishopRays}) {
        const Bitboard fromA = walkRays(a, *rays, 0);
        if ((fromA & squareBit(b)) == 0) continue;
        const Bitboard fromB = walkRays(b, *rays, 0);
        t.between[a][b] = walkRays(a, *rays, squareBit(b)) & walkRays(b, *rays, squareBit(a));
        t.line[a][b] = (fromA & fromB) | squareBit(a) | squareBit(b);
      }
    }
  }
}

}  // namespace

void prepareAttackTables() {
  static std::once_flag filled;
  std::call_once(filled, [] { fillTables(attackTables); });
}

}  // namespace kalmera
