#include "export/Html.h"

#include <cstdio>

namespace kalmera {

namespace {

constexpr std::string_view kHtmlHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html lang=\"de\"><head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
    "<title>Kalmera Preview</title></head><body>";
constexpr std::string_view kHtmlTail = "</body></html>";

// The board table, piece by piece; its irregular markup is part of the output.
constexpr std::string_view kRankOdd =  // ranks 7, 5, 3: a dark square first
    "<tr align=\"center\" valign=\"middle\"><td $D height=\"32\">$K</td><td>$K</td><td $D>$K</td>"
    "<td>$K</td><td $D>$K</td><td>$K</td><td $D>$K</td><td>$K</td></tr>";
constexpr std::string_view kRankEven =  // ranks 6, 4, 2: a light square first
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">$K</td><td $D>$K</td><td>$K</td>"
    "<td $D>$K</td><td>$K</td><td $D>$K</td><td>$K</td><td $D>$K</td></tr>";

constexpr std::array<std::string_view, 25> kHtmlDiagram = {
    "<table cellspacing=\"2\" bgcolor=\"#000000\"><tr><td width=\"326\" $M><table border=\"0\" "
    "cellspacing=\"0\" cellpadding=\"0\">",
    "<tr align=\"center\"><td width=\"26\" rowspan=\"3\"></td><td height=\"2\" colspan=\"8\"><td "
    "width=\"26\" rowspan=\"3\">$B</td></tr>",
    "<tr align=\"center\"></td><td height=\"18\" width=\"36\">a</td><td width=\"34\">b</td><td "
    "width=\"34\">c</td><td width=\"34\">d</td><td width=\"34\">e</td><td width=\"34\">f</td><td "
    "width=\"34\">g</td><td width=\"36\">h</td></tr>",
    "<tr align=\"center\"><td height=\"6\" valign=\"top\">$b</td><td valign=\"top\">$b</td><td "
    "valign=\"top\">$b</td><td valign=\"top\">$b</td><td valign=\"top\">$b</td><td "
    "valign=\"top\">$b</td><td valign=\"top\">$b</td><td valign=\"top\">$b</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td width=\"28\" height=\"34\">8</td><td "
    "width=\"274\" colspan=\"8\" rowspan=\"8\"><table cellspacing=\"1\" bgcolor=\"#000000\"><tr><td "
    "bgcolor=\"#FFFFFF\"><table cellspacing=\"0\" cellpadding=\"1\" width=\"272\" $H>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\" width=\"32\">$K</td><td $D "
    "width=\"32\">$K</td><td width=\"32\">$K</td><td $D width=\"32\">$K</td><td "
    "width=\"32\">$K</td><td $D width=\"32\">$K</td><td width=\"32\">$K</td><td $D "
    "width=\"32\">$K</td></tr>",
    kRankOdd,
    kRankEven,
    kRankOdd,
    kRankEven,
    kRankOdd,
    kRankEven,
    "<tr align=\"center\" valign=\"middle\"><td $D height=\"32\">$K</td><td>$K</td><td $D>$K</td>"
    "<td>$K</td><td $D>$K</td><td>$K</td><td $D>$K</td><td>$K</td></tr></table></td></tr>"
    "</table></td><td width=\"28\">8</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">7</td><td>7</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">6</td><td>6</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">5</td><td>5</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">4</td><td>4</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">3</td><td>3</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"32\">2</td><td>2</td></tr>",
    "<tr align=\"center\" valign=\"middle\"><td height=\"34\">1</td><td>1</td></tr>",
    "<tr align=\"center\"><td rowspan=\"3\"></td><td height=\"6\" valign=\"bottom\">$w</td><td "
    "valign=\"bottom\">$w</td><td valign=\"bottom\">$w</td><td valign=\"bottom\">$w</td><td "
    "valign=\"bottom\">$w</td><td valign=\"bottom\">$w</td><td valign=\"bottom\">$w</td><td "
    "valign=\"bottom\">$w</td><td rowspan=\"3\">$W</td></tr>",
    "<tr align=\"center\"><td height=\"18\">a</td><td>b</td><td>c</td><td>d</td><td>e</td><td>f</td>"
    "<td>g</td><td>h</td></tr>",
    "<tr align=\"center\"><td height=\"2\" colspan=\"8\"></tr></table></td></tr></table>",
    "<font color=\"black\" face=\"serif\" size=\"-2\">Tarvik <a href=\"$U\">Kalmera</a> FEN-Editor "
    "$V</font><br><br>",
    "<font color=\"black\" face=\"sans-serif\" size=\"-1\">$F</font>",
};

// The diagram seen from Black's side: the same markup with the file letters
// and rank digits of the label cells (">a</td>", ">8</td>") turned round.
const std::array<std::string, 25>& flippedDiagram() {
  static const std::array<std::string, 25> flipped = [] {
    std::array<std::string, 25> pieces;
    for (std::size_t i = 0; i < kHtmlDiagram.size(); ++i) {
      std::string piece(kHtmlDiagram[i]);
      for (std::size_t at = 0; (at = piece.find("</td>", at)) != std::string::npos; at += 5) {
        if (at < 2 || piece[at - 2] != '>') continue;
        char& label = piece[at - 1];
        if (label >= 'a' && label <= 'h') label = static_cast<char>('a' + 'h' - label);
        else if (label >= '1' && label <= '8') label = static_cast<char>('1' + '8' - label);
      }
      pieces[i] = piece;
    }
    return pieces;
  }();
  return flipped;
}

// A value inside an attribute's double quotes: the characters that would end
// it or start markup as references, everything else as it is.
std::string attributeValue(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string colorAttribute(int color) {
  char text[32];
  std::snprintf(text, sizeof text, "bgcolor=\"#%02x%02x%02x\"", color & 0xFF, (color >> 8) & 0xFF,
                (color >> 16) & 0xFF);
  return text;
}

void appendImage(std::string& out, const std::string& base, std::string_view file,
                 std::string_view alt, int size) {
  out += "<img src=\"";
  out += base;
  out += file;
  out += "\" alt=\"";
  out += alt;
  out += "\" width=\"";
  out += std::to_string(size);
  out += "\" height=\"";
  out += std::to_string(size);
  out += "\">";
}

class Filler {
 public:
  explicit Filler(const HtmlInput& in) : in_(in), imageBase_(attributeValue(in.imageBase)) {
    const PositionRecord& r = in.record;
    board_ = colorAttribute(in.colors[0]);
    bright_ = colorAttribute(in.colors[1]);
    dark_ = colorAttribute(in.colors[2]);
    // The row above the board shows the dots of the colour at the top.
    topDots_ = r.castlingDotFiles(in.flipped);
    bottomDots_ = r.castlingDotFiles(!in.flipped);
    enPassant_ = r.validEnPassantTarget();
  }

  // One pass, left to right; replacement texts are not scanned again. The
  // diagram's part (after the headlines) may hold the cell colours "$C".
  void fill(std::string_view source, std::string& out, bool diagram = false) {
    diagram_ = diagram;
    for (std::size_t i = 0; i < source.size(); ++i) {
      const char c = source[i];
      if (c == '$') {
        if (++i < source.size()) placeholder(source[i], out);
        continue;
      }
      switch (static_cast<unsigned char>(c)) {
        case 0xE4: out += "&auml;"; break;
        case 0xF6: out += "&ouml;"; break;
        case 0xFC: out += "&uuml;"; break;
        case 0xC4: out += "&Auml;"; break;
        case 0xD6: out += "&Ouml;"; break;
        case 0xDC: out += "&Uuml;"; break;
        case 0xDF: out += "&szlig;"; break;
        default: out.push_back(c);
      }
    }
  }

 private:
  void placeholder(char which, std::string& out) {
    switch (which) {
      case 'M': out += board_; break;
      case 'H': out += bright_; break;
      case 'D': out += dark_; break;
      case 'K': square(shown(square_++), out); break;
      case 'b': dot(topDots_, shown(topFile_++, 7), out); break;
      case 'w': dot(bottomDots_, shown(bottomFile_++, 7), out); break;
      case 'B': sideImage(in_.flipped ? 0 : 1, out); break;  // top right
      case 'W': sideImage(in_.flipped ? 1 : 0, out); break;  // bottom right
      case 'U': out += in_.homePage; break;
      case 'V': out += in_.version; break;
      case 'F': out += in_.fen; break;
      case 'C':
        if (diagram_) cellColour(out);
        break;
      default: break;  // "$" and any other character yield nothing
    }
  }

  // A square's cell: the dark colour on a dark square, and a coloured
  // square's tint on either (the square the next "$K" shows).
  void cellColour(std::string& out) {
    const int s = shown(square_);
    if (s < 0 || s >= kSquares) return;
    const bool dark = (fileOf(s) + rowOf(s)) % 2 != 0;
    const AnnotationColor tint = in_.record.Annotations.squares[s];
    if (tint != AnnotationColor::None) {
      out += ' ' + colorAttribute(tintedSquare(in_.colors[dark ? 2 : 1], tint));
    } else if (dark) {
      out += ' ' + dark_;
    }
  }

  // The square or file shown at a place counted from the top left.
  int shown(int place, int last = kSquares - 1) const {
    return in_.flipped && place >= 0 && place <= last ? last - place : place;
  }

  void sideImage(int side, std::string& out) {
    if (in_.record.Side != side) return;
    if (side == 1) appendImage(out, imageBase_, "bC.png", "black", 16);
    else appendImage(out, imageBase_, "wC.png", "white", 16);
  }

  void square(int s, std::string& out) {
    if (s < 0 || s >= kSquares) return;  // a "$K" from a headline runs past h1
    const PositionRecord& r = in_.record;
    const bool marked = r.Marks[s] != 0;
    if (s == enPassant_) {
      appendImage(out, imageBase_, marked ? "EP1.png" : "EP0.png", marked ? "ep[]" : "ep", 32);
      return;
    }
    const char piece = r.Board[s];
    if (piece == 0) {
      if (marked) appendImage(out, imageBase_, "xX1.png", "[]", 32);
      return;
    }
    std::string name;
    name.push_back(isWhitePiece(piece) ? 'w' : 'b');
    name.push_back(isWhitePiece(piece) ? piece : static_cast<char>(piece - 'a' + 'A'));
    const std::string alt = marked ? name + "[]" : name;
    appendImage(out, imageBase_, name + (marked ? "1.png" : ".png"), alt, 32);
  }

  void dot(unsigned files, int file, std::string& out) {
    if (!in_.record.Extended || file < 0 || file > 7 || !(files >> file & 1u)) return;
    appendImage(out, imageBase_, "Dot.png", "Dot", 4);
  }

  const HtmlInput& in_;
  std::string imageBase_;  // as an attribute value
  std::string board_, bright_, dark_;
  unsigned topDots_ = 0, bottomDots_ = 0;
  int enPassant_ = -1;
  int square_ = 0, topFile_ = 0, bottomFile_ = 0;
  bool diagram_ = false;
};

// The board's rows with a colour placeholder in every square's cell, for a
// board with coloured squares: "<td" + "$C" in place of "<td $D" and "<td".
std::string withCellColours(std::string_view piece) {
  std::string out;
  for (std::size_t at = 0; at < piece.size();) {
    const std::size_t cell = piece.find("<td", at);
    if (cell == std::string_view::npos) {
      out += piece.substr(at);
      break;
    }
    out += piece.substr(at, cell + 3 - at);
    at = cell + 3;
    // Only the cells that hold a square ("$K" before their end).
    const std::size_t close = piece.find("</td>", at);
    const std::size_t square = piece.find("$K", at);
    if (square == std::string_view::npos || square > close) continue;
    out += "$C";
    if (piece.substr(at, 3) == " $D") at += 3;
  }
  return out;
}

}  // namespace

std::string localFileUrl(std::string_view path) {
  static constexpr std::string_view kKept =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~/!$&'()*+,;=:@[]";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : path) {
    if (kKept.find(c) != std::string_view::npos) {
      url.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      url.push_back('%');
      url.push_back(kHex[byte >> 4]);
      url.push_back(kHex[byte & 15]);
    }
  }
  return url;
}

std::string makeHtml(const HtmlInput& input) {
  std::string source;
  if (input.document) source += kHtmlHead;
  if (!input.head1.empty()) {
    source += "<font size=\"+2\"><strong>" + input.head1 + "</strong></font><br>";
  }
  if (!input.head2.empty()) {
    source += "<font size=\"+1\"><strong>" + input.head2 + "</strong></font><br>";
  }
  if (!input.head1.empty() || !input.head2.empty()) source += "<br>";
  // The headlines and the diagram are filled in one pass, as one text.
  std::string diagram;
  const bool tinted = input.record.Annotations.anySquare();
  for (std::size_t i = 0; i < kHtmlDiagram.size(); ++i) {
    const std::string_view piece = input.flipped ? std::string_view(flippedDiagram()[i]) : kHtmlDiagram[i];
    // The board's own rows: the pieces from the first row of squares to the last.
    diagram += tinted && i >= 5 && i <= 12 ? withCellColours(piece) : std::string(piece);
  }
  if (input.document) diagram += kHtmlTail;

  std::string out;
  out.reserve(source.size() + diagram.size() + 6000);
  Filler filler(input);
  filler.fill(source, out);
  filler.fill(diagram, out, true);
  return out;
}

}  // namespace kalmera
