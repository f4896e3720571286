// The boards on the pages of a PDF file: each page drawn by Debian's poppler
// at a resolution that gives its boards at least 200 pixels, then read as a
// picture. A damaged or encrypted file, or one of more pages than a book of
// diagrams has, is said in one line.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "recognize/Recognizer.h"

namespace kalmera {

inline constexpr int kMaxPdfPages = 1000;

// Whether the bytes are a PDF file ("%PDF-" at the start).
bool isPdf(std::span<const std::uint8_t> bytes);

struct PdfBoard {
  int page = 0, diagram = 0;  // counted from 1, the diagrams of each page in reading order
  Recognition reading;
};

// Every board of every page, in page order; or why the file cannot be read
// ("the PDF file is damaged", "the PDF file is encrypted: ...", "the PDF
// file has N pages (at most 1000 are read)"). `stop` set: ends early with
// what was read so far. Pages are read on `workers` threads.
std::variant<std::vector<PdfBoard>, std::string> recognizePdf(
    std::span<const std::uint8_t> bytes, const std::atomic<bool>* stop = nullptr, int workers = 2,
    const SquareClassifier& classifier = SquareClassifier::builtIn());

}  // namespace kalmera
