#include "export/CollectionExport.h"

#include <algorithm>
#include <cstdio>

#include "collection/Collection.h"
#include "export/Html.h"
#include "export/Latex.h"
#include "model/FenRecord.h"

namespace kalmera {

namespace {

const EpdOperation* findOperation(const std::vector<EpdOperation>& operations,
                                  std::string_view opcode) {
  for (const EpdOperation& operation : operations) {
    if (operation.opcode() == opcode) return &operation;
  }
  return nullptr;
}

std::u32string ascii(std::string_view text) { return std::u32string(text.begin(), text.end()); }

// The mate count of "dm": a number from 1 to 999, else 0.
int mateCount(const EpdOperation* mate) {
  if (mate == nullptr) return 0;
  const std::string value = mate->value();
  const bool digits = value.find_first_not_of("0123456789") == std::string::npos;
  if (value.empty() || value.size() > 3 || !digits) return 0;
  return std::stoi(value);
}

std::u32string mateWords(int moves, int side, bool german) {
  const std::string n = std::to_string(moves);
  if (german) {
    return (side == 1 ? U"Schwarz" : U"Wei\u00DF") + ascii(" setzt in " + n) +
           (moves == 1 ? U" Zug matt" : U" Z\u00FCgen matt");
  }
  return ascii((side == 1 ? "Black mates in " : "White mates in ") + n);
}

std::u32string_view trimmed(std::u32string_view text) {
  while (!text.empty() && text.front() <= 32) text.remove_prefix(1);
  while (!text.empty() && text.back() <= 32) text.remove_suffix(1);
  return text;
}

// ---------------------------------------------------------------- LaTeX

constexpr std::string_view kLatexPreamble =
    "\\documentclass{article}\n\\usepackage{cmap}\n\\usepackage[T1]{fontenc}\n"
    "\\usepackage[utf8]{inputenc}\n\\usepackage{chessboard}\n";

std::string hex(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(c));
  return text;
}

// ---------------------------------------------------------------- HTML

// A text for the page: the characters markup would read as references,
// "$" too (the diagram's template would fill it as a placeholder), those
// above ISO 8859-1 as numeric references, control characters as blanks.
std::string htmlText(std::u32string_view text) {
  std::string out;
  for (const char32_t c : text) {
    switch (c) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      case '$': out += "&#36;"; continue;
      default: break;
    }
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      out.push_back(' ');
    } else if (c <= 0xFF) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    }
  }
  return out;
}

// ---------------------------------------------------------------- file names

// The letters U+00C0 to U+00FF in ASCII; "" for the two that are no letters
// (multiplication and division signs).
constexpr std::array<std::string_view, 64> kLatinLetters = {
    "A", "A", "A", "A", "Ae", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "Oe", "",  "O", "U", "U", "U", "Ue", "Y", "Th", "ss",
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "y"};

constexpr std::size_t kMaxTitleInName = 48;

bool isAsciiLetterOrDigit(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isApostrophe(char32_t c) { return c == '\'' || c == 0x2019 || c == 0x02BC; }

}  // namespace

std::u32string stipulationText(const std::vector<EpdOperation>& operations, int side,
                               bool german) {
  if (const EpdOperation* stipulation = findOperation(operations, kStipulationOpcode)) {
    const std::u32string text = headlineCharacters(stipulation->value());
    if (!trimmed(text).empty()) return text;
  }
  const int moves = mateCount(findOperation(operations, kMateOpcode));
  return moves > 0 ? mateWords(moves, side, german) : std::u32string();
}

std::u32string titleText(const std::vector<EpdOperation>& operations) {
  const EpdOperation* title = findOperation(operations, kTitleOpcode);
  return title != nullptr ? headlineCharacters(title->value()) : std::u32string();
}

std::u32string solutionText(const std::vector<EpdOperation>& operations) {
  for (const std::string_view opcode : {kBestMovesOpcode, kVariationOpcode, kCommentOpcode}) {
    const EpdOperation* operation = findOperation(operations, opcode);
    if (operation == nullptr) continue;
    const std::u32string text = headlineCharacters(operation->value());
    if (!trimmed(text).empty()) return text;
  }
  return {};
}

std::vector<PublishedDiagram> publishedDiagrams(const Collection& collection, bool german) {
  std::vector<PublishedDiagram> diagrams;
  for (std::size_t row = 0; row < collection.size(); ++row) {
    const Entry& entry = collection.entry(row);
    if (!entry.isPosition()) continue;
    PublishedDiagram d;
    d.record = entry.record();
    std::array<char, kMaxFenLength> fen;
    d.fen.assign(fen.data(), writeFen(d.record, fen.data()));
    d.number = static_cast<int>(diagrams.size()) + 1;
    d.title = headlineCharacters(entry.title());
    d.stipulation = stipulationText(entry.operations(), d.record.Side, german);
    d.solution = solutionText(entry.operations());
    diagrams.push_back(std::move(d));
  }
  return diagrams;
}

std::u32string numberedTitle(const PublishedDiagram& diagram) {
  std::u32string head = ascii(std::to_string(diagram.number) + ".");
  const std::u32string_view title = trimmed(diagram.title);
  if (!title.empty()) head += U" " + std::u32string(title);
  return head;
}

std::string collectionLatex(const std::vector<PublishedDiagram>& diagrams,
                            std::u32string_view title) {
  std::u32string unprintable;
  const std::string heading = latexText(trimmed(title), &unprintable);
  std::string body;
  for (const PublishedDiagram& d : diagrams) {
    LatexInput input;
    input.record = d.record;
    input.fen = d.fen;
    input.head1 = numberedTitle(d);
    input.head2 = d.stipulation;
    latexText(input.head1, &unprintable);
    latexText(input.head2, &unprintable);
    // A minipage keeps the headlines on the page of their board.
    body += "\\noindent\\begin{minipage}{\\linewidth}\n" + makeLatex(input) +
            "\\end{minipage}\n\\par\\bigskip\n";
  }
  std::string out(kLatexPreamble);
  // Characters the fonts lack are shown by their numbers, as in the document
  // of one diagram, so that the document compiles whatever the texts hold.
  std::sort(unprintable.begin(), unprintable.end());
  for (const char32_t c : unprintable) {
    out += "\\DeclareUnicodeCharacter{" + hex(c) + "}{[U+" + hex(c) + "]}\n";
  }
  out += "\\begin{document}\n";
  if (!heading.empty()) {
    out += "\\begin{center}\n{\\LARGE\\bfseries " + heading + "}\n\\end{center}\n";
  }
  out += body;
  // An empty document still makes a page.
  if (diagrams.empty() && heading.empty()) out += "\\mbox{}\n";
  out += "\\end{document}\n";
  return out;
}

std::string collectionHtml(const std::vector<PublishedDiagram>& diagrams,
                           const CollectionPageInput& in) {
  const std::string title = htmlText(trimmed(in.title));
  std::string out =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html lang=\"" +
      std::string(in.german ? "de" : "en") +
      "\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
      "<title>" +
      (title.empty() ? std::string("Kalmera") : title) + "</title></head><body>\n";
  if (!title.empty()) out += "<h1>" + title + "</h1>\n";
  for (const PublishedDiagram& d : diagrams) {
    HtmlInput input;
    input.record = d.record;
    input.colors = in.colors;
    input.head1 = htmlText(numberedTitle(d));
    input.head2 = htmlText(trimmed(d.stipulation));
    input.fen = d.fen;
    input.imageBase = in.imageBase;
    input.homePage = in.homePage;
    input.version = in.version;
    out += makeHtml(input) + "<br><br>\n";
  }
  out += "</body></html>\n";
  return out;
}

std::string pictureFileName(int number, int count, std::u32string_view title,
                            std::string_view extension) {
  const std::size_t width = std::max<std::size_t>(2, std::to_string(std::max(count, number)).size());
  std::string name = std::to_string(number);
  if (name.size() < width) name.insert(0, width - name.size(), '0');

  std::string safe;
  bool gap = false;
  for (const char32_t c : title) {
    std::string_view spelled;
    char single = 0;
    if (isAsciiLetterOrDigit(c)) {
      single = static_cast<char>(c);
      spelled = std::string_view(&single, 1);
    } else if (c >= 0xC0 && c <= 0xFF) {
      spelled = kLatinLetters[c - 0xC0];
    } else if (isApostrophe(c)) {
      continue;
    }
    if (spelled.empty()) {
      gap = true;
      continue;
    }
    if (gap && !safe.empty()) safe.push_back('-');
    gap = false;
    safe.append(spelled);
    if (safe.size() >= kMaxTitleInName) break;
  }
  safe.resize(std::min(safe.size(), kMaxTitleInName));
  while (!safe.empty() && safe.back() == '-') safe.pop_back();

  if (!safe.empty()) name += "-" + safe;
  name += ".";
  name += extension;
  return name;
}

}  // namespace kalmera
