// The classifier's weight file and arithmetic: a small net of random weights,
// written as the training script writes it, must give what PyTorch's layout
// means (computed here the plain way, channel first), alone and averaged with
// another; broken files are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "recognize/Recognizer.h"

using namespace kalmera;

namespace {

struct Layer {
  int in, out;
  std::vector<float> weights, bias;  // PyTorch's order: [out][in] (x 3 x 3)
};

struct TestNet {
  std::vector<Layer> convolutions, dense;

  TestNet(std::mt19937& random, std::vector<int> channels, int hidden) {
    std::normal_distribution<float> value(0.0f, 0.4f);
    const auto layer = [&](int in, int out, int taps) {
      Layer l{in, out, std::vector<float>(std::size_t(in) * out * taps), std::vector<float>(out)};
      for (float& w : l.weights) w = value(random);
      for (float& b : l.bias) b = value(random) * 0.1f;
      return l;
    };
    int previous = 1;
    for (const int c : channels) convolutions.push_back(layer(previous, c, 9)), previous = c;
    const int side = kSampleSize >> channels.size();
    dense.push_back(layer(previous * side * side, hidden, 1));
    dense.push_back(layer(hidden, kSquareClasses, 1));
  }

  void writeTo(std::vector<std::uint8_t>& bytes) const {
    const auto put = [&](const void* data, std::size_t n) {
      const auto* b = static_cast<const std::uint8_t*>(data);
      bytes.insert(bytes.end(), b, b + n);
    };
    put("KSQ1", 4);
    const std::int32_t counts[2] = {std::int32_t(convolutions.size()), std::int32_t(dense.size())};
    put(counts, sizeof counts);
    for (const auto* list : {&convolutions, &dense}) {
      for (const Layer& l : *list) {
        const std::int32_t shape[2] = {l.in, l.out};
        put(shape, sizeof shape);
        put(l.weights.data(), l.weights.size() * 4);
        put(l.bias.data(), l.bias.size() * 4);
      }
    }
  }

  // Channel first, as PyTorch computes it.
  std::array<float, kSquareClasses> classify(const SquareSample& sample) const {
    std::vector<float> x(sample.begin(), sample.end());
    int side = kSampleSize;
    for (const Layer& l : convolutions) {
      std::vector<float> full(std::size_t(l.out) * side * side);
      for (int o = 0; o < l.out; ++o) {
        for (int y = 0; y < side; ++y) {
          for (int xx = 0; xx < side; ++xx) {
            float sum = l.bias[o];
            for (int c = 0; c < l.in; ++c) {
              for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                  if (y + dy < 0 || y + dy >= side || xx + dx < 0 || xx + dx >= side) continue;
                  sum += l.weights[(std::size_t(o) * l.in + c) * 9 + (dy + 1) * 3 + dx + 1] *
                         x[(std::size_t(c) * side + y + dy) * side + xx + dx];
                }
              }
            }
            full[(std::size_t(o) * side + y) * side + xx] = std::max(0.0f, sum);
          }
        }
      }
      const int half = side / 2;
      x.assign(std::size_t(l.out) * half * half, 0.0f);
      for (int o = 0; o < l.out; ++o) {
        for (int y = 0; y < half; ++y) {
          for (int xx = 0; xx < half; ++xx) {
            const auto at = [&](int yy, int xxx) { return full[(std::size_t(o) * side + yy) * side + xxx]; };
            x[(std::size_t(o) * half + y) * half + xx] =
                std::max({at(2 * y, 2 * xx), at(2 * y, 2 * xx + 1), at(2 * y + 1, 2 * xx), at(2 * y + 1, 2 * xx + 1)});
          }
        }
      }
      side = half;
    }
    for (std::size_t n = 0; n < dense.size(); ++n) {
      const Layer& l = dense[n];
      std::vector<float> y(l.out);
      for (int o = 0; o < l.out; ++o) {
        float sum = l.bias[o];
        for (int i = 0; i < l.in; ++i) sum += l.weights[std::size_t(o) * l.in + i] * x[i];
        y[o] = n + 1 < dense.size() ? std::max(0.0f, sum) : sum;
      }
      x = y;
    }
    std::array<float, kSquareClasses> p{};
    const float top = *std::max_element(x.begin(), x.end());
    float total = 0;
    for (int k = 0; k < kSquareClasses; ++k) total += p[k] = std::exp(x[k] - top);
    for (float& v : p) v /= total;
    return p;
  }
};

SquareSample randomSample(std::mt19937& random) {
  std::uniform_real_distribution<float> value(-1.0f, 3.0f);
  SquareSample s;
  for (float& v : s) v = value(random);
  return s;
}

TEST(Classifier, readsTheTrainingLayoutAloneAndAveraged) {
  std::mt19937 random(5);
  const TestNet first(random, {3, 4, 5}, 7), second(random, {2, 6, 3}, 9);
  std::vector<std::uint8_t> one, both;
  first.writeTo(one);
  first.writeTo(both);
  second.writeTo(both);
  const auto alone = SquareClassifier::fromBytes(one.data(), one.size());
  const auto averaged = SquareClassifier::fromBytes(both.data(), both.size());
  ASSERT_TRUE(alone && averaged);
  EXPECT_EQ(averaged->nets(), 2u);
  for (int n = 0; n < 5; ++n) {
    const SquareSample sample = randomSample(random);
    const auto want = first.classify(sample), other = second.classify(sample);
    const auto got = alone->classify(sample), mean = averaged->classify(sample);
    for (int k = 0; k < kSquareClasses; ++k) {
      EXPECT_NEAR(got[k], want[k], 1e-4) << "class " << k;
      EXPECT_NEAR(mean[k], (want[k] + other[k]) / 2, 1e-4) << "class " << k;
    }
  }
}

TEST(Classifier, refusesBrokenFiles) {
  std::mt19937 random(9);
  std::vector<std::uint8_t> good;
  TestNet(random, {2, 2, 2}, 4).writeTo(good);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases{{"empty", {}},
                          {"cut short", {good.begin(), good.end() - 1}},
                          {"a byte too many", good},
                          {"half a second net", good},
                          {"wrong magic", good}};
  cases[2].bytes.push_back(0);
  cases[3].bytes.insert(cases[3].bytes.end(), good.begin(), good.begin() + long(good.size() / 2));
  cases[4].bytes[3] = '2';
  for (const Case& c : cases) {
    EXPECT_FALSE(SquareClassifier::fromBytes(c.bytes.data(), c.bytes.size())) << c.name;
  }
  EXPECT_TRUE(SquareClassifier::fromBytes(good.data(), good.size()));
}

}  // namespace
