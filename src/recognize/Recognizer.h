// Reading a position from a picture of a diagram, as a pipeline of stages
// one can look into: find the board (the grid of its squares), cut the 64
// squares and bring each to one size and one scale of brightness, then let a
// small trained classifier name what stands on each. Plain C++: the same
// code in the tool, the editor, the tests and the training.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recognize/Picture.h"

namespace kalmera {

struct GrayImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // 0 black .. 255 white
  float at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};
GrayImage grayOf(const RgbImage& picture);

// Where the 8 x 8 squares are: the board's rectangle in the picture's pixels.
struct BoardArea {
  double x = 0, y = 0, width = 0, height = 0;
  double squareWidth() const { return width / 8; }
  double squareHeight() const { return height / 8; }
};

// The board of the picture; nothing when no grid of 8 x 8 squares is found.
std::optional<BoardArea> findBoard(const GrayImage& picture);
// Every board of the picture, top to bottom and left to right.
std::vector<BoardArea> findBoards(const GrayImage& picture);

// How far the picture's straight lines are turned from the rows and columns
// (a page scanned a little aslant), in degrees, clockwise as the picture is
// shown (its rows go down), up to kMostSkew either way; 0 when they run
// along them, or no such lines are seen.
inline constexpr double kMostSkew = 3.5;
double skewOf(const GrayImage& picture);
// The picture turned by `degrees` (counterclockwise as shown: what skewOf
// says straightens it) about its middle, the same size; what comes in from
// beyond its edges is their own brightness.
GrayImage turnedBack(const GrayImage& picture, double degrees);
// A picture turned by less than this is read as it is.
inline constexpr double kLeastSkew = 0.3;
// The picture straightened where skewOf finds it turned by kLeastSkew or
// more (`degrees` then says by how much); else nothing, and 0.
std::optional<GrayImage> straightened(const GrayImage& picture, double& degrees);

// The printed coordinates decide the orientation (true: seen from Black's
// side), wherever they stand: beside the board, in a frame around it, or
// inside the corners of its edge squares, in any font; the rank digits by
// their shapes (an "8" has two holes and more ink than a "1"), the small
// file letters by their heights. Nothing when none are printed or they
// leave it open; `labelsSeen` tells which: a row of labels was found.
std::optional<bool> flippedByCoordinates(const GrayImage& picture, const BoardArea& board,
                                         bool* labelsSeen = nullptr);

// The brightness of the dark and the light squares' ground (their corners,
// where pieces seldom reach); nothing when they do not alternate as a
// board's squares do, or differ too little.
struct GroundLevels {
  float dark = 0, light = 0;
};
std::optional<GroundLevels> groundLevels(const GrayImage& picture, const BoardArea& board);

// The squares as the classifier takes them: 24 x 24 samples each, in the
// order shown (top left first), on one scale: 0 the dark squares' ground,
// 1 the light squares'.
inline constexpr int kSampleSize = 24;
using SquareSample = std::array<float, kSampleSize * kSampleSize>;
std::array<SquareSample, 64> squareSamples(const GrayImage& picture, const BoardArea& board);
// One square (`place`, top left first) seen a little otherwise: its middle
// moved by `right` and `down` (in squares), the square grown by `zoom`.
struct SampleView {
  double right = 0, down = 0, zoom = 1;
};
struct SampleScale {
  float dark = 0, factor = 1.0f / 255;  // sample = (brightness - dark) * factor
};
SampleScale sampleScale(const GrayImage& picture, const BoardArea& board);
SquareSample squareSample(const GrayImage& picture, const BoardArea& board, int place,
                          const SampleScale& scale, const SampleView& view);

// What a square holds: 0 empty, 1..6 "PNBRQK", 7..12 "pnbrqk".
inline constexpr int kSquareClasses = 13;
inline constexpr char kClassLetters[kSquareClasses + 1] = ".PNBRQKpnbrqk";

// The trained classifier (its weights are part of the program): one or more
// small nets trained apart, whose probabilities are averaged.
class SquareClassifier {
 public:
  // The weights as the training script writes them, one net after the
  // other; nothing on a wrong file.
  static std::optional<SquareClassifier> fromBytes(const std::uint8_t* bytes, std::size_t size);
  // The one built into the program.
  static const SquareClassifier& builtIn();
  // The probability of each class for a sample (the nets' mean). With
  // `leastSure`: the smallest probability any one net gives the mean's
  // first choice (nets that disagree make a square doubtful).
  std::array<float, kSquareClasses> classify(const SquareSample& sample, float* leastSure = nullptr) const;
  std::size_t nets() const { return nets_.size(); }

 private:
  struct Layer {
    int in = 0, out = 0;
    std::vector<float> weights, bias;
  };
  struct Net {
    std::vector<Layer> convolutions;  // 3 x 3, each followed by ReLU and 2 x 2 max pooling
    std::vector<Layer> dense;         // the last without ReLU
    std::array<float, kSquareClasses> classify(const SquareSample& sample) const;
  };
  std::vector<Net> nets_;
};

struct RecognizedSquare {
  char piece = 0;  // a piece letter, or 0 for an empty square
  float confidence = 0;  // of the least sure net
  // Worth a look: read with little confidence, or read otherwise than the
  // classifier's first choice because that made the position impossible,
  // or a man that looks promoted (promotedLooking) read less than surely.
  bool doubtful = false;
};

// How the orientation was decided: by the printed coordinates; by the men
// where labels are printed but leave it open and the men stand as in a game
// seen from Black's side (uprightEvidence below kLooksTurnedBelow); or White
// at the bottom for want of them.
enum class OrientationFrom { Default, Coordinates, CoordinatesAndMen };

struct Recognition {
  bool found = false;
  BoardArea board;
  bool flipped = false;  // read as seen from Black's side
  OrientationFrom orientationFrom = OrientationFrom::Default;
  // Read with White at the bottom for want of coordinates, though the men
  // stand as in a game seen from Black's side: every square is worth a look.
  bool orientationDoubtful = false;
  std::array<RecognizedSquare, 64> squares{};  // by square, a8 first
  // Read from the picture straightened by this many degrees (skewOf); the
  // board's place is then its middle in the picture as it is, its size as
  // straightened.
  double straightenedBy = 0;
  int side = 0;              // to move: 0 White, 1 Black
  bool sideGuessed = true;   // neither a side-to-move disc nor a lone check told
  bool sideFromDisc = false;
  // The placement and the side to move, with " - - 0 1": castling and the
  // counters cannot be seen.
  std::string fen() const;
  // Square `s` (a8 first) is worth a look: doubtful, or the orientation is.
  bool worthALook(int s) const { return orientationDoubtful || squares[std::size_t(s)].doubtful; }
};

// The same board read as seen from the other side: the men turned about,
// the side to move decided again from the checks unless a disc showed it.
Recognition turnedAbout(const Recognition& r);

// How much a placement (by square, a8 first) looks like a game's seen from
// White's side: each pawn on its own side's first rank of pawns, each king
// on its own two back ranks, each white pawn below a black one on a file
// counts one for it; each seen the other way round, one against. Positions
// of games seen turned fall below kLooksTurnedBelow three times in four,
// seen upright none of 2,000.
int uprightEvidence(const std::array<char, 64>& placement);
inline constexpr int kLooksTurnedBelow = -4;

// The first board of the picture (the best supported), read.
Recognition recognize(const RgbImage& picture,
                      const SquareClassifier& classifier = SquareClassifier::builtIn());
// Every board of the picture, top to bottom and left to right.
std::vector<Recognition> recognizeAll(const RgbImage& picture,
                                      const SquareClassifier& classifier = SquareClassifier::builtIn());

// Squares read with less confidence than this are worth a look.
inline constexpr float kDoubtfulBelow = 0.9f;
// A square is read otherwise to make a position possible only as what the
// classifier gives at least this probability.
inline constexpr float kLeastMend = 0.02f;

// The most likely placement that a game can reach, from each square's
// probabilities (by square, a8 first): at most one king a side, no pawn on
// the first or last rank, at most eight pawns and sixteen men a side, no
// more promoted men than missing pawns. The classes of the first choice
// where that is possible; else the changes of doubtful squares (first
// choice below kDoubtfulBelow) that cost least probability, each marked in
// `changed`. What the classifier is sure of stays, possible or not; where
// the placement stays impossible, `impossible` marks each man without whom
// it would be less so (both kings of a side, every pawn of a side with
// nine, a pawn on the first rank).
std::array<int, 64> plausibleReading(const std::array<std::array<float, kSquareClasses>, 64>& p,
                                     std::array<bool, 64>& changed, std::array<bool, 64>* impossible = nullptr);

// The men of a kind a side has more of than it starts with (a third
// knight, bishop or rook, a second queen), by square, a8 first: a promotion
// is rare in a position, and one misread man gives such a count as often.
// They are worth a look unless read all but surely (kSureOfPromotedMen).
std::array<bool, 64> promotedLooking(const std::array<char, 64>& placement);
inline constexpr float kSureOfPromotedMen = 0.99f;

// The side to move a placement shows by its checks: the side whose king
// alone is in check; nothing when neither or both are.
std::optional<int> sideInCheck(const std::array<char, 64>& placement);

// The side-to-move disc of our own pictures (beside the board's right edge,
// above it or below it): the side it shows, nothing when there is none.
std::optional<int> sideByDisc(const GrayImage& picture, const BoardArea& board);

}  // namespace kalmera
