// The tool's sheet verb: FEN or EPD lines from standard input as a PDF
// puzzle sheet of numbered diagrams. Drawn by the picture program (Qt);
// kalmera-fen itself starts that in its place.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Output.h"
#include "setup/IniFile.h"
#include "setup/Settings.h"

#include "export/SheetLayout.h"

#ifdef KALMERA_DRAWS_PICTURES
#include <QFile>
#include <QGuiApplication>

#include "export/PictureFiles.h"
#include "model/Position.h"
#include "view/Sheet.h"
#endif

namespace kalmera {

namespace {

struct SheetRequest {
  std::optional<std::string> pdf;
  int perPage = 6;
  bool letter = false, german = false, flipBlack = false, flip = false;
  std::string title;
  std::array<int, 3> colors{kDefaultBoardColor, kDefaultBrightColor, kDefaultDarkColor};
};

#ifdef KALMERA_DRAWS_PICTURES
constexpr std::size_t kMaxSheetLine = 1 << 20;

// A line holds a position when the reader takes the whole board from its
// placement: all eight ranks, neither ending before the eighth ("12", "/",
// "K") nor going on after the 64th square. Ranks completed by "/" count.
bool fillsTheBoard(const ReadingReport& reading) {
  return !reading.has(ReadingKind::MissingRanks) && !reading.has(ReadingKind::PlacementTooLong) &&
         !reading.has(ReadingKind::UnknownInPlacement);
}
#endif

}  // namespace

std::optional<std::string> epdTitle(std::string_view line) {
  // After the four fields of the position: the operations, "id" among them.
  std::size_t at = 0;
  for (int field = 0; field < 4; ++field) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) return std::nullopt;
    at = line.find_first_of(" \t", at);
    if (at == std::string_view::npos) return std::nullopt;
  }
  for (std::size_t op = line.find("id", at); op != std::string_view::npos; op = line.find("id", op + 2)) {
    const bool starts = op == 0 || line[op - 1] == ' ' || line[op - 1] == '\t' || line[op - 1] == ';';
    const std::size_t quote = line.find_first_not_of(" \t", op + 2);
    if (!starts || quote == std::string_view::npos || line[quote] != '"') continue;
    const std::size_t end = line.find('"', quote + 1);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(line.substr(quote + 1, end - quote - 1));
  }
  return std::nullopt;
}

bool looksLikePosition(std::string_view line) {
  // Its first field all placement: piece letters, digits and slashes.
  const std::size_t first = line.find_first_not_of(" \t\r\v\f");
  if (first == std::string_view::npos) return false;
  const std::size_t end = std::min(line.find_first_of(" \t\r\v\f", first), line.size());
  return line.substr(first, end - first).find_first_not_of("PNBRQKpnbrqk12345678/") ==
         std::string_view::npos;
}

int runSheetVerb(int argc, char** argv, const std::vector<std::string>& args,
                 std::string& problem) {
  SheetRequest r;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--letter") r.letter = true;
    else if (a == "--german") r.german = true;
    else if (a == "--flip-black") r.flipBlack = true;
    else if (a == "--flip") r.flip = true;
    else if (a == "--pdf" || a == "--per-page" || a == "--title" || a == "--colours") {
      if (i + 1 >= args.size()) {
        problem = a + " needs a value";
        return 2;
      }
      const std::string& value = args[++i];
      if (a == "--pdf") {
        if (value.empty()) {
          problem = "--pdf needs a file name";
          return 2;
        }
        r.pdf = value;
      } else if (a == "--title") {
        r.title = value;
      } else if (a == "--colours") {
        const auto colors = parseColourList(value);
        if (!colors) {
          problem = "--colours takes BOARD,BRIGHT,DARK as 24-bit numbers, not '" + value + "'";
          return 2;
        }
        r.colors = *colors;
      } else {
        const auto n = parseIniInteger(value);
        if (!n || value.find_first_not_of("0123456789") != std::string::npos ||
            !validDiagramsPerPage(*n)) {
          problem = "--per-page takes 1, 2, 4, 6, 9 or 12, not '" + value + "'";
          return 2;
        }
        r.perPage = *n;
      }
    } else {
      problem = "unknown option '" + a + "'";
      return 2;
    }
  }
  if (!r.pdf) {
    problem = "sheet needs --pdf FILE";
    return 2;
  }
#ifdef KALMERA_DRAWS_PICTURES
  prepareHeadlessDrawing();
  QGuiApplication app(argc, argv);
  // Every line a diagram, but blank lines and lines that hold no position,
  // which are said with their numbers.
  std::vector<SheetDiagram> diagrams;
  std::string line;
  long number = 0;
  for (int c = 0; c != EOF;) {
    line.clear();
    // As long a line as normalize takes; the rest of a longer one is passed over.
    std::size_t passed = 0;
    int last = 0;
    while ((c = std::getc(stdin)) != EOF && c != '\n') {
      if (line.size() < kMaxSheetLine) {
        line.push_back(static_cast<char>(c));
      } else {
        ++passed;
        last = c;
      }
    }
    if (c == EOF && line.empty()) break;
    ++number;
    if (passed > 1 || (passed == 1 && last != '\r')) {
      std::fprintf(stderr, "kalmera-fen: line %ld: cut at %zu bytes\n", number, kMaxSheetLine);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t\r\v\f") == std::string::npos) {
      std::fprintf(stderr, "kalmera-fen: line %ld: blank, skipped\n", number);
      continue;
    }
    if (!looksLikePosition(line)) {
      std::fprintf(stderr, "kalmera-fen: line %ld: not a FEN or EPD line, skipped\n", number);
      continue;
    }
    Position p;
    p.readFen(line);
    if (!fillsTheBoard(p.lastReading())) {
      std::fprintf(stderr, "kalmera-fen: line %ld: no position of eight ranks, skipped\n", number);
      continue;
    }
    SheetDiagram d;
    d.record = p.record();
    if (const auto title = epdTitle(line)) {
      const QByteArray bytes(title->data(), qsizetype(title->size()));
      const QString utf8 = QString::fromUtf8(bytes);
      d.title = utf8.contains(QChar::ReplacementCharacter) ? QString::fromLatin1(bytes) : utf8;
    }
    d.number = static_cast<int>(diagrams.size()) + 1;
    diagrams.push_back(std::move(d));
  }
  if (std::ferror(stdin)) return failure("cannot read standard input: " + std::string(std::strerror(errno)));
  SheetOptions o;
  o.perPage = r.perPage;
  o.letter = r.letter;
  o.german = r.german;
  o.flipBlack = r.flipBlack;
  o.flipAll = r.flip;
  o.title = QString::fromUtf8(r.title.data(), qsizetype(r.title.size()));
  o.colors = r.colors;
  const QString file = QFile::decodeName(QByteArray(r.pdf->data(), qsizetype(r.pdf->size())));
  if (const auto error = savePdf(sheetPdf(diagrams, o), file)) return failure(error->toStdString());
  return 0;
#else
  (void)argc;
  return runPictureProgram(argv, problem);
#endif
}

}  // namespace kalmera
