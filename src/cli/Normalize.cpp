#include "cli/Normalize.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>

#include "model/ErrorReasons.h"

namespace kalmera {

namespace {

// The longest answer to one line: a JSON object with every reason given.
constexpr std::size_t kMaxAnswer = 4096;
constexpr std::size_t kOutputBlock = 1 << 20;
constexpr std::size_t kInputBlock = 1 << 22;
// Blocks smaller than this are answered on one core: a thread costs more.
constexpr std::size_t kSplitAbove = 1 << 18;

// Characters into a buffer that has room enough (the caller sees to it).
struct Writer {
  char* at;

  void put(char c) { *at++ = c; }
  void put(std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    at += text.size();
  }
  void number(int value) {
    if (value < 0) {
      put('-');
      value = -value;
    }
    char digits[12];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n > 0) put(digits[--n]);
  }
  void boolean(bool value) { put(value ? std::string_view("true") : std::string_view("false")); }
  // A JSON string of any bytes: a Latin-1 byte is the code point of the same
  // number, control bytes and those above ASCII as \u00XX.
  void string(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    put('"');
    for (const char ch : text) {
      const auto c = static_cast<unsigned char>(ch);
      if (c == '"' || c == '\\') {
        put('\\');
        put(ch);
      } else if (c == '\n') {
        put("\\n");
      } else if (c == '\r') {
        put("\\r");
      } else if (c == '\t') {
        put("\\t");
      } else if (c < 0x20 || c >= 0x7f) {
        put("\\u00");
        put(kHex[c >> 4]);
        put(kHex[c & 15]);
      } else {
        put(ch);
      }
    }
    put('"');
  }
};

void writeJson(const PositionRecord& r, std::string_view fen, Writer& w) {
  // The four castling rights and, for the flags, the king and en passant around them.
  const auto four = [&w](bool whiteLeft, bool whiteRight, bool blackLeft, bool blackRight) {
    w.put("\"whiteLeft\":");
    w.boolean(whiteLeft);
    w.put(",\"whiteRight\":");
    w.boolean(whiteRight);
    w.put(",\"blackLeft\":");
    w.boolean(blackLeft);
    w.put(",\"blackRight\":");
    w.boolean(blackRight);
  };
  w.put("{\"fen\":");
  w.string(fen);
  w.put(",\"side\":");
  w.number(r.Side);
  w.put(",\"extended\":");
  w.boolean(r.Extended);
  w.put(",\"rookLeft\":");
  w.string(std::string_view(&r.RookLeft, 1));
  w.put(",\"rookRight\":");
  w.string(std::string_view(&r.RookRight, 1));
  w.put(",\"enPassant\":");
  w.number(r.EnPassant);
  w.put(",\"halfCount\":");
  w.number(r.HalfCount);
  w.put(",\"fullCount\":");
  w.number(r.FullCount);
  w.put(",\"rights\":{");
  four(r.CaLeftW, r.CaRightW, r.CaLeftB, r.CaRightB);
  w.put("},\"errors\":{\"king\":");
  w.boolean(r.ErrKing);
  w.put(',');
  four(r.ErrCaLeftW, r.ErrCaRightW, r.ErrCaLeftB, r.ErrCaRightB);
  w.put(",\"enPassant\":");
  w.boolean(r.ErrEP);
  // Why each flag that is set is set, in English.
  w.put("},\"reasons\":{");
  if (r.ErrKing || r.ErrCaLeftW || r.ErrCaRightW || r.ErrCaLeftB || r.ErrCaRightB || r.ErrEP) {
    const ErrorReasons reasons = errorReasons(r, Language::English);
    const std::string_view keys[] = {"king", "whiteLeft", "whiteRight",
                                     "blackLeft", "blackRight", "enPassant"};
    const std::string* texts[] = {&reasons.king,
                                  &reasons.castling[kWhiteLeft],
                                  &reasons.castling[kWhiteRight],
                                  &reasons.castling[kBlackLeft],
                                  &reasons.castling[kBlackRight],
                                  &reasons.enPassant};
    bool first = true;
    for (int i = 0; i < 6; ++i) {
      if (texts[i]->empty()) continue;
      if (!first) w.put(',');
      first = false;
      w.string(keys[i]);
      w.put(':');
      w.string(*texts[i]);
    }
  }
  w.put("},\"whiteKing\":");
  w.number(r.WhiteKing);
  w.put(",\"blackKing\":");
  w.number(r.BlackKing);
  w.put(",\"marks\":\"");
  for (const unsigned char m : r.Marks) w.put(m != 0 ? '*' : '-');
  w.put("\"}");
}

// The answer to one line into `w`.
void answer(std::string_view line, const NormalizeOptions& options, Writer& w) {
  PositionRecord r;
  readFenFresh(line, r);
  for (const Transform t : options.transforms) {
    if (t == Transform::Mirror) mirrorRecord(r);
    else turnRecord(r);
  }
  if (!options.json) {
    w.at += writeFen(r, w.at, options.dialect);
  } else {
    char fen[kMaxFenLength];
    const std::size_t length = writeFen(r, fen, options.dialect);
    writeJson(r, std::string_view(fen, length), w);
  }
  w.put('\n');
}

std::string failure(const char* what) { return std::string(what) + std::strerror(errno); }

}  // namespace

void normalizeLine(std::string_view line, const NormalizeOptions& options, std::string& out) {
  const std::size_t size = out.size();
  out.resize(size + kMaxAnswer);
  Writer w{out.data() + size};
  answer(line, options, w);
  out.resize(static_cast<std::size_t>(w.at - out.data()));
}

namespace {

// The answers to whole lines, appended to a buffer that grows as needed.
class Answers {
 public:
  void add(std::string_view line, const NormalizeOptions& options) {
    if (text_.size() - used_ < kMaxAnswer) text_.resize(std::max(text_.size() * 2, kOutputBlock));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Writer w{text_.data() + used_};
    answer(line, options, w);
    used_ = static_cast<std::size_t>(w.at - text_.data());
  }
  // Every line of `text`; the last one may lack its line break.
  void addLines(std::string_view text, const NormalizeOptions& options) {
    while (!text.empty()) {
      const std::size_t nl = text.find('\n');
      if (nl == std::string_view::npos) {
        add(text, options);
        return;
      }
      add(text.substr(0, nl), options);
      text.remove_prefix(nl + 1);
    }
  }
  std::string_view text() const { return {text_.data(), used_}; }
  void clear() { used_ = 0; }

 private:
  std::string text_;
  std::size_t used_ = 0;
};

bool writeAll(int out, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(out, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Fills `buffer` from `in` up to its size or the end of the input; the bytes
// read, or -1 on a read error.
ssize_t readBlock(int in, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(in, buffer + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

// Large blocks of whole lines; a block large enough is split at a line break
// into two halves that the machine's two cores answer at the same time, and
// the answers are written in the order of the lines.
std::optional<std::string> normalizeStream(int in, int out, const NormalizeOptions& options) {
  const bool twoCores = std::thread::hardware_concurrency() > 1;
  std::size_t capacity = kInputBlock;
  std::unique_ptr<char[]> input(new char[capacity]);
  std::size_t kept = 0;  // bytes of an unfinished line at the front
  Answers first, second;
  for (bool more = true; more;) {
    if (kept == capacity) {  // a line longer than the buffer
      std::unique_ptr<char[]> larger(new char[capacity * 2]);
      std::memcpy(larger.get(), input.get(), kept);
      input = std::move(larger);
      capacity *= 2;
    }
    const ssize_t n = readBlock(in, input.get() + kept, capacity - kept);
    if (n < 0) return failure("cannot read standard input: ");
    more = kept + static_cast<std::size_t>(n) == capacity;
    std::string_view block(input.get(), kept + static_cast<std::size_t>(n));
    // The whole lines; at the end of the input the last one may lack its break.
    const std::size_t whole = more ? block.rfind('\n') + 1 : block.size();
    const std::string_view lines = block.substr(0, whole);
    first.clear();
    second.clear();
    std::size_t split = lines.size();
    if (twoCores && lines.size() > kSplitAbove) {
      const std::size_t nl = lines.find('\n', lines.size() / 2);
      if (nl != std::string_view::npos) split = nl + 1;
    }
    std::thread helper;
    if (split < lines.size()) {
      try {
        helper = std::thread([&] { second.addLines(lines.substr(split), options); });
      } catch (const std::system_error&) {
        // No thread to be had (a process limit): this one answers both halves.
      }
    }
    first.addLines(lines.substr(0, split), options);
    if (helper.joinable()) helper.join();
    else if (split < lines.size()) second.addLines(lines.substr(split), options);
    if (!writeAll(out, first.text()) || !writeAll(out, second.text())) {
      return failure("cannot write standard output: ");
    }
    kept = block.size() - whole;
    std::memmove(input.get(), input.get() + whole, kept);
  }
  return std::nullopt;
}

}  // namespace kalmera
