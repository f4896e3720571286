#include "cli/Normalize.h"

#include "model/ErrorReasons.h"

#include <cerrno>
#include <cstring>

namespace kalmera {

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kFlushAt = 1 << 16;

void appendJsonString(std::string_view text, std::string& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        // Control bytes and everything above ASCII: a Latin-1 byte is the code
        // point of the same number.
        if (c < 0x20 || c >= 0x7f) {
          out += "\\u00";
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 15]);
        } else {
          out.push_back(ch);
        }
    }
  }
  out.push_back('"');
}

void appendBool(const char* key, bool value, std::string& out) {
  out += '"';
  out += key;
  out += value ? "\":true" : "\":false";
}

void appendInt(const char* key, int value, std::string& out) {
  out += '"';
  out += key;
  out += "\":";
  out += std::to_string(value);
}

}  // namespace

void appendJson(const Position& position, std::string& out, FenDialect dialect) {
  const PositionRecord& r = position.record();
  out += "{\"fen\":";
  appendJsonString(dialect == FenDialect::Native ? position.fenLine()
                                                 : fenInDialect(position, dialect),
                   out);
  out += ',';
  appendInt("side", r.Side, out);
  out += ',';
  appendBool("extended", r.Extended, out);
  out += ",\"rookLeft\":";
  appendJsonString(std::string_view(&r.RookLeft, 1), out);
  out += ",\"rookRight\":";
  appendJsonString(std::string_view(&r.RookRight, 1), out);
  out += ',';
  appendInt("enPassant", r.EnPassant, out);
  out += ',';
  appendInt("halfCount", r.HalfCount, out);
  out += ',';
  appendInt("fullCount", r.FullCount, out);
  out += ",\"rights\":{";
  appendBool("whiteLeft", r.CaLeftW, out);
  out += ',';
  appendBool("whiteRight", r.CaRightW, out);
  out += ',';
  appendBool("blackLeft", r.CaLeftB, out);
  out += ',';
  appendBool("blackRight", r.CaRightB, out);
  out += "},\"errors\":{";
  appendBool("king", r.ErrKing, out);
  out += ',';
  appendBool("whiteLeft", r.ErrCaLeftW, out);
  out += ',';
  appendBool("whiteRight", r.ErrCaRightW, out);
  out += ',';
  appendBool("blackLeft", r.ErrCaLeftB, out);
  out += ',';
  appendBool("blackRight", r.ErrCaRightB, out);
  out += ',';
  appendBool("enPassant", r.ErrEP, out);
  // Why each flag that is set is set, in English.
  out += "},\"reasons\":{";
  const ErrorReasons reasons = errorReasons(r, Language::English);
  bool first = true;
  const auto reason = [&](const char* key, const std::string& text) {
    if (text.empty()) return;
    if (!first) out += ',';
    first = false;
    out += '"';
    out += key;
    out += "\":";
    appendJsonString(text, out);
  };
  reason("king", reasons.king);
  reason("whiteLeft", reasons.castling[kWhiteLeft]);
  reason("whiteRight", reasons.castling[kWhiteRight]);
  reason("blackLeft", reasons.castling[kBlackLeft]);
  reason("blackRight", reasons.castling[kBlackRight]);
  reason("enPassant", reasons.enPassant);
  out += "},";
  appendInt("whiteKing", r.WhiteKing, out);
  out += ',';
  appendInt("blackKing", r.BlackKing, out);
  out += ",\"marks\":\"";
  for (unsigned char m : r.Marks) out.push_back(m != 0 ? '*' : '-');
  out += "\"}";
}

void normalizeLine(Position& position, std::string_view line, const NormalizeOptions& options,
                   std::string& out) {
  position.resetToStart();
  position.readFen(line);
  for (Transform t : options.transforms) {
    if (t == Transform::Mirror) position.mirror();
    else position.turn();
  }
  if (options.json) appendJson(position, out, options.dialect);
  else if (options.dialect == FenDialect::Native) out += position.fenLine();
  else out += fenInDialect(position, options.dialect);
  out.push_back('\n');
}

std::optional<std::string> normalizeStream(std::FILE* in, std::FILE* out,
                                           const NormalizeOptions& options) {
  Position position;
  std::string output;
  output.reserve(kFlushAt + 4096);
  std::string pending;  // the start of a line that runs past a chunk
  std::vector<char> chunk(kChunk);
  std::optional<std::string> failure;

  const auto flush = [&] {
    if (!failure && std::fwrite(output.data(), 1, output.size(), out) != output.size()) {
      failure = "cannot write standard output: " + std::string(std::strerror(errno));
    }
    output.clear();
  };
  const auto emit = [&](std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    normalizeLine(position, line, options, output);
    if (output.size() >= kFlushAt) flush();
  };

  while (!failure) {
    const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
    if (n == 0) break;
    std::string_view data(chunk.data(), n);
    while (!data.empty()) {
      const auto nl = data.find('\n');
      if (nl == std::string_view::npos) {
        pending.append(data);
        break;
      }
      if (pending.empty()) {
        emit(data.substr(0, nl));
      } else {
        pending.append(data.substr(0, nl));
        emit(pending);
        pending.clear();
      }
      data.remove_prefix(nl + 1);
    }
  }
  if (failure) return failure;
  if (std::ferror(in)) return "cannot read standard input: " + std::string(std::strerror(errno));
  if (!pending.empty()) emit(pending);
  flush();
  if (!failure && std::fflush(out) != 0) {
    failure = "cannot write standard output: " + std::string(std::strerror(errno));
  }
  return failure;
}

}  // namespace kalmera
