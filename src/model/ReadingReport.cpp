// The report of a reading and its sentences, English and German side by side.
#include "model/ReadingReport.h"

#include <algorithm>
#include <bit>
#include <utility>
#include <vector>

#include "model/PositionRecord.h"

namespace kalmera {

const ReadingChange* ReadingReport::find(ReadingKind kind) const {
  for (const ReadingChange& c : changes_) {
    if (c.kind == kind) return &c;
  }
  return nullptr;
}

ReadingChange& ReadingReport::change(ReadingKind kind) {
  auto at = std::find_if(changes_.begin(), changes_.end(),
                         [kind](const ReadingChange& c) { return c.kind >= kind; });
  if (at == changes_.end() || at->kind != kind) {
    ReadingChange made;
    made.kind = kind;
    at = changes_.insert(at, std::move(made));
  }
  return *at;
}

void ReadingReport::setText(ReadingKind kind, std::string_view text) {
  std::string& kept = change(kind).text;
  kept.assign(text.substr(0, kQuotedLength));
  if (text.size() > kQuotedLength) kept += "...";
}

void ReadingReport::addLetter(ReadingKind kind, char letter) {
  std::string& letters = change(kind).text;
  if (letters.find(letter) == std::string::npos) letters.push_back(letter);
}

namespace {

// The wordings are written here in UTF-8 for the reader of this file and
// handed out in ISO 8859-1 (every character of them is in it).
std::string latin1(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[++i]);
      out.push_back(static_cast<char>((c & 0x03) << 6 | (next & 0x3F)));
    } else {
      out.push_back(utf8[i]);
    }
  }
  return out;
}

struct Texts {
  std::string_view english, german;
};
// A clause as it follows "Read with changes: ", for one thing and for several.
struct Wording {
  Texts one, several;
};

// "%t" the quoted input text, "%l" the letters, "%s" the first square, "%S"
// the squares, "%k" the kept king's square, "%R" the ranks, "%F" the fields,
// "%e" the en-passant file, "%v" the counter's value taken.
constexpr Wording kWordings[kReadingKindCount] = {
    // UnknownInPlacement
    {{"the character \"%t\" does not belong in a placement, so the board from %s on was left "
      "empty",
      "das Zeichen »%t« gehört nicht in eine Figurenstellung, daher blieb das Brett ab %s leer"},
     {}},
    // ShortRanks
    {{"rank %R holds fewer than eight squares; the rest of it was left empty",
      "Reihe %R hat weniger als acht Felder; der Rest blieb leer"},
     {"ranks %R hold fewer than eight squares; the rest of each was left empty",
      "die Reihen %R haben weniger als acht Felder; der Rest blieb jeweils leer"}},
    // LongRanks
    {{"rank %R holds more than eight squares; what follows its eighth square ran on into the "
      "next rank",
      "Reihe %R hat mehr als acht Felder; was nach ihrem achten Feld kommt, lief in die nächste "
      "Reihe weiter"},
     {"ranks %R hold more than eight squares; what follows the eighth square of each ran on "
      "into the next rank",
      "die Reihen %R haben mehr als acht Felder; was jeweils nach dem achten Feld kommt, lief in "
      "die nächste Reihe weiter"}},
    // MissingRanks
    {{"rank %R is missing and was left empty", "Reihe %R fehlt und blieb leer"},
     {"ranks %R are missing and were left empty", "die Reihen %R fehlen und blieben leer"}},
    // PlacementTooLong
    {{"the placement goes on after its 64th square: \"%t\" was read as the next fields",
      "die Figurenstellung geht nach ihrem 64. Feld weiter: »%t« wurde als die folgenden "
      "Angaben gelesen"},
     {}},
    // ExtraWhiteKing
    {{"the white king on %S was left out for the later one on %k",
      "der weiße König auf %S wurde zugunsten des späteren auf %k weggelassen"},
     {"the white kings on %S were left out for the last one on %k",
      "die weißen Könige auf %S wurden zugunsten des letzten auf %k weggelassen"}},
    // ExtraBlackKing
    {{"the black king on %S was left out for the later one on %k",
      "der schwarze König auf %S wurde zugunsten des späteren auf %k weggelassen"},
     {"the black kings on %S were left out for the last one on %k",
      "die schwarzen Könige auf %S wurden zugunsten des letzten auf %k weggelassen"}},
    // PawnsOnHomeRanks
    {{"the pawn on %S was left out: pawns never stand on the first or eighth rank",
      "der Bauer auf %S wurde weggelassen: Bauern stehen nie auf der ersten oder achten Reihe"},
     {"the pawns on %S were left out: pawns never stand on the first or eighth rank",
      "die Bauern auf %S wurden weggelassen: Bauern stehen nie auf der ersten oder achten Reihe"}},
    // CastlingWithoutRook
    {{"the castling right %l was left out: there is no rook for it",
      "das Rochaderecht %l wurde weggelassen: es gibt keinen Turm dafür"},
     {"the castling rights %l were left out: there are no rooks for them",
      "die Rochaderechte %l wurden weggelassen: es gibt keine Türme dafür"}},
    // CastlingWithoutKing
    {{"the castling right %l was left out: no king stands on the home rank for it",
      "das Rochaderecht %l wurde weggelassen: auf der Grundreihe steht kein König dafür"},
     {"the castling rights %l were left out: no king stands on the home rank for them",
      "die Rochaderechte %l wurden weggelassen: auf der Grundreihe steht kein König dafür"}},
    // UnknownInCastling
    {{"the character \"%t\" ended the castling field and was passed over",
      "das Zeichen »%t« beendete die Rochadeangabe und wurde übergangen"},
     {}},
    // EnPassantChanged
    {{"the en-passant field \"%t\" was read as %s",
      "die En-passant-Angabe »%t« wurde als %s gelesen"},
     {}},
    // EnPassantKept
    {{"there is no en-passant field, so the en-passant file %e of the position before was kept",
      "es gibt keine En-passant-Angabe, daher blieb die En-passant-Linie %e der vorigen Stellung"},
     {}},
    // HalfMoveClockClamped
    {{"the half-move clock %t is outside 0 to 99, so %v was taken",
      "der Halbzugzähler %t liegt außerhalb von 0 bis 99, daher gilt %v"},
     {}},
    // FullMoveNumberClamped
    {{"the full-move number %t is outside 1 to 999, so %v was taken",
      "die Zugnummer %t liegt außerhalb von 1 bis 999, daher gilt %v"},
     {}},
    // FieldsUnreadable
    {{"%F could not be read", "%F konnte nicht gelesen werden"},
     {"%F could not be read", "%F konnten nicht gelesen werden"}},
    // FieldsMissing
    {{"%F is missing", "%F fehlt"}, {"%F are missing", "%F fehlen"}},
    // TextIgnored
    {{"the text \"%t\" after the last field was ignored",
      "der Text »%t« nach der letzten Angabe wurde übergangen"},
     {}},
};

// By FenField.
constexpr Texts kFieldNames[6] = {{"the placement", "die Figurenstellung"},
                                  {"the side to move", "das Zugrecht"},
                                  {"the castling field", "die Rochadeangabe"},
                                  {"the en-passant field", "die En-passant-Angabe"},
                                  {"the half-move clock", "der Halbzugzähler"},
                                  {"the full-move number", "die Zugnummer"}};
constexpr Texts kPrefix{"Read with changes: ", "Mit Änderungen gelesen: "};

std::string_view pick(const Texts& t, Language language) {
  return language == Language::English ? t.english : t.german;
}

std::string squareName(int square) {
  return {static_cast<char>('a' + fileOf(square)), static_cast<char>('8' - rowOf(square))};
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& items, Language language) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0 && i + 1 < items.size()) out += ", ";
    else if (i > 0) out += language == Language::English ? " and " : " und ";
    out += items[i];
  }
  return out;
}

std::vector<std::string> squareNames(Squares squares) {
  std::vector<std::string> names;
  for (Squares left = squares; left != 0; left &= left - 1) {
    names.push_back(squareName(std::countr_zero(left)));
  }
  return names;
}

// The ranks that hold any of the squares, from rank 8 down.
std::vector<std::string> rankNames(Squares squares) {
  std::vector<std::string> names;
  for (int row = 0; row < 8; ++row) {
    if ((squares >> (8 * row) & 0xFF) != 0) names.emplace_back(1, static_cast<char>('8' - row));
  }
  return names;
}

// Input bytes as they can be shown: others as \xNN.
std::string shown(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 0x20 && c < 0x7F) || c >= 0xA0) {
      out.push_back(ch);
    } else {
      out += "\\x";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

bool several(const ReadingChange& c) {
  switch (c.kind) {
    case ReadingKind::ShortRanks:
    case ReadingKind::LongRanks:
    case ReadingKind::MissingRanks: return rankNames(c.squares).size() > 1;
    case ReadingKind::ExtraWhiteKing:
    case ReadingKind::ExtraBlackKing:
    case ReadingKind::PawnsOnHomeRanks: return std::popcount(c.squares) > 1;
    case ReadingKind::CastlingWithoutRook:
    case ReadingKind::CastlingWithoutKing: return c.text.size() > 1;
    case ReadingKind::FieldsUnreadable:
    case ReadingKind::FieldsMissing: return std::popcount(c.fields) > 1;
    default: return false;
  }
}

// The ranks of the missing ones run on to rank 1: "5 to 1".
std::string ranksOf(const ReadingChange& c, Language language) {
  const std::vector<std::string> names = rankNames(c.squares);
  if (c.kind == ReadingKind::MissingRanks && names.size() > 1) {
    return names.front() + (language == Language::English ? " to " : " bis ") + names.back();
  }
  return listed(names, language);
}

std::string counterTaken(const ReadingChange& c) {
  if (c.kind == ReadingKind::HalfMoveClockClamped) return "99";
  const bool zero = c.text.find_first_not_of("0.") == std::string::npos;  // "." of a cut "..."
  return zero ? "1" : "999";
}

std::string clause(const ReadingChange& c, Language language) {
  const Wording& w = kWordings[static_cast<int>(c.kind)];
  const std::string text = latin1(pick(several(c) ? w.several : w.one, language));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%' || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    switch (text[++i]) {
      case 't': out += shown(c.text); break;
      case 'l':
      case 'k': out += c.text; break;
      case 's': out += squareName(std::countr_zero(c.squares)); break;
      case 'S': out += listed(squareNames(c.squares), language); break;
      case 'R': out += ranksOf(c, language); break;
      case 'e': out.push_back(static_cast<char>('a' + fileOf(std::countr_zero(c.squares)))); break;
      case 'v': out += counterTaken(c); break;
      case 'F': {
        std::vector<std::string> names;
        for (int f = 0; f < 6; ++f) {
          if ((c.fields >> f & 1u) != 0) names.push_back(latin1(pick(kFieldNames[f], language)));
        }
        out += listed(names, language);
        break;
      }
      default: out.push_back(text[i]); break;
    }
  }
  return out;
}

}  // namespace

std::string readingSentence(const ReadingChange& change, Language language) {
  std::string sentence = clause(change, language);
  if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z') {
    sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
  }
  return sentence + '.';
}

std::string readingSummary(const ReadingReport& report, Language language) {
  if (report.empty()) return {};
  const std::size_t more = report.changes().size() - 1;
  std::string line = latin1(pick(kPrefix, language)) + clause(report.changes().front(), language);
  line += '.';
  if (more > 0) line += " (+" + std::to_string(more) + ")";
  return line;
}

}  // namespace kalmera
