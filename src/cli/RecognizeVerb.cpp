// The tool's recognize verb: the position on a picture of a diagram (a PNG,
// JPEG or BMP file, or standard input), as FEN or, with --json, with what it
// found on the way: the board's rectangle, its orientation and how it was
// decided, the side to move and whether it was guessed, each square's piece,
// how sure the classifier is of it and whether it is worth a look. --all
// reads every board of the picture; a PDF file every board of every page,
// one EPD line each.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Output.h"
#include "recognize/PdfPages.h"
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

const char* orientationName(OrientationFrom from) {
  switch (from) {
    case OrientationFrom::Coordinates: return "coordinates";
    case OrientationFrom::CoordinatesAndMen: return "coordinates and men";
    case OrientationFrom::Default: break;
  }
  return "default";
}

std::string json(const Recognition& r, const std::string& id) {
  std::string out = "{";
  if (!id.empty()) out += "\"id\":\"" + id + "\",";
  out += "\"fen\":\"" + r.fen() + "\",\"board\":{\"x\":" + number(r.board.x) +
         ",\"y\":" + number(r.board.y) + ",\"width\":" + number(r.board.width) +
         ",\"height\":" + number(r.board.height) + "}," +
         (r.straightenedBy != 0 ? "\"straightenedBy\":" + number(r.straightenedBy) + "," : "") + "\"flipped\":" +
         (r.flipped ? "true" : "false") + ",\"orientationFrom\":\"" +
         orientationName(r.orientationFrom) +
         "\"," + (r.orientationDoubtful ? "\"orientationDoubtful\":true," : "") +
         "\"sideGuessed\":" + (r.sideGuessed ? "true" : "false") + ",\"squares\":[";
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
    if (r.worthALook(s)) out += ",\"doubtful\":true";
    out += '}';
  }
  return out + "]}";
}

// One board as the verb prints it: FEN (or its JSON) for a lone picture,
// an EPD line with its id when there are several.
void print(const Recognition& r, const std::string& id, bool asJson) {
  std::string line;
  if (asJson) {
    line = json(r, id);
  } else if (id.empty()) {
    line = r.fen();
  } else {
    const std::string fen = r.fen();
    line = fen.substr(0, fen.rfind(" 0 1")) + " id \"" + id + "\";";
  }
  std::printf("%s\n", line.c_str());
}

}  // namespace

int runRecognizeVerb(const std::vector<std::string>& args, std::string& problem) {
  bool asJson = false, all = false;
  std::optional<std::string> file;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--json") {
      asJson = true;
    } else if (args[i] == "--all") {
      all = true;
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
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (isPdf(data)) {
    const auto boards = recognizePdf(data);
    if (const auto* why = std::get_if<std::string>(&boards)) return failure(name + ": " + *why);
    const auto& found = std::get<std::vector<PdfBoard>>(boards);
    if (found.empty()) return failure(name + ": no chess board found in the PDF file");
    for (const PdfBoard& b : found) {
      print(b.reading, "page " + std::to_string(b.page) + ", diagram " + std::to_string(b.diagram), asJson);
    }
    return finishOutput();
  }
  const auto picture = readPicture(data);
  if (const auto* why = std::get_if<std::string>(&picture)) return failure(name + ": " + *why);
  bytes = std::string();  // the file's bytes are not needed beside its pixels
  if (all) {
    const std::vector<Recognition> boards = recognizeAll(std::get<RgbImage>(picture));
    if (boards.empty()) return failure(name + ": no chess board found in the picture");
    for (std::size_t d = 0; d < boards.size(); ++d) print(boards[d], "diagram " + std::to_string(d + 1), asJson);
    return finishOutput();
  }
  const Recognition r = recognize(std::get<RgbImage>(picture));
  if (!r.found) return failure(name + ": no chess board found in the picture");
  print(r, "", asJson);
  if (r.orientationDoubtful && !asJson) {
    std::fprintf(stderr, "kalmera-fen: %s: read with White at the bottom (no coordinates found), though the men "
                 "stand as if the board were shown from Black's side\n", name.c_str());
  }
  return finishOutput();
}

}  // namespace kalmera
