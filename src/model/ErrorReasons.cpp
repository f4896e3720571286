#include "model/ErrorReasons.h"

#include <string_view>

namespace kalmera {

namespace {

std::string squareName(int square) {
  return {static_cast<char>('a' + fileOf(square)), static_cast<char>('8' - rowOf(square))};
}

// What a wording names: "%k" the king's square, "%r" the rook's, "%s" the
// castling side's file letter, "%t" the en-passant target, "%p" the square of
// the pawn that moved.
struct Named {
  int king = -1, rook = -1, target = -1, pawn = -1;
  char side = 0;
};

std::string fill(std::string_view text, const Named& n) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%' || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    switch (text[++i]) {
      case 'k': out += squareName(n.king); break;
      case 'r': out += squareName(n.rook); break;
      case 't': out += squareName(n.target); break;
      case 'p': out += squareName(n.pawn); break;
      default: out.push_back(n.side); break;
    }
  }
  return out;
}

// Wordings by fault, White's and Black's, English and German.
struct Wording {
  std::string_view white, black, weiss, schwarz;
};

const Wording& castlingWording(CastlingFault fault) {
  static const Wording kNoKing{"White has no king to castle with.",
                               "Black has no king to castle with.",
                               "Weiß hat keinen König für die Rochade.",
                               "Schwarz hat keinen König für die Rochade."};
  static const Wording kOffHomeRank{
      "White's king is not on b1 to g1, where castling needs it.",
      "Black's king is not on b8 to g8, where castling needs it.",
      "Der weiße König steht nicht auf b1 bis g1, wo die Rochade ihn braucht.",
      "Der schwarze König steht nicht auf b8 bis g8, wo die Rochade ihn braucht."};
  static const Wording kNotOnE{
      "White's king is not on e1: normal castling needs it there (tick Kalmera for Chess960).",
      "Black's king is not on e8: normal castling needs it there (tick Kalmera for Chess960).",
      "Der weiße König steht nicht auf e1: die normale Rochade braucht ihn dort (Kalmera "
      "ankreuzen für Chess960).",
      "Der schwarze König steht nicht auf e8: die normale Rochade braucht ihn dort (Kalmera "
      "ankreuzen für Chess960)."};
  static const Wording kFiles{
      "In extended castling both kings must stand on the same file.",
      "In extended castling both kings must stand on the same file.",
      "Bei der erweiterten Rochade müssen beide Könige auf derselben Linie stehen.",
      "Bei der erweiterten Rochade müssen beide Könige auf derselben Linie stehen."};
  static const Wording kNoRook{"No white rook on %r for castling on the %s-side.",
                               "No black rook on %r for castling on the %s-side.",
                               "Kein weißer Turm auf %r für die Rochade zur %s-Seite.",
                               "Kein schwarzer Turm auf %r für die Rochade zur %s-Seite."};
  static const Wording kBeyond{
      "The white rook on %r is not on the %s-side of the king on %k.",
      "The black rook on %r is not on the %s-side of the king on %k.",
      "Der weiße Turm auf %r steht nicht auf der %s-Seite des Königs auf %k.",
      "Der schwarze Turm auf %r steht nicht auf der %s-Seite des Königs auf %k."};
  switch (fault) {
    case CastlingFault::NoKing: return kNoKing;
    case CastlingFault::KingOffHomeRank: return kOffHomeRank;
    case CastlingFault::KingNotOnE: return kNotOnE;
    case CastlingFault::KingsOnDifferentFiles: return kFiles;
    case CastlingFault::NoRook: return kNoRook;
    case CastlingFault::KingBeyondRook:
    case CastlingFault::None: break;
  }
  return kBeyond;
}

// "%t" the target square, "%p" the square of the pawn that moved.
const Wording& enPassantWording(EnPassantFault fault) {
  static const Wording kTaken{"%t is not empty.", "%t is not empty.", "%t ist nicht leer.",
                              "%t ist nicht leer."};
  static const Wording kNoPawn{
      "No black pawn on %p that could have made the double step.",
      "No white pawn on %p that could have made the double step.",
      "Kein schwarzer Bauer auf %p, der den Doppelschritt gemacht haben könnte.",
      "Kein weißer Bauer auf %p, der den Doppelschritt gemacht haben könnte."};
  static const Wording kNoCapturer{"No white pawn beside %p to take en passant.",
                                   "No black pawn beside %p to take en passant.",
                                   "Kein weißer Bauer neben %p, der en passant schlagen könnte.",
                                   "Kein schwarzer Bauer neben %p, der en passant schlagen könnte."};
  if (fault == EnPassantFault::TargetTaken) return kTaken;
  return fault == EnPassantFault::NoPawnThatMoved ? kNoPawn : kNoCapturer;
}

std::string_view pick(const Wording& w, bool white, Language language) {
  if (language == Language::English) return white ? w.white : w.black;
  return white ? w.weiss : w.schwarz;
}

}  // namespace

ErrorReasons errorReasons(const PositionRecord& r, Language language) {
  const bool english = language == Language::English;
  ErrorReasons reasons;
  if (r.ErrKing) {
    const bool white = r.WhiteKing < 0, black = r.BlackKing < 0;
    reasons.king = white && black ? (english ? "White and Black have no king."
                                             : "Weiß und Schwarz haben keinen König.")
                   : white ? (english ? "White has no king." : "Weiß hat keinen König.")
                           : (english ? "Black has no king." : "Schwarz hat keinen König.");
  }
  for (const CastlingRightInfo& c : kCastlingRights) {
    const CastlingFault fault = r.CastlingFaults[c.rookEntry];
    if (fault == CastlingFault::None) continue;
    Named named;
    named.king = c.kingSquare(r);
    named.rook = castlingRookSquare(r, c);
    named.side = c.hSide ? 'h' : 'a';
    reasons.castling[c.rookEntry] = fill(pick(castlingWording(fault), c.white, language), named);
  }
  if (r.EPFault != EnPassantFault::None) {
    Named named;
    named.target = enPassantTarget(r.EnPassant, r.Side);
    named.pawn = r.Side == 0 ? named.target + 8 : named.target - 8;
    reasons.enPassant = fill(pick(enPassantWording(r.EPFault), r.Side == 0, language), named);
  }
  return reasons;
}

}  // namespace kalmera
