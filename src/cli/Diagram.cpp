#include "cli/Diagram.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/Output.h"
#include "export/Html.h"
#include "export/Latex.h"
#include "export/Version.h"
#include "model/Position.h"
#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "setup/Trim.h"

#ifdef KALMERA_DRAWS_PICTURES
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "export/PictureFiles.h"
#include "view/BoardRenderer.h"
#endif

namespace kalmera {

namespace {

struct DiagramOptions {
  bool document = false;
  bool flip = false;  // seen from Black's side
  int size = 337;     // the picture's pixels across
  std::optional<std::string> base, head1, head2, marks, png, bmp, svg;
  std::array<int, 3> colors{kDefaultBoardColor, kDefaultBrightColor, kDefaultDarkColor};
  DiagramLook look;
};

}  // namespace

std::optional<std::array<int, 3>> parseColourList(const std::string& text) {
  std::array<int, 3> colors{};
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const auto comma = text.find(',', start);
    if ((i < 2) == (comma == std::string::npos)) return std::nullopt;
    const auto value = parseIniInteger(text.substr(start, comma - start));
    if (!value || *value < 0 || *value > 0xFFFFFF) return std::nullopt;  // 24 bits
    colors[i] = *value;
    start = comma + 1;
  }
  return colors;
}

namespace {

// "e4" as a square, -1 for anything else.
int squareNamed(std::string_view name) {
  if (name.size() != 2 || name[0] < 'a' || name[0] > 'h' || name[1] < '1' || name[1] > '8') return -1;
  return ('8' - name[1]) * 8 + (name[0] - 'a');
}

// The parts of a list, "e2e4,g1f3:red": each its squares and its colour
// (green when none is given); false when a colour is unknown.
template <typename Take>
bool forEachListPart(std::string_view text, std::string_view what, std::string& problem, Take take) {
  while (true) {
    const std::size_t comma = text.find(',');
    std::string_view part = text.substr(0, comma);
    AnnotationColor color = AnnotationColor::Green;
    if (const std::size_t colon = part.find(':'); colon != std::string_view::npos) {
      color = annotationColorNamed(part.substr(colon + 1));
      if (color == AnnotationColor::None) {
        problem = std::string(what) + " takes the colours green, red, blue and yellow, not '" +
                  std::string(part.substr(colon + 1)) + "'";
        return false;
      }
      part = part.substr(0, colon);
    }
    if (!take(part, color)) return false;
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

bool fontInstalled(PieceDesign design) {
  const std::string_view file = pieceDesignInfo(design).fontFile;
  return file.empty() || ::access(std::string(file).c_str(), R_OK) == 0;
}

}  // namespace

bool parseArrowList(std::string_view text, BoardAnnotations& into, std::string& problem) {
  return forEachListPart(text, "--arrows", problem, [&](std::string_view part, AnnotationColor c) {
    const int from = part.size() == 4 ? squareNamed(part.substr(0, 2)) : -1;
    const int to = part.size() == 4 ? squareNamed(part.substr(2)) : -1;
    if (from < 0 || to < 0 || from == to) {
      problem = "--arrows takes moves such as e2e4 or g1f3:red, not '" + std::string(part) + "'";
      return false;
    }
    if (into.findArrow(from, to) < 0 && into.arrowCount >= kMaxArrows) {
      problem = "--arrows: a board holds at most " + std::to_string(kMaxArrows) + " arrows";
      return false;
    }
    setArrow(into, from, to, c);
    return true;
  });
}

bool parseSquareList(std::string_view text, BoardAnnotations& into, std::string& problem) {
  return forEachListPart(text, "--squares", problem, [&](std::string_view part, AnnotationColor c) {
    const int square = squareNamed(part);
    if (square < 0) {
      problem = "--squares takes squares such as d5 or e4:red, not '" + std::string(part) + "'";
      return false;
    }
    into.squares[square] = c;
    return true;
  });
}

int takeLookOption(const std::vector<std::string>& args, std::size_t& i, DiagramLook& look,
                   std::string& problem) {
  const std::string& a = args[i];
  if (a == "--no-coordinates") {
    look.style.coordinates = false;
    return 1;
  }
  if (a != "--arrows" && a != "--squares" && a != "--pieces" && a != "--style") return 0;
  if (i + 1 >= args.size()) {
    problem = a + " needs a value";
    return -1;
  }
  const std::string& value = args[++i];
  if (a == "--arrows") return parseArrowList(value, look.annotations, problem) ? 1 : -1;
  if (a == "--squares") return parseSquareList(value, look.annotations, problem) ? 1 : -1;
  if (a == "--style") {
    const auto style = printStyleNamed(value);
    if (!style) {
      problem = "--style takes colour, grey or newspaper, not '" + value + "'";
      return -1;
    }
    look.style.print = *style;
    return 1;
  }
  const auto design = pieceDesignNamed(value);
  if (!design) {
    std::string names;
    for (const PieceDesignInfo& d : kPieceDesigns) names += (names.empty() ? "" : ", ") + std::string(d.name);
    problem = "--pieces takes " + names + ", not '" + value + "'";
    return -1;
  }
  if (!fontInstalled(*design)) {
    problem = "--pieces " + value + ": its font " + std::string(pieceDesignInfo(*design).fontFile) +
              " cannot be found (the design is drawn from that font)";
    return -1;
  }
  look.style.pieces = *design;
  return 1;
}

BoardAnnotations epdAnnotations(std::string_view line) {
  BoardAnnotations read;
  // The operation's name begins a field: after a blank or a semicolon.
  for (std::size_t op = line.find("c9"); op != std::string_view::npos; op = line.find("c9", op + 2)) {
    const bool starts = op > 0 && (line[op - 1] == ' ' || line[op - 1] == '\t' || line[op - 1] == ';');
    const std::size_t quote = line.find_first_not_of(" \t", op + 2);
    if (!starts || quote == std::string_view::npos || line[quote] != '"') continue;
    const std::size_t end = line.find('"', quote + 1);
    if (end == std::string_view::npos) break;
    readAnnotationCommands(line.substr(quote + 1, end - quote - 1), read);
    break;
  }
  return read;
}

void addAnnotations(BoardAnnotations& into, const BoardAnnotations& more) {
  for (int i = 0; i < more.arrowCount; ++i) {
    setArrow(into, more.arrows[i].from, more.arrows[i].to, more.arrows[i].color);
  }
  for (int s = 0; s < kSquares; ++s) {
    if (more.squares[s] != AnnotationColor::None) into.squares[s] = more.squares[s];
  }
}

namespace {

bool validMarks(const std::string& marks) {
  return marks.size() == 64 && marks.find_first_not_of("*-") == std::string::npos;
}

// A headline from the command line: UTF-8 as the shell gives it, each
// character outside ISO 8859-1 as a numeric reference; bytes that are not
// UTF-8 are taken as ISO 8859-1 as they are.
std::string headlineFromArgument(const std::string& argument) {
  std::string out;
  for (std::size_t i = 0; i < argument.size();) {
    const auto byte = static_cast<unsigned char>(argument[i]);
    const int length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3
                       : (byte >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > argument.size()) return argument;
    char32_t c = length == 1 ? byte : byte & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(argument[i + k]);
      if ((next >> 6) != 2) return argument;
      c = (c << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return argument;
    if (c <= 0xFF) out.push_back(static_cast<char>(c));
    else out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    i += length;
  }
  return out;
}

enum class Verb { Html, Picture, Latex };

// Reads the options after the verb; false with `problem` set on bad usage.
bool parseOptions(const std::vector<std::string>& args, Verb verb, DiagramOptions& o,
                  std::string& problem) {
  const bool html = verb == Verb::Html, picture = verb == Verb::Picture, latex = verb == Verb::Latex;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    // The HTML table has no arrows and its images one design; LaTeX has the
    // chessboard package's pieces and look.
    const bool look = a == "--arrows" || a == "--squares" || (!html && a == "--no-coordinates") ||
                      (picture && (a == "--pieces" || a == "--style"));
    if (look) {
      if (takeLookOption(args, i, o.look, problem) < 0) return false;
      continue;
    }
    if ((html || latex) && a == "--document") {
      o.document = true;
      continue;
    }
    if (a == "--flip") {
      o.flip = true;
      continue;
    }
    if (picture && a == "--size") {
      const std::string value = i + 1 < args.size() ? args[++i] : std::string();
      const auto size = parseIniInteger(value);
      if (!size || value.find_first_not_of("0123456789") != std::string::npos || *size < 64 ||
          *size > 4096) {
        problem = "--size takes a number of pixels from 64 to 4096, not '" + value + "'";
        return false;
      }
      o.size = *size;
      continue;
    }
    std::optional<std::string>* target = nullptr;
    if (html && a == "--base") target = &o.base;
    else if ((html || latex) && a == "--head1") target = &o.head1;
    else if ((html || latex) && a == "--head2") target = &o.head2;
    else if (a == "--marks") target = &o.marks;
    else if (picture && a == "--png") target = &o.png;
    else if (picture && a == "--bmp") target = &o.bmp;
    else if (picture && a == "--svg") target = &o.svg;
    else if (latex || a != "--colours") {
      problem = "unknown option '" + a + "'";
      return false;
    }
    if (i + 1 >= args.size()) {
      problem = a + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if ((target == &o.png || target == &o.bmp || target == &o.svg) && value.empty()) {
      problem = a + " needs a file name";
      return false;
    }
    if (target == &o.marks && !validMarks(value)) {
      problem = "--marks takes exactly 64 characters of \"*\" and \"-\", not '" + value + "'";
      return false;
    }
    if (target != nullptr) {
      *target = value;
    } else if (const auto colors = parseColourList(value)) {
      o.colors = *colors;
    } else {
      problem = "--colours takes BOARD,BRIGHT,DARK as 24-bit numbers, not '" + value + "'";
      return false;
    }
  }
  return true;
}

// The first line of standard input; nothing (with the failure said) when it
// cannot be read or there is none. An empty line is a line: the empty board.
std::optional<std::string> firstLineOfInput() {
  std::string line;
  int c;
  bool any = false;
  while ((c = std::getc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (std::ferror(stdin)) {
    failure("cannot read standard input: " + std::string(std::strerror(errno)));
    return std::nullopt;
  }
  if (!any) {
    failure("no input line: standard input is empty");
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// False (with the failure said) when the input cannot be read.
bool loadPosition(Position& p, const DiagramOptions& o) {
  const std::optional<std::string> line = firstLineOfInput();
  if (!line) return false;
  p.readFen(*line);
  if (o.marks) {
    const auto marks = marksFromString(*o.marks);
    for (int s = 63; s >= 0; --s) p.setMark(s, marks[s]);
  }
  // The options' annotations over those of the line itself.
  BoardAnnotations annotations = p.annotations();
  addAnnotations(annotations, o.look.annotations);
  p.setAnnotations(annotations);
  return true;
}

std::string programFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? folderOf(std::string(path, static_cast<std::size_t>(n))) : std::string();
}

}  // namespace

int runHtmlVerb(const std::vector<std::string>& args, std::string& problem) {
  DiagramOptions o;
  if (!parseOptions(args, Verb::Html, o, problem)) return 2;
  Position p;
  if (!loadPosition(p, o)) return 1;
  HtmlInput input;
  input.record = p.record();
  input.colors = o.colors;
  input.head1 = trimControls(headlineFromArgument(o.head1.value_or(std::string())));
  input.head2 = trimControls(headlineFromArgument(o.head2.value_or(std::string())));
  input.fen = p.fenLine();
  input.imageBase = o.base       ? *o.base
                    : o.document ? localFileUrl(diagramImageFolder(programFolder()))
                                 : std::string(kDefaultWebPath);
  input.homePage = std::string(kHomePage);
  input.version = getVersionText(true);
  input.document = o.document;
  input.flipped = o.flip;
  const std::string html = makeHtml(input);
  std::fwrite(html.data(), 1, html.size(), stdout);
  return finishOutput();
}

#ifdef KALMERA_DRAWS_PICTURES
void prepareHeadlessDrawing() {
  // Headless whatever the environment says: the board's labels need fonts,
  // not a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Standard error carries only our own one-line errors, not Qt's start-up
  // notes; a platform that cannot start ends the tool with its message.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) return;
    failure(text.simplified().toStdString());
    std::_Exit(1);
  });
}
#endif

int runLatexVerb(const std::vector<std::string>& args, std::string& problem) {
  DiagramOptions o;
  if (!parseOptions(args, Verb::Latex, o, problem)) return 2;
  Position p;
  if (!loadPosition(p, o)) return 1;
  LatexInput input;
  input.record = p.record();
  input.fen = p.fenLine();
  input.head1 = headlineCharacters(o.head1.value_or(std::string()));
  input.head2 = headlineCharacters(o.head2.value_or(std::string()));
  input.flipped = o.flip;
  input.coordinates = o.look.style.coordinates;
  input.document = o.document;
  const std::string latex = makeLatex(input);
  std::fwrite(latex.data(), 1, latex.size(), stdout);
  return finishOutput();
}

int runPictureVerb(int argc, char** argv, const std::vector<std::string>& args,
                   std::string& problem) {
  DiagramOptions o;
  if (!parseOptions(args, Verb::Picture, o, problem)) return 2;
  if (o.png.has_value() + o.bmp.has_value() + o.svg.has_value() != 1) {
    problem = "picture needs exactly one of --png FILE, --bmp FILE and --svg FILE";
    return 2;
  }
  if (o.svg && o.size != 337) {
    problem = "--size is for --png and --bmp: an SVG file scales by itself";
    return 2;
  }
#ifdef KALMERA_DRAWS_PICTURES
  prepareHeadlessDrawing();
  QGuiApplication app(argc, argv);
  Position p;
  if (!loadPosition(p, o)) return 1;
  const std::string& bytes = o.png ? *o.png : o.bmp ? *o.bmp : *o.svg;
  const QString file = QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
  std::optional<QString> error;
  if (o.svg) {
    error = saveSvg(boardSvg(p.record(), o.colors, 337, 337, o.flip, o.look.style), file);
  } else {
    // Any size from the vector artwork: the board's geometry in 337 units,
    // drawn at as many pixels as asked (337 is the editor's own picture).
    QImage picture;
    BoardRenderer().redraw(picture, 337, 337, p.record(), o.colors, o.size / 337.0, o.flip,
                           o.look.style);
    error = o.png ? savePng(picture, file) : saveBmp(picture, file);
  }
  if (error) return failure(error->toStdString());
  return 0;
#else
  (void)argc;
  return runPictureProgram(argv, problem);
#endif
}

}  // namespace kalmera
