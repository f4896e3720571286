// The sentences of the legality problems, English and German side by side,
// with the squares and pieces they concern named.
#include <bit>
#include <initializer_list>
#include <string_view>

#include "model/Legality.h"

namespace kalmera {

namespace {

std::string squareName(int square) {
  return {static_cast<char>('a' + fileOf(square)), static_cast<char>('8' - rowOf(square))};
}

struct Texts {
  std::string_view english, german;
};
std::string_view pick(const Texts& t, Language language) {
  return language == Language::English ? t.english : t.german;
}

constexpr Texts kColour[2] = {{"White", "Weiß"}, {"Black", "Schwarz"}};
constexpr Texts kKingOf[2] = {{"White's king", "Der weiße König"},
                              {"Black's king", "Der schwarze König"}};
constexpr Texts kPawnsOf[2] = {{"White's pawns", "Die weißen Bauern"},
                               {"Black's pawns", "Die schwarzen Bauern"}};
constexpr Texts kPawnOf[2] = {{"a white pawn", "ein weißer Bauer"},
                              {"a black pawn", "ein schwarzer Bauer"}};
// A piece after "from" / "durch", by its index in "PNBRQK".
constexpr Texts kPieceAfterFrom[6] = {{"the pawn", "den Bauern"},  {"the knight", "den Springer"},
                                      {"the bishop", "den Läufer"}, {"the rook", "den Turm"},
                                      {"the queen", "die Dame"},    {"the king", "den König"}};

// The sentences, "%1" ... filled in order.
constexpr Texts kOppositeCheck{"%1 on %2 is in check from %3, but %4 is to move.",
                               "%1 auf %2 steht im Schach durch %3, aber %4 ist am Zug."};
constexpr Texts kImpossibleCheck{
    "%1 on %2 is in check from %3: no last move of %4 gives such a check.",
    "%1 auf %2 steht im Schach durch %3: kein letzter Zug von %4 gibt ein solches Schach."};
constexpr Texts kCheckAfterDoubleStep{
    "%1 on %2 is in check from %3, which %4's double step %5-%6 can neither give nor uncover.",
    "%1 auf %2 steht im Schach durch %3, das der Doppelschritt %5-%6 von %4 weder geben noch "
    "aufdecken kann."};
constexpr Texts kMaterial{"%1 has %2 and %3; together they can be 8 at most.",
                          "%1 hat %2 und %3; zusammen können es höchstens 8 sein."};
constexpr Texts kCaptures{
    "%1 need at least %2 to stand on their files, but %3 has lost %4.",
    "%1 brauchen mindestens %2, um auf ihren Linien zu stehen, aber %3 hat %4 verloren."};
constexpr Texts kNoStartSquares{
    "%1 cannot all have come from start squares of their own.",
    "%1 können nicht alle von eigenen Ausgangsfeldern kommen."};
constexpr Texts kEnPassantClock{
    "The en-passant target %1 says that %2 has just made a double step, but the half-move "
    "clock is %3, not 0.",
    "Das En-passant-Feld %1 sagt, dass %2 eben einen Doppelschritt gemacht hat, aber der "
    "Halbzugzähler steht auf %3, nicht auf 0."};
constexpr Texts kEnPassantOrigin{
    "The en-passant target %1 says that %2 has just left %3, but %3 is occupied.",
    "Das En-passant-Feld %1 sagt, dass %2 eben %3 verlassen hat, aber auf %3 steht eine Figur."};
constexpr Texts kLegal{"Legal position.", "Legale Stellung."};

// "%1", "%2", ... of `text` replaced by the values in order, each everywhere.
std::string fill(std::string_view text, std::initializer_list<std::string> values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' &&
        static_cast<std::size_t>(text[i + 1] - '1') < values.size()) {
      out += values.begin()[text[i + 1] - '1'];
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// "the rook on e1 and the bishop on b5".
std::string pieceList(const PositionRecord& r, Squares squares, Language language) {
  const bool english = language == Language::English;
  std::string out;
  for (Squares left = squares; left != 0; left &= left - 1) {
    const int s = std::countr_zero(left);
    if (!out.empty()) out += (left & (left - 1)) == 0 ? (english ? " and " : " und ") : ", ";
    const int piece = pieceIndex(r.Board[s]);
    out += pick(kPieceAfterFrom[piece < 0 ? 0 : piece % 6], language);
    out += english ? " on " : " auf ";
    out += squareName(s);
  }
  return out;
}

std::string kingsSentence(const Legality& j, Language language) {
  const bool english = language == Language::English;
  if (j.whiteKing < 0 && j.blackKing < 0) {
    return english ? "White and Black have no king." : "Weiß und Schwarz haben keinen König.";
  }
  if (j.whiteKing < 0) return english ? "White has no king." : "Weiß hat keinen König.";
  return english ? "Black has no king." : "Schwarz hat keinen König.";
}

// One sentence a colour, for the colours the problem concerns.
template <typename Sentence>
std::string byColour(const std::array<bool, 2>& concerns, Sentence sentence) {
  std::string out;
  for (int c = 0; c < 2; ++c) {
    if (!concerns[c]) continue;
    if (!out.empty()) out += ' ';
    out += sentence(c);
  }
  return out;
}

}  // namespace

std::string legalityReason(const Legality& j, const PositionRecord& r, Problem problem,
                           Language language) {
  const int mover = j.side, other = mover ^ 1;
  const std::string moverName(pick(kColour[mover], language)),
      otherName(pick(kColour[other], language));
  switch (problem) {
    case Problem::Kings: return kingsSentence(j, language);
    case Problem::OppositeCheck: {
      const int king = mover == 0 ? j.blackKing : j.whiteKing;
      return fill(pick(kOppositeCheck, language),
                  {std::string(pick(kKingOf[other], language)), squareName(king),
                   pieceList(r, j.oppositeCheckers, language), moverName});
    }
    case Problem::ImpossibleCheck: {
      const int king = mover == 0 ? j.whiteKing : j.blackKing;
      const std::string kingName(pick(kKingOf[mover], language));
      if (j.checkAfterDoubleStep) {
        const int pushedTo = mover == 0 ? j.enPassantTarget + 8 : j.enPassantTarget - 8;
        const int pushedFrom = mover == 0 ? j.enPassantTarget - 8 : j.enPassantTarget + 8;
        return fill(pick(kCheckAfterDoubleStep, language),
                    {kingName, squareName(king), pieceList(r, j.impossibleCheckers, language),
                     otherName, squareName(pushedFrom), squareName(pushedTo)});
      }
      return fill(pick(kImpossibleCheck, language),
                  {kingName, squareName(king), pieceList(r, j.impossibleCheckers, language),
                   otherName});
    }
    case Problem::Material:
      return byColour(j.tooMuchMaterial, [&](int c) {
        const bool english = language == Language::English;
        const int pawns = j.pawns[c], promoted = j.promoted[c];
        return fill(pick(kMaterial, language),
                    {std::string(pick(kColour[c], language)),
                     std::to_string(pawns) + (english ? (pawns == 1 ? " pawn" : " pawns") : " Bauern"),
                     std::to_string(promoted) +
                         (english ? (promoted == 1 ? " promoted piece" : " promoted pieces")
                                  : (promoted == 1 ? " umgewandelte Figur" : " umgewandelte Figuren"))});
      });
    case Problem::PawnCaptures:
      return byColour(j.tooManyCaptures, [&](int c) {
        const std::string pawns(pick(kPawnsOf[c], language));
        if (j.captures[c] < 0) return fill(pick(kNoStartSquares, language), {pawns});
        const int lost = j.lost[c ^ 1];
        const bool english = language == Language::English;
        const std::string men = lost == 0   ? (english ? "no men" : "keinen Stein")
                                : lost == 1 ? (english ? "only one man" : "erst einen Stein")
                                            : (english ? "only " : "erst ") + std::to_string(lost) +
                                                  (english ? " men" : " Steine");
        const int n = j.captures[c];
        const std::string captures = std::to_string(n) + (english ? (n == 1 ? " capture" : " captures")
                                                                  : (n == 1 ? " Schlagzug" : " Schlagzüge"));
        return fill(pick(kCaptures, language), {pawns, captures,
                                                std::string(pick(kColour[c ^ 1], language)), men});
      });
    case Problem::EnPassantClock:
      return fill(pick(kEnPassantClock, language),
                  {squareName(j.enPassantTarget), otherName, std::to_string(j.halfCount)});
    case Problem::EnPassantOrigin:
      return fill(pick(kEnPassantOrigin, language),
                  {squareName(j.enPassantTarget), std::string(pick(kPawnOf[other], language)),
                   squareName(j.enPassantOrigin)});
  }
  return {};
}

std::string legalitySummary(const Legality& j, const PositionRecord& r, Language language) {
  if (j.legal()) return std::string(pick(kLegal, language));
  std::string line = legalityReason(j, r, j.first(), language);
  if (j.count() > 1) line += " (+" + std::to_string(j.count() - 1) + ")";
  return line;
}

}  // namespace kalmera
