#include "collection/Collection.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "collection/Lines.h"
#include "collection/Pgn.h"
#include "setup/WholeFile.h"

namespace kalmera {

CollectionObserver Collection::none_;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Blank lines and "#" comment lines: kept, never entries.
bool isKeptLine(std::string_view line) {
  for (const char c : line) {
    if (!isEpdBlank(c)) return c == '#';
  }
  return true;
}

}  // namespace

Collection Collection::fromBytes(std::string_view bytes) {
  Collection collection;
  collection.contents_ = parse(bytes);
  return collection;
}

// Line by line: a tag line starts a PGN game, which is read whole (an entry
// when it has a FEN tag, kept otherwise); kept lines gather until the next
// entry; any other line is an entry, a position or an unreadable one.
Collection::Contents Collection::parse(std::string_view bytes) {
  Contents contents;
  bool lineEndSeen = false;
  std::size_t keptFrom = 0;  // where the kept lines above the next entry start
  const auto add = [&](Entry entry, std::size_t begin, std::size_t end) {
    contents.rows.push_back(
        {std::move(entry), std::string(bytes.substr(keptFrom, begin - keptFrom))});
    keptFrom = end;
  };
  const auto slice = [&](std::size_t begin, std::size_t end) {
    return std::string(bytes.substr(begin, end - begin));
  };

  LineCursor lines(bytes, bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0);
  TextLine line;
  int number = 0;
  while (lines.next(line)) {
    ++number;
    if (!lineEndSeen && !line.ending.empty()) {
      contents.lineEnd = line.ending;
      lineEndSeen = true;
    }
    if (readTagLine(line.content)) {
      const PgnGame game = readGame(bytes, line.begin);
      if (game.fen)
        add(Entry::fromGame(slice(line.begin, game.end), number, game), line.begin, game.end);
      number += game.lineCount - 1;
      lines = LineCursor(bytes, game.end);
    } else if (!isKeptLine(line.content)) {
      add(Entry::fromLine(slice(line.begin, line.end), number), line.begin, line.end);
    }
  }
  contents.keptAfter = bytes.substr(keptFrom);
  return contents;
}

void Collection::read(std::string_view bytes) {
  observer_->aboutToReset();
  contents_ = parse(bytes);
  modified_ = false;
  observer_->reset();
}

std::optional<std::string> Collection::open(const std::string& path) {
  const ReadResult file = readWholeFile(path, kMaxFileSize);
  if (file.status == ReadStatus::Missing) return std::string(std::strerror(ENOENT));
  if (file.status != ReadStatus::Read) return file.reason;
  read(file.bytes);
  return std::nullopt;
}

std::string Collection::bytes() const {
  std::size_t size = contents_.keptAfter.size();
  for (const Contents::Row& row : contents_.rows)
    size += row.keptBefore.size() + row.entry.text().size() + 4;
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < contents_.rows.size(); ++i) {
    const Contents::Row& row = contents_.rows[i];
    out.append(row.keptBefore);
    const bool followed = i + 1 < contents_.rows.size() || !contents_.keptAfter.empty();
    row.entry.appendTo(out, contents_.lineEnd, followed);
  }
  out.append(contents_.keptAfter);
  return out;
}

std::optional<std::string> Collection::save(const std::string& path) {
  if (std::optional<std::string> error = writeWholeFile(path, bytes())) return error;
  modified_ = false;
  return std::nullopt;
}

std::vector<int> Collection::unreadableLines() const {
  std::vector<int> lines;
  for (const Contents::Row& row : contents_.rows) {
    if (!row.entry.isPosition()) lines.push_back(row.entry.lineNumber());
  }
  return lines;
}

std::string& Collection::keptBelow(std::size_t row) {
  return row + 1 < contents_.rows.size() ? contents_.rows[row + 1].keptBefore : contents_.keptAfter;
}

void Collection::insert(std::size_t row, Entry entry) {
  observer_->entriesAboutToBeInserted(row, 1);
  contents_.rows.insert(contents_.rows.begin() + static_cast<std::ptrdiff_t>(row),
                        Contents::Row{std::move(entry), {}});
  modified_ = true;
  observer_->entriesInserted(row, 1);
}

RemovedEntry Collection::remove(std::size_t row) {
  observer_->entriesAboutToBeRemoved(row, 1);
  Contents::Row taken = std::move(contents_.rows[row]);
  keptBelow(row).insert(0, taken.keptBefore);
  contents_.rows.erase(contents_.rows.begin() + static_cast<std::ptrdiff_t>(row));
  modified_ = true;
  observer_->entriesRemoved(row, 1);
  return {std::move(taken.entry), taken.keptBefore.size()};
}

void Collection::restore(std::size_t row, RemovedEntry removed) {
  std::string& below =
      row < contents_.rows.size() ? contents_.rows[row].keptBefore : contents_.keptAfter;
  const std::size_t length = std::min(removed.keptLength, below.size());
  std::string kept = below.substr(0, length);
  below.erase(0, length);
  observer_->entriesAboutToBeInserted(row, 1);
  contents_.rows.insert(contents_.rows.begin() + static_cast<std::ptrdiff_t>(row),
                        Contents::Row{std::move(removed.entry), std::move(kept)});
  modified_ = true;
  observer_->entriesInserted(row, 1);
}

void Collection::move(std::size_t from, std::size_t to) {
  if (from == to) return;
  observer_->entryAboutToMove(from, to);
  const auto at = [this](std::size_t row) {
    return contents_.rows.begin() + static_cast<std::ptrdiff_t>(row);
  };
  if (from < to) {
    std::rotate(at(from), at(from + 1), at(to + 1));
  } else {
    std::rotate(at(to), at(from), at(from + 1));
  }
  modified_ = true;
  observer_->entryMoved(from, to);
}

void Collection::replace(std::size_t row, Entry entry) {
  contents_.rows[row].entry = std::move(entry);
  modified_ = true;
  observer_->entryChanged(row);
}

void Collection::restore(Contents contents) {
  observer_->aboutToReset();
  contents_ = std::move(contents);
  modified_ = true;
  observer_->reset();
}

}  // namespace kalmera
