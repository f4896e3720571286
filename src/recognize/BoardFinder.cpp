// Finding the board: the squares' boundaries are long straight edges (a light
// square beside a dark one, all along each of the seven lines inside the
// board), equally spaced, and the lines of the other direction end where the
// board ends. Pieces stand inside their squares and break such a line for a
// few pixels at most.
#include <algorithm>
#include <cmath>

#include "recognize/Recognizer.h"

namespace kalmera {

namespace {

constexpr int kGap = 4;        // pixels an edge may miss and still be one line
constexpr int kLeast = 96;     // the shortest line: eight squares of 12 pixels
constexpr int kNearRows = 2;   // edges in rows this close are one line

struct Line {
  double position = 0;  // y of a horizontal line, x of a vertical one (between pixels)
  int from = 0, to = 0;  // its extent along the other direction, last pixel included
  double strength = 0;
  double weight = 0;
  int length() const { return to - from + 1; }
};

// A box blur of (2 radius + 1) pixels each way: JPEG noise and the lines of
// hatched squares average out.
GrayImage smoothed(const GrayImage& in, int radius) {
  GrayImage rows = in, out = in;
  const float n = 2.0f * radius + 1;
  for (int y = 0; y < in.height; ++y) {
    const float* src = &in.pixels[std::size_t(y) * in.width];
    float* dst = &rows.pixels[std::size_t(y) * in.width];
    for (int x = radius; x + radius < in.width; ++x) {
      float sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += src[x + k];
      dst[x] = sum / n;
    }
  }
  for (int y = radius; y + radius < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      float sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += rows.pixels[std::size_t(y + k) * in.width + x];
      out.pixels[std::size_t(y) * in.width + x] = sum / n;
    }
  }
  return out;
}

// How a pass looks for edges: sharp ones first, then blurred or faint ones
// (a picture scaled down and up, a hatched board) in a smoother picture
// across a wider step.
struct Pass {
  int radius;   // of the box blur
  int reach;    // the step is taken between rows y - reach and y + 1 + reach
  float least;  // the smallest step that counts as an edge
};
constexpr Pass kPasses[] = {{1, 1, 16}, {2, 2, 12}, {3, 3, 10}};

// The long edges of one direction. `across(i, j)` is the step of brightness
// at place j of row (or column) i; lines run along j.
template <typename Step>
std::vector<Line> longEdges(int rows, int length, float least, Step across) {
  std::vector<Line> runs;
  for (int i = 0; i < rows; ++i) {
    int start = -1, last = -1;
    double sum = 0;
    const auto close = [&] {
      if (start >= 0 && last - start + 1 >= kLeast) {
        runs.push_back({i + 1.0, start, last, sum, sum});
      }
      start = -1;
      sum = 0;
    };
    for (int j = 0; j < length; ++j) {
      const float step = across(i, j);
      if (step < least) {
        if (start >= 0 && j - last > kGap) close();
        continue;
      }
      if (start < 0) start = j;
      last = j;
      sum += step;
    }
    close();
  }
  // Rows next to each other along the same stretch are one line (a blurred
  // or doubled edge); its place is where the edge is strongest on average.
  std::vector<Line> lines;
  for (const Line& run : runs) {
    Line* joined = nullptr;
    for (Line& line : lines) {
      const int overlap = std::min(line.to, run.to) - std::max(line.from, run.from) + 1;
      if (std::abs(run.position - line.position) <= kNearRows + 0.5 &&
          overlap >= 0.8 * std::min(line.length(), run.length())) {
        joined = &line;
      }
    }
    if (joined == nullptr) {
      lines.push_back(run);
      continue;
    }
    joined->position = (joined->position * joined->weight + run.position * run.weight) /
                       (joined->weight + run.weight);
    joined->weight += run.weight;
    if (run.strength > joined->strength) {
      joined->strength = run.strength;
      joined->from = run.from;
      joined->to = run.to;
    }
  }
  return lines;
}

// Lines of about the same extent, the way the seven inside one board are.
std::vector<std::vector<const Line*>> sameExtent(const std::vector<Line>& lines) {
  std::vector<std::vector<const Line*>> groups;
  std::vector<bool> used(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (used[i]) continue;
    const double tolerance = std::max(2.0, lines[i].length() / 32.0);
    std::vector<const Line*> group;
    for (std::size_t j = i; j < lines.size(); ++j) {
      if (!used[j] && std::abs(lines[j].from - lines[i].from) <= tolerance &&
          std::abs(lines[j].to - lines[i].to) <= tolerance) {
        group.push_back(&lines[j]);
        used[j] = true;
      }
    }
    if (group.size() >= 4) groups.push_back(std::move(group));
  }
  return groups;
}

double medianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The lines that fall on the seven inner boundaries of [start, start + 8 step),
// as (k, position) pairs, one a boundary.
std::vector<std::pair<int, double>> innerBoundaries(const std::vector<const Line*>& lines,
                                                    double start, double step) {
  std::array<const Line*, 8> best{};
  for (const Line* line : lines) {
    const double k = (line->position - start) / step;
    const int nearest = static_cast<int>(std::lround(k));
    if (nearest < 1 || nearest > 7 || std::abs(k - nearest) > 0.15) continue;
    if (best[nearest] == nullptr || line->strength > best[nearest]->strength) best[nearest] = line;
  }
  std::vector<std::pair<int, double>> found;
  for (int k = 1; k <= 7; ++k) {
    if (best[k] != nullptr) found.emplace_back(k, best[k]->position);
  }
  return found;
}

// The lines that run along at least half of [from, to).
std::vector<const Line*> across(const std::vector<Line>& lines, double from, double to) {
  std::vector<const Line*> found;
  for (const Line& line : lines) {
    const double overlap = std::min<double>(line.to + 1, to) - std::max<double>(line.from, from);
    if (overlap >= 0.5 * (to - from)) found.push_back(&line);
  }
  return found;
}

// start and step of boundaries start + k step through the pairs (least squares).
std::pair<double, double> fitted(const std::vector<std::pair<int, double>>& pairs) {
  double n = 0, sk = 0, sp = 0, skk = 0, skp = 0;
  for (const auto& [k, p] : pairs) {
    n += 1, sk += k, sp += p, skk += double(k) * k, skp += k * p;
  }
  const double step = (n * skp - sk * sp) / (n * skk - sk * sk);
  return {(sp - step * sk) / n, step};
}

}  // namespace

GrayImage grayOf(const RgbImage& picture) {
  GrayImage gray;
  gray.width = picture.width;
  gray.height = picture.height;
  gray.pixels.resize(std::size_t(picture.width) * picture.height);
  const std::uint8_t* p = picture.pixels.data();
  for (float& g : gray.pixels) {
    g = 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
    p += 3;
  }
  return gray;
}

namespace {

std::optional<BoardArea> findBoardIn(const GrayImage& picture, const Pass& pass) {
  const GrayImage s = smoothed(picture, pass.radius);
  const int W = s.width, H = s.height, r = pass.reach;
  // Horizontal lines lie between rows y and y + 1, vertical ones between columns.
  const std::vector<Line> horizontal = longEdges(H - 1, W, pass.least, [&](int y, int x) {
    return std::abs(s.at(x, std::min(H - 1, y + 1 + r)) - s.at(x, std::max(0, y - r)));
  });
  const std::vector<Line> vertical = longEdges(W - 1, H, pass.least, [&](int x, int y) {
    return std::abs(s.at(std::min(W - 1, x + 1 + r), y) - s.at(std::max(0, x - r), y));
  });
  struct Candidate {
    BoardArea area;
    int score;
  };
  std::vector<Candidate> candidates;
  for (const auto& rows : sameExtent(horizontal)) {
    std::vector<double> froms, tos;
    for (const Line* l : rows) froms.push_back(l->from), tos.push_back(l->to + 1.0);
    const double left = medianOf(froms), right = medianOf(tos);
    for (const auto& columns : sameExtent(vertical)) {
      std::vector<double> tops, bottoms;
      for (const Line* l : columns) tops.push_back(l->from), bottoms.push_back(l->to + 1.0);
      const double top = medianOf(tops), bottom = medianOf(bottoms);
      const double width = right - left, height = bottom - top;
      if (width < kLeast || height < kLeast || width > 1.25 * height || height > 1.25 * width) continue;
      // Every line across most of the board supports it: a mark or a piece
      // touching a boundary cuts a line short without moving it.
      const auto ranks = innerBoundaries(across(horizontal, left, right), top, height / 8);
      const auto files = innerBoundaries(across(vertical, top, bottom), left, width / 8);
      if (ranks.size() < 5 || files.size() < 5) continue;
      // The boundaries found, fitted: their start is the board's edge.
      const auto [y0, sh] = fitted(ranks);
      const auto [x0, sw] = fitted(files);
      if (!(sh > 0) || !(sw > 0)) continue;
      candidates.push_back({{x0, y0, 8 * sw, 8 * sh}, static_cast<int>(ranks.size() + files.size())});
    }
  }
  // The best supported (and of those the largest) whose squares' grounds
  // alternate light and dark, as a board's do.
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.score != b.score ? a.score > b.score : a.area.width > b.area.width;
  });
  for (const Candidate& c : candidates) {
    if (groundLevels(picture, c.area)) return c.area;
  }
  return std::nullopt;
}

}  // namespace

std::optional<BoardArea> findBoard(const GrayImage& picture) {
  if (picture.width < kLeast + 2 || picture.height < kLeast + 2) return std::nullopt;
  for (const Pass& pass : kPasses) {
    if (auto board = findBoardIn(picture, pass)) return board;
  }
  return std::nullopt;
}

std::optional<bool> flippedByCoordinates(const GrayImage& g, const BoardArea& b) {
  const double sw = b.squareWidth(), sh = b.squareHeight();
  // The ink of the label beside a rank, in the margin left (or right) of it:
  // how much darker (or lighter) than the ground its pixels are, summed, so
  // that the soft edges of small print count too. Columns and rows inked
  // nearly all along are a frame's lines, not a label.
  const auto ink = [&](double x0, double x1, double y0) -> std::optional<double> {
    const int xa = std::max(0, int(x0)), xb = std::min(g.width, int(x1));
    const int ya = std::max(0, int(y0 + 0.1 * sh)), yb = std::min(g.height, int(y0 + 0.9 * sh));
    if (xb - xa < sw / 4 || yb - ya < sh / 2) return std::nullopt;
    const int w = xb - xa, h = yb - ya;
    std::vector<double> values;
    for (int y = ya; y < yb; ++y) {
      for (int x = xa; x < xb; ++x) values.push_back(g.at(x, y));
    }
    const double ground = medianOf(values);
    std::vector<int> byColumn(w), byRow(h);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const bool inked = std::abs(values[i] - ground) > 60;
      byColumn[i % w] += inked, byRow[i / w] += inked;
    }
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double darkness = std::abs(values[i] - ground);  // below 20: noise
      if (darkness > 20 && byColumn[i % w] < 0.7 * h && byRow[i / w] < 0.7 * w) sum += darkness;
    }
    return sum;
  };
  for (const bool leftSide : {true, false}) {
    const double x0 = leftSide ? b.x - 1.0 * sw : b.x + b.width + 0.1 * sw;
    const double x1 = leftSide ? b.x - 0.1 * sw : b.x + b.width + 1.0 * sw;
    const auto top = ink(x0, x1, b.y), bottom = ink(x0, x1, b.y + 7 * sh);
    if (!top || !bottom) continue;
    const double least = 0.6 * sw * sh;  // a label has at least this much ink
    if (*top < least || *bottom < least) continue;
    if (*top > 1.25 * *bottom) return false;  // "8" at the top
    if (*bottom > 1.25 * *top) return true;   // "1" at the top
  }
  return std::nullopt;
}

}  // namespace kalmera
