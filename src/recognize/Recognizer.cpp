#include "recognize/Recognizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kalmera {

namespace {

// Bilinear brightness at a point of the picture (pixel centres at +0.5).
float sampleAt(const GrayImage& g, double x, double y) {
  x -= 0.5, y -= 0.5;
  const int x0 = std::clamp(int(std::floor(x)), 0, g.width - 1);
  const int y0 = std::clamp(int(std::floor(y)), 0, g.height - 1);
  const int x1 = std::min(x0 + 1, g.width - 1), y1 = std::min(y0 + 1, g.height - 1);
  const float fx = float(std::clamp(x - x0, 0.0, 1.0)), fy = float(std::clamp(y - y0, 0.0, 1.0));
  const float top = g.at(x0, y0) * (1 - fx) + g.at(x1, y0) * fx;
  const float bottom = g.at(x0, y1) * (1 - fx) + g.at(x1, y1) * fx;
  return top * (1 - fy) + bottom * fy;
}

// The ground of a square: the mean of its four corners (inset from the
// boundaries, where a grid line or a blurred edge may run), the middle one.
float groundOf(const GrayImage& g, const BoardArea& b, int place) {
  const double sw = b.squareWidth(), sh = b.squareHeight();
  const double left = b.x + (place % 8) * sw, top = b.y + (place / 8) * sh;
  std::array<float, 4> corners{};
  for (int corner = 0; corner < 4; ++corner) {
    const double u = corner % 2 ? 0.82 : 0.08, v = corner / 2 ? 0.82 : 0.08;
    float sum = 0;
    for (int j = 0; j < 3; ++j) {
      for (int i = 0; i < 3; ++i) {
        sum += sampleAt(g, left + (u + 0.04 * i) * sw, top + (v + 0.04 * j) * sh);
      }
    }
    corners[corner] = sum / 9;
  }
  std::sort(corners.begin(), corners.end());
  return (corners[1] + corners[2]) / 2;
}

float median(std::vector<float> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// A turn of a picture about its middle by `degrees`: where a point of the
// turned picture stands in the picture as it is.
struct TurnAboutMiddle {
  double c, s, midX, midY;
  TurnAboutMiddle(const GrayImage& g, double degrees)
      : c(std::cos(degrees * std::numbers::pi / 180)), s(std::sin(degrees * std::numbers::pi / 180)),
        midX(g.width / 2.0), midY(g.height / 2.0) {}
  std::pair<double, double> from(double x, double y) const {
    const double dx = x - midX, dy = y - midY;
    return {midX + c * dx - s * dy, midY + s * dx + c * dy};
  }
};

}  // namespace

GrayImage turnedBack(const GrayImage& g, double degrees) {
  GrayImage out;
  out.width = g.width, out.height = g.height;
  out.pixels.resize(g.pixels.size());
  const TurnAboutMiddle turn(g, degrees);
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) {
      // Each pixel's middle taken from where it stands in the turned picture.
      const auto [sx, sy] = turn.from(x + 0.5, y + 0.5);
      out.pixels[std::size_t(y) * g.width + x] = std::uint8_t(std::lround(sampleAt(g, sx, sy)));
    }
  }
  return out;
}

std::optional<GrayImage> straightened(const GrayImage& gray, double& degrees) {
  degrees = skewOf(gray);
  if (std::abs(degrees) < kLeastSkew) {
    degrees = 0;
    return std::nullopt;
  }
  return turnedBack(gray, degrees);
}

std::optional<GroundLevels> groundLevels(const GrayImage& g, const BoardArea& b) {
  std::array<std::vector<float>, 2> byParity;
  std::array<float, 64> grounds{};
  for (int place = 0; place < 64; ++place) {
    grounds[place] = groundOf(g, b, place);
    byParity[(place / 8 + place % 8) % 2].push_back(grounds[place]);
  }
  const float a = median(byParity[0]), c = median(byParity[1]);
  GroundLevels levels{std::min(a, c), std::max(a, c)};
  if (levels.light - levels.dark < 12) return std::nullopt;
  // Most squares nearer their own colour than the other.
  const int lightParity = a > c ? 0 : 1;
  int agreeing = 0;
  for (int place = 0; place < 64; ++place) {
    const bool light = (place / 8 + place % 8) % 2 == lightParity;
    const float own = light ? levels.light : levels.dark, other = light ? levels.dark : levels.light;
    agreeing += std::abs(grounds[place] - own) < std::abs(grounds[place] - other);
  }
  if (agreeing < 52) return std::nullopt;
  return levels;
}

SquareSample squareSample(const GrayImage& g, const BoardArea& b, int place, const SampleScale& scale,
                          const SampleView& view) {
  const double sw = b.squareWidth(), sh = b.squareHeight();
  // The square's middle, moved and the square grown or shrunk about it.
  const double middleX = b.x + (place % 8 + 0.5 + view.right) * sw;
  const double middleY = b.y + (place / 8 + 0.5 + view.down) * sh;
  const double w = sw * view.zoom, h = sh * view.zoom;
  SquareSample s{};
  // Each sample the mean of 2 x 2 points of its part of the square.
  for (int j = 0; j < kSampleSize; ++j) {
    for (int i = 0; i < kSampleSize; ++i) {
      float sum = 0;
      for (int q = 0; q < 4; ++q) {
        const double u = (i + 0.25 + 0.5 * (q % 2)) / kSampleSize - 0.5;
        const double v = (j + 0.25 + 0.5 * (q / 2)) / kSampleSize - 0.5;
        sum += sampleAt(g, middleX + u * w, middleY + v * h);
      }
      // The scale the classifier learnt on: -1 to 3.
      s[j * kSampleSize + i] = std::clamp((sum / 4 - scale.dark) * scale.factor, -1.0f, 3.0f);
    }
  }
  return s;
}

SampleScale sampleScale(const GrayImage& g, const BoardArea& b) {
  const std::optional<GroundLevels> levels = groundLevels(g, b);
  const float dark = levels ? levels->dark : 0, light = levels ? levels->light : 255;
  return {dark, 1.0f / std::max(1.0f, light - dark)};
}

std::array<SquareSample, 64> squareSamples(const GrayImage& g, const BoardArea& b) {
  std::array<SquareSample, 64> samples{};
  const SampleScale scale = sampleScale(g, b);
  for (int place = 0; place < 64; ++place) samples[place] = squareSample(g, b, place, scale, {});
  return samples;
}

// ---------------------------------------------------------------- the classifier

std::optional<SquareClassifier> SquareClassifier::fromBytes(const std::uint8_t* bytes,
                                                            std::size_t size) {
  // Each net: "KSQ1", the number of convolutions and of dense layers, then
  // each layer: its inputs and outputs (32-bit) and its weights and biases
  // (float32), all little-endian.
  std::size_t at = 0;
  const auto take = [&](void* out, std::size_t n) {
    if (size - at < n) return false;
    std::memcpy(out, bytes + at, n);
    at += n;
    return true;
  };
  SquareClassifier c;
  while (at < size || c.nets_.empty()) {
    char magic[4];
    std::int32_t convolutions = 0, dense = 0;
    if (c.nets_.size() >= 8 || !take(magic, 4) || std::memcmp(magic, "KSQ1", 4) != 0 ||
        !take(&convolutions, 4) || !take(&dense, 4) || convolutions < 1 || convolutions > 5 || dense < 1 ||
        dense > 4) {
      return std::nullopt;
    }
    Net net;
    int channels = 1, side = kSampleSize;
    for (int l = 0; l < convolutions + dense; ++l) {
      Layer layer;
      std::int32_t in = 0, out = 0;
      if (!take(&in, 4) || !take(&out, 4) || in < 1 || out < 1 || in > 4096 || out > 4096) {
        return std::nullopt;
      }
      const bool convolution = l < convolutions;
      const int expected = convolution ? channels : (l == convolutions ? channels * side * side : channels);
      if (in != expected) return std::nullopt;
      layer.in = in;
      layer.out = out;
      layer.weights.resize(std::size_t(in) * out * (convolution ? 9 : 1));
      layer.bias.resize(out);
      if (!take(layer.weights.data(), layer.weights.size() * 4) ||
          !take(layer.bias.data(), layer.bias.size() * 4)) {
        return std::nullopt;
      }
      // Kept input-major for the channels-last loops: a convolution's as
      // [tap][input][output], a dense layer's as [input][output], the first
      // dense layer's inputs in the order the last convolution leaves them
      // (place, then channel) instead of PyTorch's (channel, then place).
      std::vector<float> rearranged(layer.weights.size());
      for (int o = 0; o < out; ++o) {
        for (int i = 0; i < in; ++i) {
          if (convolution) {
            for (int tap = 0; tap < 9; ++tap) {
              rearranged[(std::size_t(tap) * in + i) * out + o] = layer.weights[(std::size_t(o) * in + i) * 9 + tap];
            }
          } else {
            const int places = l == convolutions ? side * side : 1;
            const int channel = i / places, place = i % places;
            const int to = place * (in / places) + channel;
            rearranged[std::size_t(to) * out + o] = layer.weights[std::size_t(o) * in + i];
          }
        }
      }
      layer.weights.swap(rearranged);
      channels = out;
      if (convolution) {
        side /= 2;
        net.convolutions.push_back(std::move(layer));
      } else {
        net.dense.push_back(std::move(layer));
      }
    }
    if (channels != kSquareClasses) return std::nullopt;
    c.nets_.push_back(std::move(net));
  }
  return c;
}

std::array<float, kSquareClasses> SquareClassifier::classify(const SquareSample& sample, float* leastSure) const {
  std::array<float, kSquareClasses> mean{};
  if (nets_.empty()) {  // untrained: nothing known
    mean[0] = 1.0f / kSquareClasses;
    if (leastSure != nullptr) *leastSure = mean[0];
    return mean;
  }
  std::vector<std::array<float, kSquareClasses>> each;
  each.reserve(nets_.size());
  for (const Net& net : nets_) {
    each.push_back(net.classify(sample));
    for (int k = 0; k < kSquareClasses; ++k) mean[k] += each.back()[k];
  }
  for (float& v : mean) v /= float(nets_.size());
  if (leastSure != nullptr) {
    const auto first = std::max_element(mean.begin(), mean.end()) - mean.begin();
    *leastSure = 1;
    for (const auto& p : each) *leastSure = std::min(*leastSure, p[std::size_t(first)]);
  }
  return mean;
}

std::array<float, kSquareClasses> SquareClassifier::Net::classify(const SquareSample& sample) const {
  // Channels last: a value for each channel at each place, so that every
  // inner loop runs over the outputs of a layer. Zeros (most of what ReLU
  // leaves, and the border) are skipped.
  std::vector<float> planes(sample.begin(), sample.end()), next, padded, full;
  int side = kSampleSize;
  for (const Layer& layer : convolutions) {
    // 3 x 3 with a border of zeros, then ReLU, then the larger of each 2 x 2.
    const int p = side + 2, in = layer.in, out = layer.out;
    padded.assign(std::size_t(in) * p * p, 0.0f);
    for (int y = 0; y < side; ++y) {
      std::memcpy(&padded[(std::size_t(y + 1) * p + 1) * in], &planes[std::size_t(y) * side * in],
                  std::size_t(side) * in * sizeof(float));
    }
    full.resize(std::size_t(side) * side * out);
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        float* sum = &full[(std::size_t(y) * side + x) * out];
        std::copy(layer.bias.begin(), layer.bias.end(), sum);
        for (int tap = 0; tap < 9; ++tap) {
          const float* source = &padded[(std::size_t(y + tap / 3) * p + x + tap % 3) * in];
          const float* w = &layer.weights[std::size_t(tap) * in * out];
          for (int c = 0; c < in; ++c) {
            const float v = source[c];
            if (v == 0.0f) continue;
            const float* wc = w + std::size_t(c) * out;
            for (int o = 0; o < out; ++o) sum[o] += v * wc[o];
          }
        }
      }
    }
    const int half = side / 2;
    next.resize(std::size_t(half) * half * out);
    for (int y = 0; y < half; ++y) {
      for (int x = 0; x < half; ++x) {
        const float* a = &full[(std::size_t(2 * y) * side + 2 * x) * out];
        const float* b = a + std::size_t(side) * out;
        float* to = &next[(std::size_t(y) * half + x) * out];
        for (int o = 0; o < out; ++o) to[o] = std::max({0.0f, a[o], a[o + out], b[o], b[o + out]});
      }
    }
    planes.swap(next);
    side = half;
  }
  for (std::size_t l = 0; l < dense.size(); ++l) {
    const Layer& layer = dense[l];
    next.assign(layer.bias.begin(), layer.bias.end());
    for (int i = 0; i < layer.in; ++i) {
      const float v = planes[i];
      if (v == 0.0f) continue;
      const float* w = &layer.weights[std::size_t(i) * layer.out];
      for (int o = 0; o < layer.out; ++o) next[o] += v * w[o];
    }
    if (l + 1 < dense.size()) {
      for (float& v : next) v = std::max(0.0f, v);
    }
    planes.swap(next);
  }
  // The probabilities (softmax).
  std::array<float, kSquareClasses> p{};
  const float top = *std::max_element(planes.begin(), planes.end());
  float total = 0;
  for (int k = 0; k < kSquareClasses; ++k) total += p[k] = std::exp(planes[k] - top);
  for (float& v : p) v /= total;
  return p;
}

// ---------------------------------------------------------------- what a game can reach

namespace {

// Classes: 0 empty, 1..6 "PNBRQK" white, 7..12 black.
constexpr int kPawn = 1, kKnight = 2, kBishop = 3, kRook = 4, kQueen = 5, kKing = 6;

// How far a placement is from one a game can reach: each king too many,
// each pawn on a first or last rank, each pawn past eight, each man past
// sixteen, each promoted man past the pawns missing, counted once.
int excess(const std::array<int, 64>& classes) {
  std::array<int, kSquareClasses> count{};
  int backRankPawns = 0;
  for (int s = 0; s < 64; ++s) {
    ++count[classes[s]];
    const int kind = classes[s] == 0 ? 0 : (classes[s] - 1) % 6 + 1;
    backRankPawns += kind == kPawn && (s < 8 || s >= 56);
  }
  int over = backRankPawns;
  for (const int side : {0, 6}) {
    const auto n = [&](int kind) { return count[side + kind]; };
    int men = 0;
    for (int kind = kPawn; kind <= kKing; ++kind) men += n(kind);
    const int promoted = std::max(0, n(kKnight) - 2) + std::max(0, n(kBishop) - 2) +
                         std::max(0, n(kRook) - 2) + std::max(0, n(kQueen) - 1);
    over += std::max(0, n(kKing) - 1) + std::max(0, n(kPawn) - 8) + std::max(0, men - 16) +
            std::max(0, std::min(n(kPawn), 8) + promoted - 8);
  }
  return over;
}

}  // namespace

std::array<int, 64> plausibleReading(const std::array<std::array<float, kSquareClasses>, 64>& p,
                                     std::array<bool, 64>& changed, std::array<bool, 64>* impossible) {
  std::array<int, 64> classes{};
  for (int s = 0; s < 64; ++s) {
    classes[s] = static_cast<int>(std::max_element(p[s].begin(), p[s].end()) - p[s].begin());
  }
  changed.fill(false);
  // One change at a time: of those that bring the placement nearer to a
  // possible one, the one that costs least probability (the ratio of the
  // new class's to the old one's).
  for (int over = excess(classes), steps = 0; over > 0 && steps < 64; ++steps) {
    double best = -1;
    int bestSquare = -1, bestClass = 0, bestOver = over;
    for (int s = 0; s < 64; ++s) {
      const int was = classes[s];
      if (p[s][was] >= kDoubtfulBelow && !changed[s]) continue;
      for (int c = 0; c < kSquareClasses; ++c) {
        const double ratio = double(p[s][c]) / std::max(1e-30, double(p[s][was]));
        // A reading the classifier gives next to no chance mends nothing.
        if (c == was || ratio <= best || p[s][c] < kLeastMend) continue;
        classes[s] = c;
        const int now = excess(classes);
        classes[s] = was;
        if (now < over) best = ratio, bestSquare = s, bestClass = c, bestOver = now;
      }
    }
    if (bestSquare < 0) break;
    classes[bestSquare] = bestClass;
    changed[bestSquare] = true;
    over = bestOver;
  }
  // Still impossible: each man without whom it would be nearer to possible
  // is worth a look.
  if (impossible != nullptr) {
    impossible->fill(false);
    const int over = excess(classes);
    for (int s = 0; s < 64 && over > 0; ++s) {
      if (classes[s] == 0) continue;  // nothing to take away
      const int was = classes[s];
      classes[s] = 0;
      (*impossible)[s] = excess(classes) < over;
      classes[s] = was;
    }
  }
  return classes;
}

std::array<bool, 64> promotedLooking(const std::array<char, 64>& placement) {
  const auto startsWith = [](char piece) {
    switch (piece) {
      case 'N': case 'B': case 'R': case 'n': case 'b': case 'r': return 2;
      case 'Q': case 'q': return 1;
      default: return 64;  // pawns and kings: what is too many is impossible, not rare
    }
  };
  const auto index = [](char piece) { return std::size_t(static_cast<unsigned char>(piece)); };
  std::array<int, 256> count{};
  for (const char piece : placement) ++count[index(piece)];
  std::array<bool, 64> looking{};
  for (int s = 0; s < 64; ++s) {
    const char piece = placement[std::size_t(s)];
    looking[std::size_t(s)] = piece != 0 && count[index(piece)] > startsWith(piece);
  }
  return looking;
}

std::optional<int> sideInCheck(const std::array<char, 64>& board) {
  // Whether the king of `side` (0 White) stands attacked.
  const auto inCheck = [&](int side) {
    const char king = side == 0 ? 'K' : 'k';
    const int at = int(std::find(board.begin(), board.end(), king) - board.begin());
    if (at == 64) return false;
    const int file = at % 8, row = at / 8;
    const auto enemy = [&](int f, int r, char whiteLetter) {
      if (f < 0 || f > 7 || r < 0 || r > 7) return false;
      const char want = side == 0 ? char(whiteLetter + 32) : whiteLetter;
      return board[r * 8 + f] == want;
    };
    // Rows count from the top (rank 8): White's pawns attack upwards.
    const int pawnRow = side == 0 ? row - 1 : row + 1;
    if (enemy(file - 1, pawnRow, 'P') || enemy(file + 1, pawnRow, 'P')) return true;
    for (const auto& [df, dr] : {std::pair{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}}) {
      if (enemy(file + df, row + dr, 'N')) return true;
    }
    for (int df = -1; df <= 1; ++df) {
      for (int dr = -1; dr <= 1; ++dr) {
        if ((df || dr) && enemy(file + df, row + dr, 'K')) return true;
        if (!df && !dr) continue;
        const char slider = df && dr ? 'B' : 'R';
        for (int f = file + df, r = row + dr; f >= 0 && f < 8 && r >= 0 && r < 8; f += df, r += dr) {
          if (board[r * 8 + f] == 0) continue;
          if (enemy(f, r, slider) || enemy(f, r, 'Q')) return true;
          break;
        }
      }
    }
    return false;
  };
  const bool white = inCheck(0), black = inCheck(1);
  if (white == black) return std::nullopt;
  return white ? 0 : 1;
}

std::optional<int> sideByDisc(const GrayImage& g, const BoardArea& b) {
  // Our pictures draw a disc of 0.38 squares across, outlined in black, in
  // a box of the board's ground beside the right edge, above the board or
  // below it: white for White to move, black for Black. The other box is
  // plain.
  const double s = b.squareWidth();
  const double cx = b.x + b.width + 0.47 * s;
  if (s < 12 || cx + 0.36 * s > g.width) return std::nullopt;
  struct Box {
    bool disc = false, white = false, plain = false;
  };
  const auto look = [&](double cy) -> std::optional<Box> {
    if (cy - 0.36 * s < 0 || cy + 0.36 * s > g.height) return std::nullopt;
    const auto at = [&](double dx, double dy) {
      const int x = std::clamp(int(cx + dx * s), 0, g.width - 1);
      const int y = std::clamp(int(cy + dy * s), 0, g.height - 1);
      return g.at(x, y);
    };
    // The box's ground: a ring well outside the disc, even all round.
    float ground = 0, lowGround = 255, highGround = 0;
    constexpr int kAngles = 16;
    for (int i = 0; i < kAngles; ++i) {
      const double angle = i * 6.2831853 / kAngles;
      const float v = at(0.34 * std::cos(angle), 0.34 * std::sin(angle));
      ground += v / kAngles, lowGround = std::min(lowGround, v), highGround = std::max(highGround, v);
    }
    if (highGround - lowGround > 30) return Box{};
    // The ink inside (how much darker than the ground, in square areas:
    // the outline of a white disc gives about 3, a black disc more) and the
    // brightness of its middle.
    const int n = std::max(8, int(s * 0.6));
    double ink = 0, middle = 0;
    int middleCount = 0;
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < n; ++i) {
        const double dx = (i + 0.5) / n * 0.56 - 0.28, dy = (j + 0.5) / n * 0.56 - 0.28;
        if (dx * dx + dy * dy > 0.28 * 0.28) continue;
        const float v = at(dx, dy);
        ink += std::max(0.0f, ground - v) / 255.0 * (0.56 * 0.56) / (double(n) * n) * 100;
        if (dx * dx + dy * dy < 0.08 * 0.08) middle += v, ++middleCount;
      }
    }
    middle /= std::max(1, middleCount);
    Box box;
    box.plain = ink < 1 && std::abs(middle - ground) < 20;
    box.white = middle > std::max(160.0f, ground - 10);
    box.disc = ink > 1.5 && (box.white || middle < 90);
    return box;
  };
  const auto top = look(b.y - 0.47 * s), bottom = look(b.y + b.height + 0.47 * s);
  if (!top || !bottom) return std::nullopt;
  if (top->disc == bottom->disc) return std::nullopt;
  const Box& disc = top->disc ? *top : *bottom;
  const Box& other = top->disc ? *bottom : *top;
  if (!other.plain) return std::nullopt;
  return disc.white ? 0 : 1;
}

// ---------------------------------------------------------------- the pipeline

std::string Recognition::fen() const {
  std::string placement;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      const char piece = squares[row * 8 + file].piece;
      if (piece == 0) {
        ++empty;
        continue;
      }
      if (empty > 0) placement.push_back(static_cast<char>('0' + empty));
      empty = 0;
      placement.push_back(piece);
    }
    if (empty > 0) placement.push_back(static_cast<char>('0' + empty));
    if (row < 7) placement.push_back('/');
  }
  return placement + (side == 0 ? " w" : " b") + " - - 0 1";
}

namespace {

// The spread of brightness (on the samples' scale: 1 from the dark squares'
// ground to the light ones') below which a square is taken as empty.
constexpr float kEvenSquare = 0.12f;

// The side to move: as a side-to-move disc shows it, else the side whose
// king alone is in check, else White (guessed).
void decideSide(Recognition& r, const std::array<char, 64>& placement, std::optional<int> disc) {
  const std::optional<int> side = disc ? disc : sideInCheck(placement);
  r.side = side.value_or(0), r.sideGuessed = !side, r.sideFromDisc = disc.has_value();
}

// What each square (by place in the picture, top left first) holds: the
// classes' probabilities and the least any one net gives the first choice.
struct SquareReadings {
  std::array<std::array<float, kSquareClasses>, 64> p{};
  std::array<float, 64> leastSure{};
};

// Squares read with less confidence than kDoubtfulBelow are looked at
// again a little moved and a little larger and smaller (as the nets saw
// their samples in training), and what all views say is averaged.
constexpr double kViewStep = 0.03;
constexpr SampleView kOtherViews[] = {{kViewStep, 0, 1}, {-kViewStep, 0, 1},      {0, kViewStep, 1},
                                      {0, -kViewStep, 1}, {0, 0, 1 - 2 * kViewStep}, {0, 0, 1 + 2 * kViewStep}};

int firstChoice(const std::array<float, kSquareClasses>& p) {
  return int(std::max_element(p.begin(), p.end()) - p.begin());
}

SquareReadings readSquares(const GrayImage& gray, const BoardArea& board, const SquareClassifier& classifier) {
  SquareReadings r;
  const SampleScale scale = sampleScale(gray, board);
  for (int place = 0; place < 64; ++place) {
    const SquareSample sample = squareSample(gray, board, place, scale, {});
    auto& p = r.p[std::size_t(place)];
    float& leastSure = r.leastSure[std::size_t(place)];
    // A square of one even brightness holds nothing (whatever its colour:
    // a highlight is even too); the nets are asked about the others.
    const auto [darkest, lightest] = std::minmax_element(sample.begin(), sample.end());
    if (*lightest - *darkest < kEvenSquare) {
      p = {};
      p[0] = 1, leastSure = 1;
      continue;
    }
    p = classifier.classify(sample, &leastSure);
    if (std::min(p[std::size_t(firstChoice(p))], leastSure) >= kDoubtfulBelow) continue;
    std::vector<std::pair<std::array<float, kSquareClasses>, float>> views{{p, leastSure}};
    std::array<float, kSquareClasses> mean = p;
    for (const SampleView& view : kOtherViews) {
      float least = 0;
      views.emplace_back(classifier.classify(squareSample(gray, board, place, scale, view), &least), least);
      for (int c = 0; c < kSquareClasses; ++c) mean[c] += views.back().first[c];
    }
    for (float& x : mean) x /= float(views.size());
    // The least sure net's word for the views' choice: in each view, the
    // least its nets give it where they chose it too, else the view's mean.
    const int best = firstChoice(mean);
    float least = 0;
    for (const auto& [q, l] : views) least += firstChoice(q) == best ? l : q[std::size_t(best)];
    p = mean, leastSure = least / float(views.size());
  }
  return r;
}

// The men placed as the board is shown (turned: seen from Black's side).
Recognition placeMen(const SquareReadings& read, bool turned) {
  Recognition r;
  r.found = true;
  r.flipped = turned;
  std::array<std::array<float, kSquareClasses>, 64> p{};
  std::array<float, 64> leastSure{};
  for (int place = 0; place < 64; ++place) {
    const int square = turned ? 63 - place : place;
    p[square] = read.p[place], leastSure[square] = read.leastSure[place];
  }
  std::array<bool, 64> changed{}, impossible{};
  const std::array<int, 64> classes = plausibleReading(p, changed, &impossible);
  std::array<char, 64> placement{};
  for (int square = 0; square < 64; ++square) {
    placement[square] = classes[square] == 0 ? char(0) : kClassLetters[classes[square]];
  }
  const std::array<bool, 64> promoted = promotedLooking(placement);
  for (int square = 0; square < 64; ++square) {
    const int c = classes[square];
    const float confidence = changed[square] ? p[square][c] : std::min(p[square][c], leastSure[square]);
    r.squares[square] = {placement[square], confidence,
                         changed[square] || impossible[square] || confidence < kDoubtfulBelow ||
                             (promoted[square] && confidence < kSureOfPromotedMen)};
  }
  return r;
}

std::array<char, 64> placementOf(const Recognition& r) {
  std::array<char, 64> placement{};
  for (int s = 0; s < 64; ++s) placement[std::size_t(s)] = r.squares[std::size_t(s)].piece;
  return placement;
}

Recognition readBoard(const GrayImage& gray, const BoardArea& board, const SquareClassifier& classifier) {
  bool labelsSeen = false;
  const std::optional<bool> byCoordinates = flippedByCoordinates(gray, board, &labelsSeen);
  const SquareReadings read = readSquares(gray, board, classifier);
  Recognition r = placeMen(read, byCoordinates.value_or(false));
  r.orientationFrom = byCoordinates ? OrientationFrom::Coordinates : OrientationFrom::Default;
  const bool looksTurned = !byCoordinates && uprightEvidence(placementOf(r)) < kLooksTurnedBelow;
  if (looksTurned && labelsSeen) {
    // Labels are printed, so the board may be shown either way, but they
    // left it open: the men, standing as seen from Black's side, decide.
    r = placeMen(read, true);
    r.orientationFrom = OrientationFrom::CoordinatesAndMen;
  } else {
    r.orientationDoubtful = looksTurned;
  }
  r.board = board;
  decideSide(r, placementOf(r), sideByDisc(gray, board));
  return r;
}

}  // namespace

int uprightEvidence(const std::array<char, 64>& placement) {
  // Rows count from the top (rank 8).
  const auto at = [&](int file, int row) { return placement[std::size_t(row * 8 + file)]; };
  int evidence = 0;
  for (int file = 0; file < 8; ++file) {
    for (int row = 0; row < 8; ++row) {
      switch (at(file, row)) {
        case 'P': evidence += (row == 6) - (row == 1); break;
        case 'p': evidence += (row == 1) - (row == 6); break;
        case 'K': evidence += (row >= 6) - (row <= 1); break;
        case 'k': evidence += (row <= 1) - (row >= 6); break;
        default: break;
      }
    }
    for (int white = 0; white < 8; ++white) {
      if (at(file, white) != 'P') continue;
      for (int black = 0; black < 8; ++black) {
        if (at(file, black) == 'p') evidence += (black < white) - (black > white);
      }
    }
  }
  return evidence;
}

Recognition turnedAbout(const Recognition& r) {
  Recognition turned = r;
  turned.flipped = !r.flipped;
  turned.orientationDoubtful = false;
  for (int s = 0; s < 64; ++s) turned.squares[std::size_t(s)] = r.squares[std::size_t(63 - s)];
  decideSide(turned, placementOf(turned), r.sideFromDisc ? std::optional(r.side) : std::nullopt);
  return turned;
}

namespace {

std::vector<BoardArea> boardsOf(const GrayImage& gray, bool all) {
  if (all) return findBoards(gray);
  const std::optional<BoardArea> board = findBoard(gray);
  return board ? std::vector{*board} : std::vector<BoardArea>{};
}

// The boards of a picture (the first, or all) read: where its lines are
// turned a little (a page scanned aslant), in the picture straightened
// first, so that the squares run along its rows and columns; failing that,
// as it is.
std::vector<Recognition> readBoards(const RgbImage& picture, const SquareClassifier& classifier, bool all) {
  const GrayImage gray = grayOf(picture);
  std::vector<Recognition> read;
  double skew = 0;
  if (const std::optional<GrayImage> straight = straightened(gray, skew)) {
    const TurnAboutMiddle turn(gray, skew);
    for (const BoardArea& board : boardsOf(*straight, all)) {
      Recognition r = readBoard(*straight, board, classifier);
      // The board's middle where it stands in the picture as it is.
      const auto [x, y] = turn.from(board.x + board.width / 2, board.y + board.height / 2);
      r.board.x = x - board.width / 2, r.board.y = y - board.height / 2;
      r.straightenedBy = skew;
      read.push_back(r);
    }
    if (!read.empty()) return read;
  }
  for (const BoardArea& board : boardsOf(gray, all)) read.push_back(readBoard(gray, board, classifier));
  return read;
}

}  // namespace

Recognition recognize(const RgbImage& picture, const SquareClassifier& classifier) {
  std::vector<Recognition> read = readBoards(picture, classifier, false);
  return read.empty() ? Recognition{} : read.front();
}

std::vector<Recognition> recognizeAll(const RgbImage& picture, const SquareClassifier& classifier) {
  return readBoards(picture, classifier, true);
}

}  // namespace kalmera
