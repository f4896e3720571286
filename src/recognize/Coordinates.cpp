// The orientation from the printed coordinates, wherever a board puts them:
// beside it, in a frame around it, or small inside the corners of the edge
// squares, dark on light or light on dark, in any font. Eight labels stand
// in a row along one edge; their shapes, not their meaning, decide, so no
// font has to be known:
//   the ranks, top to bottom, read 8 7 6 5 4 3 2 1 with White at the bottom:
//     an "8" has two holes and the most ink of the digits, a "1" none and
//     the least; a "7" has less ink than a "2", a "6" a hole where "3" has
//     none;
//   the files, left to right, read a b c d e f g h: small letters rise to
//     the ascender line every second one (b d f h), and "g" hangs below.
// Labels inside the squares in one colour (white, say) show on one colour
// of square only: the four that show (or three) make a row then.
// Each row of labels found gives a score for White at the bottom (positive)
// or at the top (negative); the rows' scores add up, and only a clear sum
// decides.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "recognize/Recognizer.h"

namespace kalmera {

namespace {

struct Box {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 past the last pixel
  int width() const { return x1 - x0; }
  int height() const { return y1 - y0; }
};

// One label: its ink (in pixels of full contrast), its extent and its holes.
struct Glyph {
  bool found = false;
  double ink = 0;
  double top = 0, bottom = 0, left = 0, right = 0;
  int holes = 0;
  double height() const { return bottom - top; }
};

// Which sides of a patch face the rest of the board: ink touching them
// belongs to something larger (a man, a frame's line), not to a label.
enum Side : unsigned { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

float medianOf(std::vector<float> v) {
  std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
  return v[v.size() / 2];
}

Box clipped(Box box, const GrayImage& g) {
  box.x0 = std::max(0, box.x0), box.y0 = std::max(0, box.y0);
  box.x1 = std::min(g.width, box.x1), box.y1 = std::min(g.height, box.y1);
  return box;
}

// The label in a patch: the pixels that differ from the ground (the median
// of `groundBox`, a part of the patch where the label's ground is sure to
// be) by more than `threshold`, in the connected parts that keep off the
// sides `closed` and are no larger than a label can be.
Glyph glyphIn(const GrayImage& g, Box box, Box groundBox, float threshold, unsigned closed, double largest) {
  box = clipped(box, g), groundBox = clipped(groundBox, g);
  const int w = box.width(), h = box.height();
  if (w < 4 || h < 4 || groundBox.width() < 1 || groundBox.height() < 1) return {};
  std::vector<float> values, around;
  values.reserve(std::size_t(w) * h);
  for (int y = box.y0; y < box.y1; ++y) {
    for (int x = box.x0; x < box.x1; ++x) values.push_back(g.at(x, y));
  }
  for (int y = groundBox.y0; y < groundBox.y1; ++y) {
    for (int x = groundBox.x0; x < groundBox.x1; ++x) around.push_back(g.at(x, y));
  }
  const float ground = medianOf(around);
  std::vector<float> ink(values.size());
  std::vector<int> part(values.size(), -1);
  for (std::size_t i = 0; i < values.size(); ++i) ink[i] = std::abs(values[i] - ground);
  // The connected parts of the inked pixels (8-neighbours).
  struct Part {
    int x0, y0, x1, y1;
    double ink;
    bool touching;
  };
  std::vector<Part> parts;
  std::vector<int> todo;
  for (std::size_t start = 0; start < ink.size(); ++start) {
    if (ink[start] <= threshold || part[start] >= 0) continue;
    const int id = int(parts.size());
    Part p{w, h, 0, 0, 0, false};
    part[start] = id;
    todo.assign(1, int(start));
    while (!todo.empty()) {
      const int at = todo.back();
      todo.pop_back();
      const int x = at % w, y = at / w;
      p.x0 = std::min(p.x0, x), p.y0 = std::min(p.y0, y), p.x1 = std::max(p.x1, x + 1), p.y1 = std::max(p.y1, y + 1);
      p.ink += ink[std::size_t(at)];
      p.touching = p.touching || ((closed & kLeft) && x == 0) || ((closed & kRight) && x == w - 1) ||
                   ((closed & kTop) && y == 0) || ((closed & kBottom) && y == h - 1);
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          const std::size_t n = std::size_t(ny) * w + nx;
          if (part[n] >= 0 || ink[n] <= threshold) continue;
          part[n] = id;
          todo.push_back(int(n));
        }
      }
    }
    parts.push_back(p);
  }
  // The label: the parts that may belong to one, together; specks of a
  // pixel or two (noise) left out.
  Glyph glyph;
  Box union_{w, h, 0, 0};
  std::vector<bool> kept(parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Part& p = parts[i];
    if (p.touching || p.x1 - p.x0 > largest || p.y1 - p.y0 > largest || p.ink < 2.5 * threshold) continue;
    kept[i] = true;
    union_.x0 = std::min(union_.x0, p.x0), union_.y0 = std::min(union_.y0, p.y0);
    union_.x1 = std::max(union_.x1, p.x1), union_.y1 = std::max(union_.y1, p.y1);
    glyph.ink += p.ink;
  }
  if (union_.x1 <= union_.x0 || union_.width() > largest || union_.height() > largest) return {};
  // One letter or digit is not much wider than high; words (a caption's)
  // are.
  if (union_.width() > 1.6 * union_.height() + 2) return {};
  glyph.found = true;
  glyph.left = box.x0 + union_.x0, glyph.right = box.x0 + union_.x1;
  glyph.top = box.y0 + union_.y0, glyph.bottom = box.y0 + union_.y1;
  // Holes: the places inside the label's box, not reached from its border
  // through pixels weaker than a third of the label's strongest ink (thin
  // anti-aliased strokes fall below half of it where they run aslant).
  float strongest = 0;
  for (std::size_t i = 0; i < ink.size(); ++i) {
    if (part[i] >= 0 && kept[std::size_t(part[i])]) strongest = std::max(strongest, ink[i]);
  }
  const float solid = std::max(threshold, strongest * 0.35f);
  const int bw = union_.width() + 2, bh = union_.height() + 2;
  std::vector<char> state(std::size_t(bw) * bh, 0);  // 0 open, 1 ink, 2 reached
  for (int y = 0; y < bh; ++y) {
    for (int x = 0; x < bw; ++x) {
      const int px = union_.x0 + x - 1, py = union_.y0 + y - 1;
      if (px < 0 || py < 0 || px >= w || py >= h) continue;
      const std::size_t i = std::size_t(py) * w + px;
      if (part[i] >= 0 && kept[std::size_t(part[i])] && ink[i] > solid) state[std::size_t(y) * bw + x] = 1;
    }
  }
  const auto fill = [&](int from) {
    todo.assign(1, from);
    state[std::size_t(from)] = 2;
    int size = 0;
    while (!todo.empty()) {
      const int at = todo.back();
      todo.pop_back();
      ++size;
      const int x = at % bw, y = at / bw;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= bw || ny >= bh || state[std::size_t(ny) * bw + nx] != 0) continue;
        state[std::size_t(ny) * bw + nx] = 2;
        todo.push_back(ny * bw + nx);
      }
    }
    return size;
  };
  fill(0);
  for (int i = 0; i < bw * bh; ++i) {
    if (state[std::size_t(i)] == 0) glyph.holes += fill(i) >= 1;
  }
  return glyph;
}

// The heights of the labels found.
std::vector<float> heightsOf(const std::array<Glyph, 8>& row) {
  std::vector<float> heights;
  for (const Glyph& glyph : row) {
    if (glyph.found) heights.push_back(float(glyph.height()));
  }
  return heights;
}

// How many of the labels found are of about their typical height; none when
// that height is no label's (too small, or most of a square).
std::size_t ofOneHeight(const std::vector<float>& heights, double square) {
  if (heights.empty()) return 0;
  const float typical = medianOf(heights);
  if (typical < 4 || typical > 0.6 * square) return 0;
  return std::size_t(std::count_if(heights.begin(), heights.end(),
                                   [&](float h) { return h > 0.6f * typical && h < 1.6f * typical; }));
}

// Eight labels in a row, if they look like one: at least five found (a
// man may hide a label), of about one height.
bool isRow(const std::array<Glyph, 8>& row, double square) {
  return ofOneHeight(heightsOf(row), square) >= 5;
}

// Labels inside the squares drawn in one colour on both colours of square
// show on one of them only (white on a light square is next to nothing,
// and what is found of it is a trace): the labels on one colour of square
// (three of the four at least: a man may hide one), all of about one
// height, when those on the other left no more than a trace. The places of
// the others stay empty.
std::optional<std::array<Glyph, 8>> labelsOnOneColour(const std::array<Glyph, 8>& row, double square) {
  for (const int first : {0, 1}) {
    std::array<Glyph, 8> half{};
    double weakest = 1e30;
    for (int i = first; i < 8; i += 2) {
      half[std::size_t(i)] = row[std::size_t(i)];
      if (row[std::size_t(i)].found) weakest = std::min(weakest, row[std::size_t(i)].ink);
    }
    const std::vector<float> heights = heightsOf(half);
    if (heights.size() < 3 || ofOneHeight(heights, square) < heights.size()) continue;
    bool traces = true;
    for (int i = 1 - first; i < 8; i += 2) {
      const Glyph& glyph = row[std::size_t(i)];
      traces = traces && (!glyph.found || glyph.ink < 0.35 * weakest);
    }
    if (traces) return half;
  }
  return std::nullopt;
}

// The ranks top to bottom: positive for 8 ... 1 (White at the bottom). The
// holes each digit has in most fonts (a "4" may be open), and the ink of
// each beside the others', from the fonts Debian ships: the row fitted to
// both orders, the better fit wins (a label hidden by a man or a highlight
// spoils one place, not the row).
double rankScore(const std::array<Glyph, 8>& r) {
  constexpr std::array<double, 8> kHoles{0, 0, 0, 0.6, 0, 1, 0, 2};  // of "1" ... "8"
  constexpr std::array<double, 8> kInk{0.85, 0.95, 0.9, 1.05, 1.0, 1.1, 0.75, 1.15};
  double holes = 0;
  std::vector<double> upright, flipped;  // log ink over the expected, in each order
  std::vector<double> inks;
  for (int i = 0; i < 8; ++i) {
    const Glyph& glyph = r[std::size_t(i)];
    if (!glyph.found) continue;
    const int up = 7 - i, down = i;  // the digit (less one) in each order
    holes += std::min(glyph.holes, 2) * (kHoles[std::size_t(up)] - kHoles[std::size_t(down)]);
    upright.push_back(std::log(std::max(glyph.ink, 1.0) / kInk[std::size_t(up)]));
    flipped.push_back(std::log(std::max(glyph.ink, 1.0) / kInk[std::size_t(down)]));
  }
  const auto misfit = [](std::vector<double> v) {
    std::vector<double> sorted = v;
    std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
    const double middle = sorted[sorted.size() / 2];
    double sum = 0;
    for (const double x : v) sum += std::min(0.3, std::abs(x - middle));
    return sum;
  };
  const double ink = upright.empty() ? 0 : misfit(flipped) - misfit(upright);
  return 0.7 * holes + 3 * ink;
}

// The files left to right: positive for a ... h, from the small letters'
// heights (upper-case letters and figures give about nothing).
double fileScore(const std::array<Glyph, 8>& f) {
  std::vector<float> tops, bottoms, heights;
  for (const Glyph& glyph : f) {
    if (!glyph.found) continue;
    tops.push_back(float(glyph.top)), bottoms.push_back(float(glyph.bottom)), heights.push_back(float(glyph.height()));
  }
  if (heights.empty()) return 0;
  const double height = medianOf(heights), baseline = medianOf(bottoms);
  // Rising above the others (b, d, f, h) counts for the odd places.
  double rising = 0;
  int pairs = 0;
  for (int i = 0; i + 1 < 8; i += 2) {
    const Glyph& even = f[std::size_t(i)];
    const Glyph& odd = f[std::size_t(i + 1)];
    if (!even.found || !odd.found) continue;
    rising += (even.top - odd.top) / height;
    ++pairs;
  }
  double score = pairs > 0 ? 4 * rising / pairs : 0;
  // "g" hangs below the line: the seventh place, or the second.
  const auto hanging = [&](int i) { return f[std::size_t(i)].found ? (f[std::size_t(i)].bottom - baseline) / height : 0.0; };
  score += 2 * std::clamp(hanging(6) - hanging(1), -0.5, 0.5);
  return score;
}

}  // namespace

std::optional<bool> flippedByCoordinates(const GrayImage& g, const BoardArea& b, bool* labelsSeen) {
  const double sw = b.squareWidth(), sh = b.squareHeight();
  const std::optional<GroundLevels> levels = groundLevels(g, b);
  const float contrast = levels ? levels->light - levels->dark : 60;
  const float inside = std::max(14.0f, 0.38f * contrast), outside = 40;
  const auto at = [](double x0, double y0, double x1, double y1) {
    return Box{int(std::floor(x0)), int(std::floor(y0)), int(std::ceil(x1)), int(std::ceil(y1))};
  };
  double total = 0;
  bool any = false;
  // A row of labels: the patch of each rank (or file) and the part of it
  // that shows the label's ground, as `patch(i)` gives them.
  // Labels beside the board stand in the middle of their rank or file
  // (`centred`): text that is not (a caption's words) is no label.
  const auto consider = [&](bool ranks, float threshold, unsigned closed, double largest, bool centred, auto patch) {
    std::array<Glyph, 8> row;
    for (int i = 0; i < 8; ++i) {
      const auto [box, ground] = patch(i);
      Glyph& glyph = row[std::size_t(i)];
      glyph = glyphIn(g, box, ground, threshold, closed, largest);
      const double off = ranks ? (glyph.top + glyph.bottom - box.y0 - box.y1) / 2 / sh
                               : (glyph.left + glyph.right - box.x0 - box.x1) / 2 / sw;
      if (centred && std::abs(off) > 0.2) glyph = {};
    }
    if (const auto half = centred ? std::nullopt : labelsOnOneColour(row, std::min(sw, sh))) {
      row = *half;
    } else if (!isRow(row, std::min(sw, sh))) {
      return false;
    }
    any = true;
    total += ranks ? rankScore(row) : fileScore(row);
    return true;
  };
  const double left = b.x, top = b.y, right = b.x + b.width, bottom = b.y + b.height;
  // Where out from one side labels may stand: past the lines inked all
  // along next to the board (its border, a shadow: a label near them would
  // else merge with them), up to the first line along the whole side that
  // differs from the ground next to the board nearly all along (the outer
  // edge of a frame, where the page begins; labels that fill a narrow frame
  // would else merge with the page), at most a square and a bit.
  struct Band {
    double from, to;  // distances from the board's edge
  };
  const auto reach = [&](bool columns, bool outwards) -> Band {
    const double step = columns ? sw : sh;
    const double edge = columns ? (outwards ? right : left) : (outwards ? bottom : top);
    const double direction = outwards ? 1 : -1;
    const int from = std::max(0, int(columns ? top : left)), to = std::min(columns ? g.height : g.width, int(columns ? bottom : right));
    const int lines = columns ? g.width : g.height;
    const auto line = [&](double distance) { return int(std::floor(edge + direction * distance)); };
    // The band that starts at `begin` on the ground seen just beyond it.
    const auto walk = [&](double begin) -> Band {
      std::vector<float> near;
      for (double d = begin; d < begin + 0.26 * step; d += 1) {
        const int l = line(d);
        if (l < 0 || l >= lines) break;
        for (int a = from; a < to; a += 2) near.push_back(columns ? g.at(l, a) : g.at(a, l));
      }
      if (near.empty() || to <= from) return {begin, begin};
      const float ground = medianOf(near);
      // Lines inked all along next to the board (its border, a shadow) come
      // before the labels' ground; a thin line inked all along (a frame's
      // border drawn on it) is passed over: the page beyond a frame goes on.
      const auto inkedAt = [&](double d) {
        const int l = line(d);
        if (l < 0 || l >= lines) return -1.0;
        int inked = 0;
        // (By a little less than a label's ink: a JPEG brings a frame's
        // colour nearer to its border's.)
        for (int a = from; a < to; ++a) {
          inked += std::abs((columns ? g.at(l, a) : g.at(a, l)) - ground) > 0.6f * outside;
        }
        return double(inked) / (to - from);
      };
      bool open = false;
      double start = begin;
      for (double d = begin; d < 1.1 * step; d += 1) {
        const double inked = inkedAt(d);
        if (inked < 0) return {start, d - 1};
        if (inked < 0.5) {
          if (!open && d < begin + 0.26 * step) start = d;
          open = true;
        } else if (open && inked > 0.9) {
          bool thin = false;
          for (double e = d + 1; e <= d + std::max(2.0, 0.12 * step) && !thin; e += 1) {
            const double beyond = inkedAt(e);
            thin = beyond >= 0 && beyond < 0.5;
          }
          if (!thin) return {start, d - 1};
        }
      }
      return {start, 1.1 * step};
    };
    // A band too narrow for a label took a thick border for the ground:
    // the ground is looked for again past it.
    Band band = walk(0.04 * step);
    for (int again = 0; again < 2 && band.to - band.from < std::max(5.0, 0.2 * step); ++again) {
      const Band beyond = walk(band.to + 1);
      if (beyond.to - beyond.from <= band.to - band.from) break;
      band = beyond;
    }
    return band;
  };
  // Beside the board or in its frame: a band of about a square (or the
  // frame), each label in the middle of its rank or file, on the band's
  // ground (what most of the band shows). Lines along the board (its
  // border, a frame's edge) run through the patch from end to end; a label
  // may come close to the board.
  for (const bool onLeft : {true, false}) {
    const Band band = reach(true, !onLeft);
    consider(true, outside, kTop | kBottom, 0.7 * sh, true, [&](int i) {
      const double y = top + i * sh;
      const Box box = onLeft ? at(left - band.to, y + 0.08 * sh, left - band.from, y + 0.92 * sh)
                             : at(right + band.from, y + 0.08 * sh, right + band.to, y + 0.92 * sh);
      return std::pair{box, box};
    });
  }
  for (const bool below : {true, false}) {
    const Band band = reach(false, below);
    consider(false, outside, kLeft | kRight, 0.7 * sw, true, [&](int i) {
      const double x = left + i * sw;
      const Box box = below ? at(x + 0.08 * sw, bottom + band.from, x + 0.92 * sw, bottom + band.to)
                            : at(x + 0.08 * sw, top - band.to, x + 0.92 * sw, top - band.from);
      return std::pair{box, box};
    });
  }
  // Inside the corners of the edge squares: the ranks in the first or last
  // column, at the top or bottom of each square; the files in the bottom or
  // top row, at either side. The sides towards the square's middle are
  // closed: a man reaches them, a label does not. Labels are looked for in
  // a small corner first, then in a larger one (a small board's labels in a
  // browser's smallest type fill half a square).
  constexpr double kInset = 0.02;
  for (const bool firstColumn : {true, false}) {
    for (const bool atTop : {true, false}) {
      for (const double corner : {0.42, 0.64}) {
        const double x0 = firstColumn ? left + kInset * sw : right - corner * sw;
        const double x1 = firstColumn ? left + corner * sw : right - kInset * sw;
        const unsigned closed = (firstColumn ? kRight : kLeft) | (atTop ? kBottom : kTop);
        const bool found = consider(true, inside, closed, (corner - 0.02) * sh, false, [&](int i) {
          const double y = top + i * sh;
          const Box box = atTop ? at(x0, y + kInset * sh, x1, y + corner * sh)
                                : at(x0, y + (1 - corner) * sh, x1, y + (1 - kInset) * sh);
          return std::pair{box, box};
        });
        if (found) break;
      }
    }
  }
  for (const bool lastRow : {true, false}) {
    for (const bool onRight : {true, false}) {
      for (const double corner : {0.42, 0.64}) {
        const double y0 = lastRow ? bottom - corner * sh : top + kInset * sh;
        const double y1 = lastRow ? bottom - kInset * sh : top + corner * sh;
        const unsigned closed = (lastRow ? kTop : kBottom) | (onRight ? kLeft : kRight);
        const bool found = consider(false, inside, closed, (corner - 0.02) * sw, false, [&](int i) {
          const double x = left + i * sw;
          const Box box = onRight ? at(x + (1 - corner) * sw, y0, x + (1 - kInset) * sw, y1)
                                  : at(x + kInset * sw, y0, x + corner * sw, y1);
          return std::pair{box, box};
        });
        if (found) break;
      }
    }
  }
  if (labelsSeen != nullptr) *labelsSeen = any;
  if (!any || std::abs(total) < 0.9) return std::nullopt;
  return total < 0;
}

}  // namespace kalmera
