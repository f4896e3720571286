// A collection: an ordered list of entries read from a file of positions
// (EPD lines, FEN lines, PGN games with a FEN tag, in any mix) and written
// back to it. Entries are addressed by their row (0, 1, ...).
//
// Lines that are no entry are kept where they stand: blank lines, "#"
// comment lines and PGN games without a FEN tag. Each run of them belongs to
// the entry below it (the last run to the end of the file): it moves with
// that entry, and when the entry is removed it stays, before the next one.
// A file read and not changed is written back byte for byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/Entry.h"

namespace kalmera {

// What changed in the list, for a view over it: each change is announced
// before it is made and reported after (a list model's begin... and end...).
// Insertions name the rows the new entries take, removals the rows that go,
// a move the row an entry leaves and the row it holds afterwards (a Qt
// model's destination is `to + 1` when the entry moves down).
class CollectionObserver {
 public:
  virtual ~CollectionObserver() = default;
  virtual void entriesAboutToBeInserted(std::size_t /*row*/, std::size_t /*count*/) {}
  virtual void entriesInserted(std::size_t /*row*/, std::size_t /*count*/) {}
  virtual void entriesAboutToBeRemoved(std::size_t /*row*/, std::size_t /*count*/) {}
  virtual void entriesRemoved(std::size_t /*row*/, std::size_t /*count*/) {}
  virtual void entryAboutToMove(std::size_t /*from*/, std::size_t /*to*/) {}
  virtual void entryMoved(std::size_t /*from*/, std::size_t /*to*/) {}
  virtual void entryChanged(std::size_t /*row*/) {}
  // The whole list is another (read, restored).
  virtual void aboutToReset() {}
  virtual void reset() {}
};

// An entry taken out, with what puts it back exactly where it was: the length
// of the kept lines above it, which passed to the entry below.
struct RemovedEntry {
  Entry entry;
  std::size_t keptLength = 0;
};

class Collection {
 public:
  // Files larger than this are not opened: room for lines of 10 MB and for
  // millions of entries, but not for a file that would not fit in memory.
  static constexpr std::size_t kMaxFileSize = 256u << 20;

  // The whole state of the list, for an undo step that puts it all back.
  struct Contents {
    struct Row {
      Entry entry;
      std::string keptBefore;  // the lines above it that are no entry
    };
    std::vector<Row> rows;
    std::string keptAfter;       // the lines after the last entry
    std::string lineEnd = "\n";  // for new lines: the file's first line end
  };

  Collection() = default;
  static Collection fromBytes(std::string_view bytes);

  void setObserver(CollectionObserver* observer) { observer_ = observer ? observer : &none_; }

  // Reads the file into the collection; the reason when it could not be read,
  // and the collection stays as it was.
  std::optional<std::string> open(const std::string& path);
  // Writes the collection through the one atomic writer; the reason when that
  // failed, and the file stays as it was.
  std::optional<std::string> save(const std::string& path);
  std::string bytes() const;
  // The collection becomes these bytes' (an empty text: a new, empty collection).
  void read(std::string_view bytes);

  std::size_t size() const { return contents_.rows.size(); }
  bool empty() const { return contents_.rows.empty(); }
  const Entry& entry(std::size_t row) const { return contents_.rows[row].entry; }
  // The line numbers of the unreadable entries, in the order of the rows.
  std::vector<int> unreadableLines() const;
  // Changed since it was read or saved.
  bool isModified() const { return modified_; }
  // A collection brought back from a recovery copy holds unsaved changes.
  void setModified(bool modified) { modified_ = modified; }

  // A new entry at `row` (0..size()), directly below the entry above it.
  void insert(std::size_t row, Entry entry);
  RemovedEntry remove(std::size_t row);
  // Undoes remove(row) that gave `removed`.
  void restore(std::size_t row, RemovedEntry removed);
  // The entry at `from` (with its kept lines) to be the one at `to`.
  void move(std::size_t from, std::size_t to);
  void replace(std::size_t row, Entry entry);
  // Changes the entry at `row` in place through its own setters.
  template <typename Edit>
  void edit(std::size_t row, Edit&& edit) {
    edit(contents_.rows[row].entry);
    modified_ = true;
    observer_->entryChanged(row);
  }

  const Contents& contents() const { return contents_; }
  void restore(Contents contents);

 private:
  static Contents parse(std::string_view bytes);
  std::string& keptBelow(std::size_t row);

  static CollectionObserver none_;
  CollectionObserver* observer_ = &none_;
  Contents contents_;
  bool modified_ = false;
};

}  // namespace kalmera
