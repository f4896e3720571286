// The tool's recognize verb: the position on a picture of a diagram (a PNG,
// JPEG or BMP file, or standard input), as FEN or, with --json, with what it
// found on the way: the board's rectangle, its orientation, each square's
// piece and how sure the classifier is of it.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Output.h"
#include "recognize/Recognizer.h"
#include "setup/WholeFile.h"

namespace kalmera {

namespace {

// Files larger than this are no diagram worth reading.
constexpr std::size_t kMaxPictureFile = 256u << 20;

std::optional<std::string> readStandardInput(std::string& failed) {
  std::string bytes;
  char block[1 << 16];
  for (;;) {
    const ssize_t n = ::read(0, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      failed = "cannot read standard input: " + std::string(std::strerror(errno));
      return std::nullopt;
    }
    if (n == 0) return bytes;
    bytes.append(block, static_cast<std::size_t>(n));
    if (bytes.size() > kMaxPictureFile) {
      failed = "standard input: larger than a picture may be";
      return std::nullopt;
    }
  }
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string json(const Recognition& r) {
  std::string out = "{\"fen\":\"" + r.fen() + "\",\"board\":{\"x\":" + number(r.board.x) +
                    ",\"y\":" + number(r.board.y) + ",\"width\":" + number(r.board.width) +
                    ",\"height\":" + number(r.board.height) + "},\"flipped\":" +
                    (r.flipped ? "true" : "false") + ",\"squares\":[";
  for (int s = 0; s < 64; ++s) {
    char confidence[16];
    std::snprintf(confidence, sizeof confidence, "%.4f", r.squares[s].confidence);
    if (s > 0) out += ',';
    out += "{\"square\":\"";
    out += static_cast<char>('a' + s % 8);
    out += static_cast<char>('8' - s / 8);
    out += "\",\"piece\":\"";
    if (r.squares[s].piece != 0) out += r.squares[s].piece;
    out += "\",\"confidence\":";
    out += confidence;
    out += '}';
  }
  return out + "]}";
}

}  // namespace

int runRecognizeVerb(const std::vector<std::string>& args, std::string& problem) {
  bool asJson = false;
  std::optional<std::string> file;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--json") {
      asJson = true;
    } else if (!args[i].empty() && args[i][0] == '-' && args[i] != "-") {
      problem = "unknown option '" + args[i] + "'";
      return 2;
    } else if (file) {
      problem = "recognize reads one picture, not '" + args[i] + "' as well";
      return 2;
    } else {
      file = args[i];
    }
  }
  if (!file) {
    problem = "recognize needs a picture file (or - for standard input)";
    return 2;
  }
  std::string bytes, failed;
  const std::string name = *file == "-" ? "standard input" : *file;
  if (*file == "-") {
    const auto read = readStandardInput(failed);
    if (!read) return failure(failed);
    bytes = *read;
  } else {
    ReadResult read = readWholeFile(*file, kMaxPictureFile);
    if (read.status == ReadStatus::Missing) return failure(*file + ": " + std::strerror(ENOENT));
    if (read.status != ReadStatus::Read) return failure(*file + ": " + read.reason);
    bytes = std::move(read.bytes);
  }
  const auto picture = readPicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  if (const auto* why = std::get_if<std::string>(&picture)) return failure(name + ": " + *why);
  const Recognition r = recognize(std::get<RgbImage>(picture));
  if (!r.found) return failure(name + ": no chess board found in the picture");
  const std::string answer = asJson ? json(r) : r.fen();
  std::printf("%s\n", answer.c_str());
  return finishOutput();
}

}  // namespace kalmera
