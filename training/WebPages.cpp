#include "training/WebPages.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <cmath>

#include "view/Artwork.h"

namespace kalmera::training {

namespace {

constexpr std::string_view kLetters = "PNBRQKpnbrqk";
constexpr const char* kLabelFonts[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "FreeSerif",
                                       "Noto Sans", "Noto Serif", "Unifont"};

QString css(const QColor& c) { return c.name(QColor::HexRgb); }
QString rgba(int r, int g, int b, double a) { return QString("rgba(%1,%2,%3,%4)").arg(r).arg(g).arg(b).arg(a, 0, 'f', 2); }
QString px(double v) { return QString::number(v, 'f', 2) + "px"; }

// The twelve men of a look as SVG files, written by our painter.
QStringList writePieces(const PieceLook& look, const QString& folder, int set) {
  QStringList files;
  for (int piece = 0; piece < 12; ++piece) {
    const QString name = QString("set%1-%2%3.svg").arg(set).arg(piece < 6 ? 'w' : 'b').arg(QChar(kLetters[std::size_t(piece)]).toUpper());
    QSvgGenerator svg;
    svg.setFileName(folder + "/" + name);
    svg.setSize(QSize(kPieceSize, kPieceSize));
    svg.setViewBox(QRect(0, 0, kPieceSize, kPieceSize));
    QPainter p(&svg);
    paintPiece(p, QRectF(0, 0, kPieceSize, kPieceSize), piece, look);
    p.end();
    files << name;
  }
  return files;
}

struct Placed {
  double x = 0, y = 0, size = 0;  // the squares, in CSS pixels
  double scale = 1;               // of the Scaled style
  double width = 0, height = 0;   // with what belongs to it (frame, labels)
  std::array<bool, 64> drawnOn{};  // by the square shown
  bool labelsOutside = false;      // labels beside the squares, to be kept in the cut
};

// What the page draws on a board besides its men: the last move, a check,
// a chosen square with its moves, arrows and rings.
struct Marks {
  int from = -1, to = -1;  // shown squares
  QString moveColour;
  int check = -1, selected = -1;
  std::vector<int> dots;
  std::vector<std::pair<int, int>> arrows;
  std::vector<int> rings;
  QString arrowColour;
};

Marks randomMarks(const WebBoard& b, const std::function<double()>& random) {
  const auto pick = [&](int n) { return std::min(n - 1, int(random() * n)); };
  Marks m;
  const auto shownOf = [&](int square) { return b.flipped ? 63 - square : square; };
  if (random() < 0.6) {
    m.from = pick(64), m.to = pick(64);
    const QString colours[] = {rgba(255, 255, 0, 0.4), rgba(155, 199, 0, 0.41), rgba(255, 170, 0, 0.45),
                               rgba(100, 180, 255, 0.45), rgba(20, 85, 30, 0.45), rgba(246, 246, 105, 0.8)};
    m.moveColour = colours[pick(6)];
  }
  if (random() < 0.2) {
    for (int s = 0; s < 64; ++s) {
      if (b.squares[s] == (random() < 0.5 ? 'K' : 'k')) m.check = shownOf(s);
    }
  }
  if (random() < 0.25) {
    m.selected = pick(64);
    for (int i = 0, n = 1 + pick(6); i < n; ++i) m.dots.push_back(pick(64));
  }
  if (random() < 0.3) {
    for (int i = 0, n = 1 + pick(3); i < n; ++i) m.arrows.emplace_back(pick(64), pick(64));
    const QString colours[] = {rgba(21, 120, 27, 0.8), rgba(136, 32, 32, 0.8), rgba(0, 48, 136, 0.8),
                               rgba(230, 143, 0, 0.8)};
    m.arrowColour = colours[pick(4)];
  }
  if (random() < 0.2) {
    for (int i = 0, n = 1 + pick(3); i < n; ++i) m.rings.push_back(pick(64));
  }
  return m;
}

// The squares an arrow from centre to centre passes over (a few points a
// square along it).
void markAlong(std::array<bool, 64>& drawn, int from, int to) {
  for (int i = 0; i <= 32; ++i) {
    const double t = i / 32.0;
    const double x = (from % 8 + 0.5) * (1 - t) + (to % 8 + 0.5) * t;
    const double y = (from / 8 + 0.5) * (1 - t) + (to / 8 + 0.5) * t;
    drawn[std::size_t(std::clamp(int(y), 0, 7) * 8 + std::clamp(int(x), 0, 7))] = true;
  }
}

QString overlaySvg(const Marks& m, double size) {
  if (m.arrows.empty() && m.rings.empty()) return {};
  const double q = size / 8;
  QString svg = QString("<svg style=\"position:absolute;left:0;top:0;pointer-events:none\" width=\"%1\" height=\"%1\">"
                        "<defs><marker id=\"h\" markerWidth=\"4\" markerHeight=\"4\" refX=\"2\" refY=\"2\" orient=\"auto\">"
                        "<path d=\"M0,0 L4,2 L0,4 z\" fill=\"%2\"/></marker></defs>").arg(size).arg(m.arrowColour.isEmpty() ? "green" : m.arrowColour);
  for (const auto& [from, to] : m.arrows) {
    svg += QString("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" stroke-linecap=\"round\" marker-end=\"url(#h)\"/>")
               .arg((from % 8 + 0.5) * q).arg((from / 8 + 0.5) * q).arg((to % 8 + 0.5) * q).arg((to / 8 + 0.5) * q)
               .arg(m.arrowColour).arg(q * 0.17);
  }
  for (const int s : m.rings) {
    svg += QString("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" stroke=\"%4\" stroke-width=\"%5\"/>")
               .arg((s % 8 + 0.5) * q).arg((s / 8 + 0.5) * q).arg(q * 0.45).arg(m.arrowColour.isEmpty() ? rgba(21, 120, 27, 0.8) : m.arrowColour).arg(q * 0.07);
  }
  return svg + "</svg>";
}

// The layers over a square's ground: the last move, the check, a chosen
// square, a move's dot.
QString squareLayers(const Marks& m, int shown, bool occupied, bool inset) {
  QString layers;
  const auto layer = [&](const QString& background) {
    layers += QString("<div style=\"position:absolute;inset:0;%1\"></div>").arg(background);
  };
  if (shown == m.from || shown == m.to) {
    layer(inset ? QString("box-shadow:inset 0 0 0 %1 %2").arg("4px", m.moveColour) : "background:" + m.moveColour);
  }
  if (shown == m.selected) layer("background:" + rgba(20, 85, 30, 0.5));
  if (shown == m.check) layer("background:radial-gradient(ellipse at center, rgba(255,0,0,1) 0%, rgba(231,0,0,1) 25%, rgba(169,0,0,0) 89%, rgba(158,0,0,0) 100%)");
  if (std::find(m.dots.begin(), m.dots.end(), shown) != m.dots.end()) {
    layer(occupied ? "background:radial-gradient(transparent 0%, transparent 79%, rgba(20,85,0,0.3) 80%)"
                   : "background:radial-gradient(rgba(20,85,30,0.5) 19%, rgba(0,0,0,0) 20%)");
  }
  return layers;
}

struct Label {
  QString font;
  int weight = 400;
  double size = 10;
};

QString labelStyle(const Label& l, const QColor& colour) {
  return QString("font-family:'%1';font-weight:%2;font-size:%3;line-height:1;color:%4;")
      .arg(l.font).arg(l.weight).arg(px(l.size)).arg(css(colour));
}

// One board's HTML at its place on the page.
QString boardHtml(const WebBoard& b, const QStringList& pieces, Placed& at, const std::function<double()>& random) {
  const auto chance = [&](double p) { return random() < p; };
  const double S = at.size, q = S / 8;
  const Marks marks = randomMarks(b, random);
  Label label{kLabelFonts[std::min(6, int(random() * 7))], chance(0.5) ? 400 : 700, std::max(8.0, q * (0.18 + 0.12 * random()))};
  // A board shown from Black's side without labels cannot be told from one
  // shown from White's: such boards are always labelled.
  const bool labels = b.flipped || chance(0.6);
  at.labelsOutside = labels && (b.style == PageStyle::Table || b.style == PageStyle::Layers);
  const auto rankOf = [&](int row) { return QString(QChar(b.flipped ? '1' + row : '8' - row)); };
  const auto fileOf = [&](int column) { return QString(QChar(b.flipped ? 'h' - column : 'a' + column)); };
  const auto pieceAt = [&](int shown) {
    const char c = b.squares[std::size_t(b.flipped ? 63 - shown : shown)];
    return c == 0 ? QString() : pieces[int(kLetters.find(c))];
  };
  const auto lightAt = [](int shown) { return (shown / 8 + shown % 8) % 2 == 0; };
  for (int shown = 0; shown < 64; ++shown) {
    const char c = b.squares[std::size_t(b.flipped ? 63 - shown : shown)];
    if (c != 0) continue;
    at.drawnOn[std::size_t(shown)] = shown == marks.from || shown == marks.to || shown == marks.selected ||
                                     std::find(marks.dots.begin(), marks.dots.end(), shown) != marks.dots.end() ||
                                     std::find(marks.rings.begin(), marks.rings.end(), shown) != marks.rings.end();
  }
  for (const auto& [from, to] : marks.arrows) markAlong(at.drawnOn, from, to);
  // Labels inside the edge squares are drawn on them too.
  if (labels && (b.style == PageStyle::Grid || b.style == PageStyle::Scaled)) {
    for (int i = 0; i < 8; ++i) at.drawnOn[std::size_t(b.style == PageStyle::Scaled ? i * 8 + 7 : i * 8)] = true, at.drawnOn[std::size_t(56 + i)] = true;
  }
  QString html;
  switch (b.style) {
    case PageStyle::Grid:
    case PageStyle::Scaled: {
      const bool scaled = b.style == PageStyle::Scaled;
      at.width = at.height = S * at.scale;
      html += QString("<div style=\"position:absolute;left:%1;top:%2;width:%3;height:%3;display:grid;"
                      "grid-template-columns:repeat(8,1fr);grid-template-rows:repeat(8,1fr);%4\">")
                  .arg(px(at.x), px(at.y), px(S), scaled ? QString("transform:scale(%1);transform-origin:0 0;").arg(at.scale) : QString());
      const bool rightSide = scaled;  // digits at the top right, letters at the bottom left
      const double shadow = scaled ? 1 + 2 * random() : 0;
      for (int shown = 0; shown < 64; ++shown) {
        const bool light = lightAt(shown);
        html += QString("<div style=\"position:relative;background:%1\">").arg(css(light ? b.light : b.dark));
        html += squareLayers(marks, shown, !pieceAt(shown).isEmpty(), scaled);
        if (!pieceAt(shown).isEmpty()) {
          html += QString("<img src=\"%1\" style=\"position:absolute;inset:0;width:100%;height:100%;%2\">")
                      .arg(pieceAt(shown), shadow > 0 ? QString("filter:drop-shadow(%1 %1 %2 rgba(0,0,0,0.5))").arg(px(shadow), px(shadow)) : QString());
        }
        if (labels) {
          const QString style = labelStyle(label, light ? b.dark : b.light) + "position:absolute;";
          const int row = shown / 8, column = shown % 8;
          if (column == (rightSide ? 7 : 0)) {
            html += QString("<span style=\"%1%2:%3;top:%3\">%4</span>").arg(style, rightSide ? "right" : "left", px(q * 0.05), rankOf(row));
          }
          if (row == 7) {
            html += QString("<span style=\"%1%2:%3;bottom:%3\">%4</span>").arg(style, rightSide ? "left" : "right", px(q * 0.05), fileOf(column));
          }
        }
        html += "</div>";
      }
      html += overlaySvg(marks, S) + "</div>";
      break;
    }
    case PageStyle::Table: {
      const double frame = labels ? q * (0.35 + 0.3 * random()) : q * 0.15 * random();
      const QColor frameColour = chance(0.5) ? QColor::fromHsv(int(random() * 60), 80 + int(random() * 100), 60 + int(random() * 80))
                                             : QColor::fromHsv(0, 0, chance(0.5) ? 40 + int(random() * 60) : 200 + int(random() * 50));
      const QColor text = frameColour.value() < 150 ? QColor(230, 230, 230) : QColor(30, 30, 30);
      at.width = at.height = S + 2 * frame;
      html += QString("<div style=\"position:absolute;left:%1;top:%2;width:%3;height:%3;background:%4\">")
                  .arg(px(at.x - frame), px(at.y - frame), px(S + 2 * frame), css(frameColour));
      html += QString("<table style=\"position:absolute;left:%1;top:%1;border-collapse:collapse;border-spacing:0;table-layout:fixed;width:%2;height:%2\">")
                  .arg(px(frame), px(S));
      for (int row = 0; row < 8; ++row) {
        html += "<tr>";
        for (int column = 0; column < 8; ++column) {
          const int shown = row * 8 + column;
          const QString piece = pieceAt(shown);
          html += QString("<td style=\"padding:0;width:%1;height:%1;position:relative;background:%2%3\">")
                      .arg(px(q), css(lightAt(shown) ? b.light : b.dark),
                           piece.isEmpty() ? QString() : QString(" url(%1) center/%2% no-repeat").arg(piece).arg(int(88 + 12 * random())));
          html += squareLayers(marks, shown, !piece.isEmpty(), false) + "</td>";
        }
        html += "</tr>";
      }
      html += "</table>";
      if (labels) {
        const QString style = labelStyle(label, text) + "position:absolute;display:flex;align-items:center;justify-content:center;";
        for (int i = 0; i < 8; ++i) {
          html += QString("<div style=\"%1left:0;top:%2;width:%3;height:%4\">%5</div>").arg(style, px(frame + i * q), px(frame), px(q), rankOf(i));
          html += QString("<div style=\"%1left:%2;top:%3;width:%4;height:%5\">%6</div>").arg(style, px(frame + i * q), px(frame + S), px(q), px(frame), fileOf(i));
        }
      }
      html += QString("<div style=\"position:absolute;left:%1;top:%1;width:%2;height:%2\">%3</div></div>").arg(px(frame), px(S), overlaySvg(marks, S));
      break;
    }
    case PageStyle::Layers: {
      const double margin = labels ? q * 0.5 : 0;
      at.width = at.height = S + margin;
      html += QString("<div style=\"position:absolute;left:%1;top:%2;width:%3;height:%3;"
                      "background:repeating-conic-gradient(%4 0% 25%, %5 0% 50%) 0 0/%6 %6\">")
                  .arg(px(at.x), px(at.y), px(S), css(b.dark), css(b.light), px(2 * q));
      for (int shown = 0; shown < 64; ++shown) {
        const QString layers = squareLayers(marks, shown, !pieceAt(shown).isEmpty(), false);
        if (!layers.isEmpty()) {
          html += QString("<div style=\"position:absolute;left:%1%;top:%2%;width:12.5%;height:12.5%\">%3</div>")
                      .arg(12.5 * (shown % 8)).arg(12.5 * (shown / 8)).arg(layers);
        }
        if (!pieceAt(shown).isEmpty()) {
          html += QString("<div style=\"position:absolute;left:0;top:0;width:12.5%;height:12.5%;"
                          "transform:translate(%1%,%2%);background:url(%3) center/100% no-repeat\"></div>")
                      .arg(100 * (shown % 8)).arg(100 * (shown / 8)).arg(pieceAt(shown));
        }
      }
      html += overlaySvg(marks, S) + "</div>";
      if (labels) {
        const QString style = labelStyle(label, QColor(40, 40, 40)) + "position:absolute;display:flex;align-items:center;justify-content:center;";
        for (int i = 0; i < 8; ++i) {
          html += QString("<div style=\"%1left:%2;top:%3;width:%4;height:%5\">%6</div>").arg(style, px(at.x - margin), px(at.y + i * q), px(margin), px(q), rankOf(i));
          html += QString("<div style=\"%1left:%2;top:%3;width:%4;height:%5\">%6</div>").arg(style, px(at.x + i * q), px(at.y + S), px(q), px(margin), fileOf(i));
        }
      }
      break;
    }
  }
  return html;
}

bool shoot(const QString& page, const QString& shot, int width, int height, double ratio, const QString& profile) {
  QProcess chromium;
  chromium.start("/usr/bin/chromium",
                 {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars", "--user-data-dir=" + profile,
                  QString("--force-device-scale-factor=%1").arg(ratio),
                  QString("--window-size=%1,%2").arg(width).arg(height), "--screenshot=" + shot,
                  "file://" + page});
  if (!chromium.waitForFinished(120000)) {
    chromium.kill();
    chromium.waitForFinished();
    return false;
  }
  return QFile::exists(shot);
}

}  // namespace

std::vector<ShotBoard> shotBoards(const std::vector<WebBoard>& boards, const QString& folder,
                                  const std::function<double()>& random) {
  std::vector<ShotBoard> shots;
  const QTemporaryDir profile(folder + "/profile-XXXXXX");
  constexpr double kPageWidth = 1500;
  int page = 0;
  for (std::size_t first = 0; first < boards.size();) {
    ++page;
    // The device pixel ratio of a screen: most at 1, some at 1.25 to 2.
    const double ratios[] = {1, 1, 1, 1.25, 1.5, 2};
    const double ratio = ratios[std::min(5, int(random() * 6))];
    const QColor ground = random() < 0.6 ? QColor(Qt::white) : QColor::fromHsv(int(random() * 360), int(random() * 40), 190 + int(random() * 65));
    QString body;
    std::vector<Placed> placed;
    double x = 40, y = 40, rowHeight = 0;
    std::size_t end = first;
    for (; end < boards.size() && placed.size() < 16; ++end) {
      const WebBoard& b = boards[end];
      Placed at;
      // Boards of 150 to 1,000 pixels in the shot.
      const double pixels = random() < 0.3 ? 150 + 150 * random() : 300 + 700 * random();
      at.scale = b.style == PageStyle::Scaled ? 0.7 + 0.6 * random() : 1;
      at.size = std::round(pixels / ratio / at.scale);
      const double room = at.size * at.scale + 80;
      if (x + room > kPageWidth && !placed.empty()) x = 40, y += rowHeight + 60, rowHeight = 0;
      if (y + room > 3000 / ratio && !placed.empty()) break;
      at.x = x + 30, at.y = y + 20;
      const QStringList pieces = writePieces(b.look, folder, page * 10 + int(placed.size()));
      body += boardHtml(b, pieces, at, random);
      x += room + 20;
      rowHeight = std::max(rowHeight, room);
      placed.push_back(at);
    }
    const int width = int(kPageWidth), height = int(y + rowHeight + 60);
    const QString name = folder + QString("/page-%1").arg(page);
    QFile html(name + ".html");
    html.open(QIODevice::WriteOnly);
    html.write(QString("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head>"
                       "<body style=\"margin:0;background:%1\"><div style=\"position:relative;width:%2px;height:%3px\">"
                       "<p style=\"position:absolute;left:8px;top:4px;margin:0;font:14px 'DejaVu Sans'\">Position after move 24</p>%4</div></body></html>")
                   .arg(css(ground)).arg(width).arg(height).arg(body).toUtf8());
    html.close();
    QImage shot;
    if (shoot(name + ".html", name + ".png", width, height, ratio, profile.path())) shot.load(name + ".png");
    for (std::size_t i = 0; i < placed.size(); ++i) {
      if (shot.isNull()) {
        shots.emplace_back();
        continue;
      }
      const Placed& at = placed[i];
      const double size = at.size * at.scale * ratio, q = size / 8;
      const QRectF board(at.x * ratio, at.y * ratio, size, size);
      // Cut out with some of the page around it (its labels, a frame).
      const double margin = q * ((at.labelsOutside ? 0.75 : 0.1) + 0.6 * random());
      const QRect cut = QRectF(board.x() - margin, board.y() - margin, size + 2 * margin, size + 2 * margin)
                            .toAlignedRect().intersected(shot.rect());
      ShotBoard s;
      s.picture = shot.copy(cut);
      s.board = board.translated(-cut.x(), -cut.y());
      // Marks were placed by the square shown; the answer is by square.
      for (int shown = 0; shown < 64; ++shown) {
        s.drawnOn[std::size_t(boards[first + i].flipped ? 63 - shown : shown)] = at.drawnOn[std::size_t(shown)];
      }
      shots.push_back(std::move(s));
    }
    QFile::remove(name + ".png");
    first = end;
  }
  return shots;
}

}  // namespace kalmera::training
