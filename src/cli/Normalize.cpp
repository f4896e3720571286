#include "cli/Normalize.h"

#include <string.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "model/ErrorReasons.h"
#include "model/Legality.h"
#include "model/ReadingReport.h"
#include "moves/GameEnd.h"
#include "setup/WholeFile.h"

namespace kalmera {

namespace {

// The longest answer to one line: a JSON object with every reason given
// (under 2 KB) and every kind of reading change (18, each under 600 bytes
// with its quoted input escaped).
constexpr std::size_t kMaxAnswer = 16384;
// The input a worker takes at a time, and the answers it keeps before writing.
constexpr std::size_t kInputBlock = 1 << 19;
constexpr std::size_t kOutputBlock = 1 << 23;
// A longer line is read as its first kMaxLine bytes; the rest is passed over
// kPassBlock bytes at a time.
constexpr std::size_t kMaxLine = 1 << 20;
constexpr std::size_t kPassBlock = 1 << 16;

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
  // Five bytes written either way ("true" and its terminating zero), four or five kept.
  void boolean(bool value) {
    std::memcpy(at, value ? "true" : "false", 5);
    at += value ? 4 : 5;
  }
  // Text that needs no escapes, in quotes.
  void quoted(std::string_view text) {
    put('"');
    put(text);
    put('"');
  }
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

void writeJson(const PositionRecord& r, std::string_view fen, const ReadingReport& reading,
               const Legality& legality, Writer& w) {
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
  // The FEN text and the rook files are letters, digits, "/", " " and "-":
  // nothing to escape.
  w.put("{\"fen\":");
  w.quoted(fen);
  w.put(",\"side\":");
  w.number(r.Side);
  w.put(",\"extended\":");
  w.boolean(r.Extended);
  w.put(",\"rookLeft\":");
  w.quoted(std::string_view(&r.RookLeft, 1));
  w.put(",\"rookRight\":");
  w.quoted(std::string_view(&r.RookRight, 1));
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
  // What the reader changed of the text, in English.
  w.put("},\"reading\":{");
  for (const ReadingChange& change : reading.changes()) {
    if (&change != &reading.changes().front()) w.put(',');
    w.quoted(kReadingKeys[static_cast<int>(change.kind)]);
    w.put(':');
    w.string(readingSentence(change, Language::English));
  }
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
  // The rules of play the position breaks, each with its sentence in English.
  w.put("},\"legality\":{");
  for (int p = 0; p < kProblemCount; ++p) {
    const auto problem = static_cast<Problem>(p);
    if (!legality.has(problem)) continue;
    if (legality.first() != problem) w.put(',');
    w.quoted(kProblemKeys[p]);
    w.put(':');
    w.string(legalityReason(legality, r, problem, Language::English));
  }
  // The end of the game, when the position shows one.
  w.put("},\"state\":");
  w.quoted(kGameStateKeys[static_cast<int>(gameEndOf(r))]);
  w.put(",\"whiteKing\":");
  w.number(r.WhiteKing);
  w.put(",\"blackKing\":");
  w.number(r.BlackKing);
  // "*" for a marked square, "-" for another, eight at a time: a byte's
  // top bit of `marked` says "not zero".
  w.put(",\"marks\":\"");
  for (int row = 0; row < 8; ++row) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL, ones = 0x0101010101010101ULL;
    std::uint64_t marks;
    std::memcpy(&marks, r.Marks.data() + row * 8, 8);
    const std::uint64_t marked = ((((marks & low7) + low7) | marks) >> 7) & ones;
    const std::uint64_t text = '-' * ones - ('-' - '*') * marked;
    std::memcpy(w.at, &text, 8);
    w.at += 8;
  }
  w.put("\"}");
}

// A fresh record to copy from: copying takes a few wide moves, where the
// compiler builds one in place with a slow string store. Not const, so that
// it cannot do so here either.
PositionRecord freshRecord;

// The answer to one line into `w`. `ahead`: kReadAhead bytes after the line
// may be read. `reading` is the caller's, used again for every line (the
// readers clear it); plain normalising asks for no report of the reading.
void answer(std::string_view line, const NormalizeOptions& options, Writer& w, bool ahead,
            ReadingReport& reading) {
  PositionRecord r = freshRecord;
  ReadingReport* const report = options.check || options.json ? &reading : nullptr;
  std::string_view placement;
  if (ahead) placement = readFenFreshAhead(line, r, report);
  else readFenFresh(line, r, report);
  if (!options.transforms.empty()) placement = {};
  for (const Transform t : options.transforms) {
    if (t == Transform::Mirror) mirrorRecord(r);
    else turnRecord(r);
  }
  if (options.check) {
    char* start = w.at;
    w.at += writeFen(r, w.at, options.dialect, placement);
    const Legality legality = judgeLegality(r);
    if (options.illegalOnly && legality.legal() && reading.empty()) {
      w.at = start;
      return;
    }
    // What the reading changed comes first: a changed text is never just "legal".
    w.put('\t');
    for (const ReadingChange& change : reading.changes()) {
      w.put(kReadingKeys[static_cast<int>(change.kind)]);
      w.put(',');
    }
    if (legality.legal()) w.put("legal");
    for (int p = 0; p < kProblemCount; ++p) {
      if (!legality.has(static_cast<Problem>(p))) continue;
      if (legality.first() != static_cast<Problem>(p)) w.put(',');
      w.put(kProblemKeys[p]);
    }
    // After the rules, the end of the game the position shows.
    if (const GameState end = gameEndOf(r); end != GameState::Playing) {
      w.put(',');
      w.put(kGameStateKeys[static_cast<int>(end)]);
    }
  } else if (!options.json) {
    w.at += writeFen(r, w.at, options.dialect, placement);
  } else {
    char fen[kMaxFenLength];
    const std::size_t length = writeFen(r, fen, options.dialect, placement);
    writeJson(r, std::string_view(fen, length), reading, judgeLegality(r), w);
  }
  w.put('\n');
}

std::string failure(const char* what, int error) {
  return std::string(what) + std::strerror(error);
}

}  // namespace

void normalizeLine(std::string_view line, const NormalizeOptions& options, std::string& out) {
  char buffer[kMaxAnswer];  // not cleared: only what is written is appended
  Writer w{buffer};
  ReadingReport reading;
  answer(line, options, w, false, reading);
  out.append(buffer, static_cast<std::size_t>(w.at - buffer));
}

namespace {

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

// A piece of the input: whole lines, with kReadAhead readable bytes after them.
struct Chunk {
  std::unique_ptr<char[]> bytes;
  std::size_t capacity = 0;  // without the bytes read ahead
  std::size_t size = 0;
  long number = 0;           // its place in the input
  bool lineCut = false;      // it is one line, cut at kMaxLine bytes

  void reserve(std::size_t wanted, std::size_t keep) {
    if (wanted <= capacity) return;
    std::unique_ptr<char[]> larger(new char[wanted + kReadAhead]);
    if (keep > 0) std::memcpy(larger.get(), bytes.get(), keep);  // a first buffer has none
    bytes = std::move(larger);
    capacity = wanted;
  }
};

// Hands out the input in chunks of whole lines, numbered in their order; the
// workers take turns at it. A line longer than kMaxLine is a chunk of its own,
// cut there; the rest of it is read past in blocks, so that no input needs
// more memory than that.
class LineSource {
 public:
  explicit LineSource(int in) : in_(in) {}

  // The next chunk; false at the end of the input or after a read error.
  bool next(Chunk& chunk) {
    const std::lock_guard lock(mutex_);
    if (finished_) return false;
    // Below kMaxLine the unfinished line of the last chunk is shorter than the
    // chunk; twice its size leaves room for whole lines after it.
    chunk.reserve(std::min(std::max(kInputBlock, unfinished_.size() * 2), kMaxLine), 0);
    std::memcpy(chunk.bytes.get(), unfinished_.data(), unfinished_.size());
    std::size_t filled = unfinished_.size();
    unfinished_.clear();
    chunk.lineCut = false;
    for (;;) {
      const ssize_t n = readBlock(in_, chunk.bytes.get() + filled, chunk.capacity - filled);
      if (n < 0) {
        error_ = errno;
        finished_ = true;
        return false;
      }
      filled += static_cast<std::size_t>(n);
      if (filled < chunk.capacity) {  // the end: the last line may lack its break
        finished_ = true;
        break;
      }
      const char* const begin = chunk.bytes.get();
      const auto* nl = static_cast<const char*>(::memrchr(begin, '\n', filled));
      if (nl != nullptr) {
        const std::size_t whole = static_cast<std::size_t>(nl - begin) + 1;
        unfinished_.assign(begin + whole, filled - whole);
        filled = whole;
        break;
      }
      if (filled >= kMaxLine) {  // one line, as long as a line may be
        const std::optional<bool> cut = passRestOfLine();
        if (!cut) return false;
        chunk.lineCut = *cut;
        break;
      }
      // A line longer than the chunk.
      chunk.reserve(std::min(chunk.capacity * 2, kMaxLine), filled);
    }
    chunk.size = filled;
    std::memset(chunk.bytes.get() + filled, '\n', kReadAhead);  // what may be read ahead
    chunk.number = count_++;
    return filled > 0;
  }

  int error() const { return error_; }

 private:
  // Reads up to the end of the line whose first kMaxLine bytes are taken;
  // what follows its break is kept for the next chunk. Whether anything but
  // a "\r" before the break was passed over; nothing after a read error.
  std::optional<bool> passRestOfLine() {
    if (!passed_) passed_.reset(new char[kPassBlock]);
    std::size_t passed = 0;
    char last = 0;
    for (;;) {
      const ssize_t n = readBlock(in_, passed_.get(), kPassBlock);
      if (n < 0) {
        error_ = errno;
        finished_ = true;
        return std::nullopt;
      }
      const std::size_t size = static_cast<std::size_t>(n);
      const auto* nl = static_cast<const char*>(std::memchr(passed_.get(), '\n', size));
      const std::size_t before =
          nl != nullptr ? static_cast<std::size_t>(nl - passed_.get()) : size;
      if (before > 0) last = passed_[before - 1];
      passed += before;
      if (nl != nullptr) {
        unfinished_.assign(nl + 1, size - before - 1);
        break;
      }
      if (size < kPassBlock) {
        finished_ = true;
        break;
      }
    }
    return passed > 1 || (passed == 1 && last != '\r');
  }

  int in_;
  std::mutex mutex_;
  std::string unfinished_;  // the start of a line that the last chunk cut
  std::unique_ptr<char[]> passed_;  // the rest of a cut line, a block at a time
  long count_ = 0;
  bool finished_ = false;
  int error_ = 0;
};

// The order of writing: a worker writes the answers to its chunk once every
// earlier chunk is written. After a failed write nobody writes any more.
class Turns {
 public:
  // Waits for the turn of chunk `number`; false when a write failed.
  bool waitFor(long number) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return next_ == number || error_ != 0; });
    return error_ == 0;
  }
  // Ends a turn whose chunk held `lines` lines.
  void pass(int error, long lines) {
    {
      const std::lock_guard lock(mutex_);
      ++next_;
      lines_ += lines;
      if (error != 0) error_ = error;
    }
    changed_.notify_all();
  }
  int error() {
    const std::lock_guard lock(mutex_);
    return error_;
  }
  // The lines of the chunks before the one whose turn it is.
  long linesBefore() {
    const std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  long next_ = 0;
  long lines_ = 0;
  int error_ = 0;
};

// One worker: takes chunks, answers their lines into its own buffer, and
// writes them in its turn. A buffer that fills up is written early, once its
// turn has come, so that no input makes the answers pile up. A cut line is
// said in its turn too, when its number is known.
void work(LineSource& source, Turns& turns, int out, const NormalizeOptions& options) {
  Chunk chunk;
  const std::unique_ptr<char[]> answers(new char[kOutputBlock + kMaxAnswer]);
  ReadingReport reading;
  while (source.next(chunk)) {
    bool myTurn = false;
    int error = 0;
    Writer w{answers.get()};
    const auto writeOut = [&] {
      if (!myTurn && !turns.waitFor(chunk.number)) return false;  // an earlier write failed
      myTurn = true;
      const std::string_view text(answers.get(), static_cast<std::size_t>(w.at - answers.get()));
      w.at = answers.get();
      error = writeAll(out, text) ? 0 : errno;
      return error == 0;
    };
    std::string_view text(chunk.bytes.get(), chunk.size);
    long lines = 0;
    bool ok = true;
    while (ok && !text.empty()) {
      const std::size_t nl = text.find('\n');
      std::string_view line = text.substr(0, nl);
      text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      answer(line, options, w, true, reading);
      ++lines;
      if (static_cast<std::size_t>(w.at - answers.get()) > kOutputBlock) ok = writeOut();
    }
    if (ok) ok = writeOut();
    if (ok && chunk.lineCut) {
      std::fprintf(stderr, "kalmera-fen: line %ld: cut at %zu bytes\n", turns.linesBefore() + lines,
                   kMaxLine);
    }
    if (myTurn) turns.pass(error, lines);
    if (!ok) return;
  }
}

}  // namespace

// Chunks of whole lines, answered by as many workers as the machine has
// cores (at most eight); the answers are written in the order of the lines.
std::optional<std::string> normalizeStream(int in, int out, const NormalizeOptions& options) {
  LineSource source(in);
  Turns turns;
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  std::vector<std::thread> helpers;
  for (unsigned i = 1; i < cores; ++i) {
    try {
      helpers.emplace_back([&] { work(source, turns, out, options); });
    } catch (const std::system_error&) {
      break;  // no more threads to be had (a process limit): fewer workers
    }
  }
  work(source, turns, out, options);
  for (std::thread& helper : helpers) helper.join();
  if (const int error = turns.error()) return failure("cannot write standard output: ", error);
  if (const int error = source.error()) return failure("cannot read standard input: ", error);
  return std::nullopt;
}

}  // namespace kalmera
