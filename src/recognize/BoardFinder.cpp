// Finding the board: the squares' boundaries are long straight edges (a light
// square beside a dark one, all along each of the seven lines inside the
// board), equally spaced, and the lines of the other direction end where the
// board ends. Pieces stand inside their squares and break such a line for a
// few pixels at most.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

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

// A box blur of (2 radius + 1) pixels each way (fewer at the picture's
// edges): JPEG noise and the lines of hatched squares average out. Running
// sums: the same time for any radius, and only a few rows beside the result.
GrayImage smoothed(const GrayImage& in, int radius) {
  const int W = in.width, H = in.height, window = 2 * radius + 1;
  GrayImage out;
  out.width = W;
  out.height = H;
  out.pixels.resize(in.pixels.size());
  // The sums along each row of the rows in the window, kept in a ring.
  std::vector<std::uint16_t> ring(std::size_t(window + 1) * W);
  std::vector<std::uint32_t> columns(W);
  const auto rowSums = [&](int y) {
    const std::uint8_t* src = &in.pixels[std::size_t(y) * W];
    std::uint16_t* sums = &ring[std::size_t(y % (window + 1)) * W];
    unsigned sum = 0;
    for (int x = 0; x < std::min(radius, W); ++x) sum += src[x];
    for (int x = 0; x < W; ++x) {
      if (x + radius < W) sum += src[x + radius];
      if (x - radius - 1 >= 0) sum -= src[x - radius - 1];
      sums[x] = static_cast<std::uint16_t>(sum);
    }
    for (int x = 0; x < W; ++x) columns[x] += sums[x];
  };
  for (int y = 0; y < std::min(radius, H); ++y) rowSums(y);
  for (int y = 0; y < H; ++y) {
    if (y + radius < H) rowSums(y + radius);
    if (y - radius - 1 >= 0) {
      const std::uint16_t* gone = &ring[std::size_t((y - radius - 1) % (window + 1)) * W];
      for (int x = 0; x < W; ++x) columns[x] -= gone[x];
    }
    const int rows = std::min(H - 1, y + radius) - std::max(0, y - radius) + 1;
    std::uint8_t* dst = &out.pixels[std::size_t(y) * W];
    for (int x = 0; x < W; ++x) {
      const unsigned count = unsigned(rows * (std::min(W - 1, x + radius) - std::max(0, x - radius) + 1));
      dst[x] = static_cast<std::uint8_t>((columns[x] + count / 2) / count);
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
  int least;    // the smallest step that counts as an edge
};
constexpr Pass kPasses[] = {{1, 1, 16}, {2, 2, 12}, {3, 3, 10}};

// Runs of steps along lines: each line's run goes on while its steps are
// large enough, with gaps of at most kGap; runs of kLeast and more are kept.
class Runs {
 public:
  explicit Runs(int lines) : start_(lines, -1), last_(lines, -1), sum_(lines, 0) {}

  void step(int line, int at, int size, int least) {
    if (size < least) {
      if (start_[line] >= 0 && at - last_[line] > kGap) close(line);
      return;
    }
    if (start_[line] < 0) start_[line] = at;
    last_[line] = at;
    sum_[line] += size;
  }
  std::vector<Line> finish() {
    for (std::size_t line = 0; line < start_.size(); ++line) close(int(line));
    return std::move(runs_);
  }

 private:
  void close(int line) {
    if (start_[line] >= 0 && last_[line] - start_[line] + 1 >= kLeast) {
      runs_.push_back({line + 1.0, start_[line], last_[line], sum_[line], sum_[line]});
    }
    start_[line] = -1;
    sum_[line] = 0;
  }
  std::vector<int> start_, last_;
  std::vector<double> sum_;
  std::vector<Line> runs_;
};

// Rows next to each other along the same stretch are one line (a blurred
// or doubled edge); its place is where the edge is strongest on average.
std::vector<Line> joined(std::vector<Line> runs) {
  std::sort(runs.begin(), runs.end(), [](const Line& a, const Line& b) {
    return a.position != b.position ? a.position < b.position : a.from < b.from;
  });
  std::vector<Line> lines;
  std::size_t open = 0;  // lines before this one lie too far back to join
  for (const Line& run : runs) {
    while (open < lines.size() && lines[open].position < run.position - 3 * kNearRows - 1) ++open;
    Line* joinedTo = nullptr;
    for (std::size_t i = open; i < lines.size(); ++i) {
      Line& line = lines[i];
      const int overlap = std::min(line.to, run.to) - std::max(line.from, run.from) + 1;
      if (std::abs(run.position - line.position) <= kNearRows + 0.5 &&
          overlap >= 0.8 * std::min(line.length(), run.length())) {
        joinedTo = &line;
      }
    }
    if (joinedTo == nullptr) {
      lines.push_back(run);
      continue;
    }
    joinedTo->position = (joinedTo->position * joinedTo->weight + run.position * run.weight) /
                         (joinedTo->weight + run.weight);
    joinedTo->weight += run.weight;
    if (run.strength > joinedTo->strength) {
      joinedTo->strength = run.strength;
      joinedTo->from = run.from;
      joinedTo->to = run.to;
    }
  }
  return lines;
}

// The long edges between rows (horizontal lines) and between columns
// (vertical ones) of a smoothed picture, both read row by row.
std::pair<std::vector<Line>, std::vector<Line>> longEdges(const GrayImage& s, const Pass& pass) {
  const int W = s.width, H = s.height, r = pass.reach;
  Runs horizontal(H - 1), vertical(W - 1);
  for (int y = 0; y < H; ++y) {
    const std::uint8_t* row = &s.pixels[std::size_t(y) * W];
    if (y + 1 < H) {
      const std::uint8_t* above = &s.pixels[std::size_t(std::max(0, y - r)) * W];
      const std::uint8_t* below = &s.pixels[std::size_t(std::min(H - 1, y + 1 + r)) * W];
      for (int x = 0; x < W; ++x) horizontal.step(y, x, std::abs(below[x] - above[x]), pass.least);
    }
    for (int x = 0; x + 1 < W; ++x) {
      vertical.step(x, y, std::abs(row[std::min(W - 1, x + 1 + r)] - row[std::max(0, x - r)]), pass.least);
    }
  }
  return {joined(horizontal.finish()), joined(vertical.finish())};
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
  // 0.299, 0.587 and 0.114 in sixteenths of a thousand, rounded.
  for (std::uint8_t& g : gray.pixels) {
    g = static_cast<std::uint8_t>((4899u * p[0] + 9617u * p[1] + 1868u * p[2] + 8192u) >> 14);
    p += 3;
  }
  return gray;
}

namespace {

struct Candidate {
  BoardArea area;
  int score;
};

// Every board of one pass: the grids whose squares' grounds alternate light
// and dark, as a board's do, best supported (and of those the largest) first.
std::vector<Candidate> boardsIn(const GrayImage& picture, const Pass& pass, bool all) {
  const GrayImage s = smoothed(picture, pass.radius);
  // Horizontal lines lie between rows y and y + 1, vertical ones between columns.
  const auto [horizontal, vertical] = longEdges(s, pass);
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
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.score != b.score ? a.score > b.score : a.area.width > b.area.width;
  });
  std::vector<Candidate> boards;
  for (const Candidate& c : candidates) {
    if (!groundLevels(picture, c.area)) continue;
    boards.push_back(c);
    if (!all) break;
  }
  return boards;
}

bool overlapping(const BoardArea& a, const BoardArea& b) {
  const double w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
  const double h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
  return w > 0 && h > 0 && w * h > 0.1 * std::min(a.width * a.height, b.width * b.height);
}

// The part of the picture where anything changes: no edge can lie in a tile
// whose pixels all differ by less than the faintest step a pass looks for.
// Nothing when the whole picture is (nearly) flat.
struct Part {
  int x = 0, y = 0, width = 0, height = 0;
};

std::optional<Part> changingPart(const GrayImage& g) {
  constexpr int kTile = 32;
  int least = 255;
  for (const Pass& pass : kPasses) least = std::min(least, pass.least);
  const int columns = (g.width + kTile - 1) / kTile, rows = (g.height + kTile - 1) / kTile;
  std::vector<std::uint8_t> low(columns), high(columns);
  int left = columns, right = -1, top = rows, bottom = -1;
  for (int row = 0; row < rows; ++row) {
    std::fill(low.begin(), low.end(), 255);
    std::fill(high.begin(), high.end(), 0);
    // A tile and the pixel beyond it: an edge on a tile's border counts.
    for (int y = row * kTile; y < std::min(g.height, (row + 1) * kTile + 1); ++y) {
      const std::uint8_t* p = &g.pixels[std::size_t(y) * g.width];
      for (int column = 0; column < columns; ++column) {
        const int to = std::min(g.width, (column + 1) * kTile + 1);
        std::uint8_t lo = low[column], hi = high[column];
        for (int x = column * kTile; x < to; ++x) lo = std::min(lo, p[x]), hi = std::max(hi, p[x]);
        low[column] = lo, high[column] = hi;
      }
    }
    for (int column = 0; column < columns; ++column) {
      if (high[column] - low[column] < least) continue;
      left = std::min(left, column), right = std::max(right, column);
      top = std::min(top, row), bottom = std::max(bottom, row);
    }
  }
  if (right < 0) return std::nullopt;
  // A tile more all round: the blur and the step reach beyond an edge.
  Part part;
  part.x = std::max(0, (left - 1) * kTile);
  part.y = std::max(0, (top - 1) * kTile);
  part.width = std::min(g.width, (right + 2) * kTile) - part.x;
  part.height = std::min(g.height, (bottom + 2) * kTile) - part.y;
  return part;
}

GrayImage cut(const GrayImage& g, const Part& part) {
  GrayImage out;
  out.width = part.width;
  out.height = part.height;
  out.pixels.resize(std::size_t(part.width) * part.height);
  for (int y = 0; y < part.height; ++y) {
    std::copy_n(&g.pixels[std::size_t(part.y + y) * g.width + part.x], part.width,
                &out.pixels[std::size_t(y) * part.width]);
  }
  return out;
}

// The boards in the changing part of a picture, at its own size.
std::vector<BoardArea> boardsAtThisSize(const GrayImage& picture, const Part& part, bool all) {
  const bool whole = part.width == picture.width && part.height == picture.height;
  const GrayImage cutOut = whole ? GrayImage{} : cut(picture, part);
  const GrayImage& search = whole ? picture : cutOut;
  std::vector<BoardArea> boards;
  for (const Pass& pass : kPasses) {
    for (const Candidate& c : boardsIn(search, pass, all)) {
      BoardArea area = c.area;
      area.x += part.x, area.y += part.y;
      const bool seen = std::any_of(boards.begin(), boards.end(),
                                    [&](const BoardArea& b) { return overlapping(b, area); });
      if (!seen) boards.push_back(area);
    }
    if (!all && !boards.empty()) break;
  }
  return boards;
}

// The picture at half its size, each pixel the mean of four.
GrayImage halved(const GrayImage& g) {
  GrayImage out;
  out.width = g.width / 2, out.height = g.height / 2;
  out.pixels.resize(std::size_t(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    const std::uint8_t* a = &g.pixels[std::size_t(2 * y) * g.width];
    const std::uint8_t* b = a + g.width;
    std::uint8_t* to = &out.pixels[std::size_t(y) * out.width];
    for (int x = 0; x < out.width; ++x) {
      to[x] = std::uint8_t((a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1] + 2) / 4);
    }
  }
  return out;
}

// Where a picture's changing part is this large both ways and no board is
// found in it, it is searched again at half its size: the gaps and blurs
// the search allows are a few pixels, and a board blown up or scanned
// finely (squares of 250 pixels) has larger ones where a label or a man
// comes near a square's edge, or where its edges were smoothed as it was
// scaled.
constexpr int kHalvedFrom = 1200;

std::vector<BoardArea> searched(const GrayImage& picture, bool all) {
  if (picture.width < kLeast + 2 || picture.height < kLeast + 2) return {};
  const std::optional<Part> part = changingPart(picture);
  if (!part || part->width < kLeast + 2 || part->height < kLeast + 2) return {};
  std::vector<BoardArea> boards = boardsAtThisSize(picture, *part, all);
  if (boards.empty() && part->width >= kHalvedFrom && part->height >= kHalvedFrom) {
    for (BoardArea area : searched(halved(picture), all)) {
      area.x *= 2, area.y *= 2, area.width *= 2, area.height *= 2;
      boards.push_back(area);
    }
  }
  return boards;
}

}  // namespace

double skewOf(const GrayImage& g) {
  // Looked at in steps of `step` pixels, so that at most about 2,000 lie
  // each way: enough to tell, and a large picture (a flat one too) is
  // answered quickly.
  const int step = std::max(1, (std::max(g.width, g.height) + 1999) / 2000);
  const int W = g.width / step, H = g.height / step;
  if (W < kLeast || H < kLeast) return 0;
  // The pixels on a clear edge along the rows (a step up or down) or along
  // the columns, with the step's size, in steps as above; every other of
  // every other row is enough to tell.
  struct EdgePixel {
    float along, across, weight;  // across: y for an edge along the rows
  };
  std::vector<EdgePixel> rows, columns;
  constexpr int kClearStep = 32;
  for (int y = 1; y + 1 < H; y += 2) {
    const std::uint8_t* above = &g.pixels[std::size_t(y - 1) * step * g.width];
    const std::uint8_t* here = &g.pixels[std::size_t(y) * step * g.width];
    const std::uint8_t* below = &g.pixels[std::size_t(y + 1) * step * g.width];
    for (int x = 1 + (y / 2) % 2; x + 1 < W; x += 2) {
      const int at = x * step;
      const int down = below[at] - above[at], right = here[at + step] - here[at - step];
      // (Each moved across by up to half a step, the same at every angle:
      // else the steps' own grid would gather best straight.)
      const float jitter = float((x * 7919u + y * 104729u) % 64u) / 64 - 0.5f;
      if (std::abs(down) >= kClearStep && std::abs(down) > 2 * std::abs(right)) {
        rows.push_back({float(x), float(y) + jitter, float(std::abs(down))});
      } else if (std::abs(right) >= kClearStep && std::abs(right) > 2 * std::abs(down)) {
        columns.push_back({float(y), float(x) + jitter, float(std::abs(right))});
      }
    }
  }
  // Straight lines turned by `degrees` gather their edge pixels in a few
  // bins when the pixels are projected along that direction: the sum of the
  // bins' squares is largest there.
  const int reach = int(std::ceil(std::max(W, H) * std::tan((kMostSkew + 1.5) * std::numbers::pi / 180))) + 4;
  std::vector<double> bins;
  const auto gathered = [&](double degrees) {
    const double slope = std::tan(degrees * std::numbers::pi / 180);
    double sum = 0;
    // Rows: y - x slope is one line's; columns: x + y slope.
    for (const auto& [pixels, sign, size] :
         {std::tuple{&rows, -1.0, H}, std::tuple{&columns, 1.0, W}}) {
      bins.assign(std::size_t(size + 2 * reach), 0.0);
      // (Each pixel shared between the two bins it falls between, and the
      // bins smoothed.)
      for (const EdgePixel& p : *pixels) {
        const double at = p.across + sign * p.along * slope + reach;
        const int bin = int(std::floor(at));
        if (bin < 0 || bin + 1 >= int(bins.size())) continue;
        const double share = at - bin;
        bins[std::size_t(bin)] += p.weight * (1 - share);
        bins[std::size_t(bin) + 1] += p.weight * share;
      }
      for (std::size_t i = 2; i + 2 < bins.size(); ++i) {
        const double smooth = (bins[i - 2] + 4 * bins[i - 1] + 6 * bins[i] + 4 * bins[i + 1] + bins[i + 2]) / 16;
        sum += smooth * smooth;
      }
    }
    return sum;
  };
  // How well the lines gather falls off smoothly on either side of their
  // angle. Most pictures are straight: they gather better straight than
  // turned by a quarter of a degree either way, so their angle is less
  // than the least that is straightened.
  const double straight = gathered(0);
  if (straight <= 0 || straight >= std::max(gathered(-0.25), gathered(0.25))) return 0;
  // Coarse steps first, then finer ones about the best.
  double best = 0, bestSum = straight;
  for (double d = -kMostSkew; d <= kMostSkew + 1e-9; d += 0.5) {
    const double sum = gathered(d);
    if (sum > bestSum) best = d, bestSum = sum;
  }
  const double coarse = best;
  for (double d = coarse - 0.45; d <= coarse + 0.45 + 1e-9; d += 0.05) {
    if (std::abs(d) > kMostSkew + 1e-9) continue;
    const double sum = gathered(d);
    if (sum > bestSum) best = d, bestSum = sum;
  }
  // Only where they gather clearly better there than a degree and a half
  // to either side (noise, or curves, gather alike at every angle).
  return bestSum > 1.1 * (gathered(best - 1.5) + gathered(best + 1.5)) / 2 ? best : 0;
}

std::optional<BoardArea> findBoard(const GrayImage& picture) {
  const std::vector<BoardArea> boards = searched(picture, false);
  if (boards.empty()) return std::nullopt;
  return boards.front();
}

std::vector<BoardArea> findBoards(const GrayImage& picture) {
  std::vector<BoardArea> boards = searched(picture, true);
  // In reading order: rows of boards top to bottom (a board whose top lies
  // within half a board of the row's first is in its row), each row left to
  // right.
  std::sort(boards.begin(), boards.end(), [](const BoardArea& a, const BoardArea& b) { return a.y < b.y; });
  std::vector<BoardArea> ordered;
  for (std::size_t first = 0; first < boards.size();) {
    std::size_t end = first + 1;
    while (end < boards.size() && boards[end].y - boards[first].y < boards[first].height / 2) ++end;
    std::sort(boards.begin() + std::ptrdiff_t(first), boards.begin() + std::ptrdiff_t(end),
              [](const BoardArea& a, const BoardArea& b) { return a.x < b.x; });
    ordered.insert(ordered.end(), boards.begin() + std::ptrdiff_t(first), boards.begin() + std::ptrdiff_t(end));
    first = end;
  }
  boards.swap(ordered);
  return boards;
}

}  // namespace kalmera
