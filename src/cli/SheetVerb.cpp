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

#include "collection/EpdText.h"
#include "export/CollectionExport.h"
#include "export/PictureFiles.h"
#include "model/Position.h"
#include "view/Sheet.h"
#endif

namespace kalmera {

namespace {

struct SheetRequest {
  std::optional<std::string> pdf;
  int perPage = 6;
  bool letter = false, german = false, flipBlack = false, flip = false, solutions = false;
  std::string title;
  std::array<int, 3> colors{kDefaultBoardColor, kDefaultBrightColor, kDefaultDarkColor};
  DiagramLook look;  // arrows, coloured squares, pieces, style, coordinates
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

QString sheetText(const std::u32string& text) {
  return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

// Where a line's operations start: after its fields as a collection reads
// them (a FEN line's counters among them); after the fourth field of a line
// whose fields a collection does not take ("W" for the side, say), as the
// sheet has always read its titles.
std::size_t operationsStart(std::string_view line) {
  if (const auto fields = positionFields(line)) return fields->operationsAt;
  std::size_t at = 0;
  for (int field = 0; field < 4 && at != std::string_view::npos; ++field) {
    at = line.find_first_not_of(" \t", at);
    if (at != std::string_view::npos) at = line.find_first_of(" \t", at);
  }
  return at == std::string_view::npos ? line.size() : at;
}

// The diagram's texts from the line's EPD operations, strings in quotes with
// their escapes, as a collection reads them.
void takeOperations(std::string_view line, bool german, SheetDiagram& d) {
  const std::vector<EpdOperation> operations = readOperations(line.substr(operationsStart(line)));
  d.title = sheetText(titleText(operations));
  d.stipulation = sheetText(stipulationText(operations, d.record.Side, german));
  d.solution = sheetText(solutionText(operations));
}
#endif

}  // namespace

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
    if (const int look = takeLookOption(args, i, r.look, problem)) {
      if (look < 0) return 2;
      continue;
    }
    if (a == "--letter") r.letter = true;
    else if (a == "--german") r.german = true;
    else if (a == "--flip-black") r.flipBlack = true;
    else if (a == "--flip") r.flip = true;
    else if (a == "--solutions") r.solutions = true;
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
    // The line's own annotations (its c9), and those of the options over them.
    addAnnotations(d.record.Annotations, epdAnnotations(line));
    addAnnotations(d.record.Annotations, r.look.annotations);
    takeOperations(line, r.german, d);
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
  o.solutions = r.solutions;
  o.style = r.look.style;
  const QString file = QFile::decodeName(QByteArray(r.pdf->data(), qsizetype(r.pdf->size())));
  if (const auto error = savePdf(sheetPdf(diagrams, o), file)) return failure(error->toStdString());
  return 0;
#else
  (void)argc;
  return runPictureProgram(argv, problem);
#endif
}

}  // namespace kalmera
