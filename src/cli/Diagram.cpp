#include "cli/Diagram.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <iostream>
#include <optional>

#include "export/Html.h"
#include "export/Version.h"
#include "model/Position.h"
#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "setup/Trim.h"

#ifdef KALMERA_WITH_PICTURES
#include <QGuiApplication>
#include <QImage>

#include "export/PictureFiles.h"
#include "view/BoardRenderer.h"
#endif

namespace kalmera {

namespace {

struct DiagramOptions {
  bool document = false;
  std::optional<std::string> base, head1, head2, marks, png, bmp;
  std::array<int, 3> colors{kDefaultBoardColor, kDefaultBrightColor, kDefaultDarkColor};
};

std::optional<std::array<int, 3>> parseColours(const std::string& text) {
  std::array<int, 3> colors{};
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const auto comma = text.find(',', start);
    if ((i < 2) == (comma == std::string::npos)) return std::nullopt;
    const auto value = parseIniInteger(text.substr(start, comma - start));
    if (!value) return std::nullopt;
    colors[i] = *value;
    start = comma + 1;
  }
  return colors;
}

// Reads the options after the verb; false with `problem` set on bad usage.
bool parseOptions(const std::vector<std::string>& args, bool html, DiagramOptions& o,
                  std::string& problem) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (html && a == "--document") {
      o.document = true;
      continue;
    }
    std::optional<std::string>* target = nullptr;
    if (html && a == "--base") target = &o.base;
    else if (html && a == "--head1") target = &o.head1;
    else if (html && a == "--head2") target = &o.head2;
    else if (a == "--marks") target = &o.marks;
    else if (!html && a == "--png") target = &o.png;
    else if (!html && a == "--bmp") target = &o.bmp;
    else if (a != "--colours") {
      problem = "unknown option '" + a + "'";
      return false;
    }
    if (i + 1 >= args.size()) {
      problem = a + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (target != nullptr) {
      *target = value;
    } else if (const auto colors = parseColours(value)) {
      o.colors = *colors;
    } else {
      problem = "--colours takes BOARD,BRIGHT,DARK as numbers, not '" + value + "'";
      return false;
    }
  }
  return true;
}

std::string firstLineOfInput() {
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void loadPosition(Position& p, const DiagramOptions& o) {
  p.readFen(firstLineOfInput());
  if (o.marks) {
    const auto marks = marksFromString(*o.marks);
    for (int s = 63; s >= 0; --s) p.setMark(s, marks[s]);
  }
}

std::string programFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? folderOf(std::string(path, static_cast<std::size_t>(n))) : std::string();
}

}  // namespace

int runHtmlVerb(const std::vector<std::string>& args, std::string& problem) {
  DiagramOptions o;
  if (!parseOptions(args, true, o, problem)) return 2;
  Position p;
  loadPosition(p, o);
  HtmlInput input;
  input.record = p.record();
  input.colors = o.colors;
  input.head1 = trimControls(o.head1.value_or(std::string()));
  input.head2 = trimControls(o.head2.value_or(std::string()));
  input.fen = p.fenLine();
  input.imageBase = o.base ? *o.base
                    : o.document ? "file://" + programFolder() + "PNG" + kPathSeparator
                                 : std::string(kDefaultWebPath);
  input.homePage = std::string(kHomePage);
  input.version = getVersionText(true);
  input.document = o.document;
  const std::string html = makeHtml(input);
  if (std::fwrite(html.data(), 1, html.size(), stdout) != html.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "kalmera-fen: cannot write the diagram\n");
    return 1;
  }
  return 0;
}

int runPictureVerb(int argc, char** argv, const std::vector<std::string>& args,
                   std::string& problem) {
  DiagramOptions o;
  if (!parseOptions(args, false, o, problem)) return 2;
  if (o.png.has_value() == o.bmp.has_value()) {
    problem = "picture needs exactly one of --png FILE and --bmp FILE";
    return 2;
  }
#ifdef KALMERA_WITH_PICTURES
  // Headless: the board's labels need fonts, not a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Standard error carries only our own one-line errors, not Qt's start-up notes.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) std::fprintf(stderr, "kalmera-fen: %s\n", qPrintable(text));
  });
  QGuiApplication app(argc, argv);
  Position p;
  loadPosition(p, o);
  QImage picture;
  BoardRenderer().redraw(picture, 337, 337, p.record(), o.colors);
  const QString file = QString::fromLocal8Bit(o.png ? *o.png : *o.bmp);
  const auto error = o.png ? savePng(picture, file) : saveBmp(picture, file);
  if (error) {
    std::fprintf(stderr, "kalmera-fen: %s\n", qPrintable(*error));
    return 1;
  }
  return 0;
#else
  (void)argc;
  (void)argv;
  problem = "this kalmera-fen was built without pictures";
  return 2;
#endif
}

}  // namespace kalmera
