// The trained classifier's weights, made by scripts/train-recognizer.sh and
// kept in data/recognizer.ksq, are part of the program: nothing to find at
// run time.
#include <cstddef>
#include <cstdint>

#include "recognize/Recognizer.h"

#ifndef KALMERA_MODEL_FILE
#error "KALMERA_MODEL_FILE names the weights to build in"
#endif

asm(".section .rodata\n"
    ".balign 16\n"
    ".global kalmeraModelBytes\n"
    "kalmeraModelBytes:\n"
    ".incbin \"" KALMERA_MODEL_FILE "\"\n"
    ".global kalmeraModelEnd\n"
    "kalmeraModelEnd:\n"
    ".byte 0\n"
    ".previous\n");

extern "C" const std::uint8_t kalmeraModelBytes[];
extern "C" const std::uint8_t kalmeraModelEnd[];

namespace kalmera {

const SquareClassifier& SquareClassifier::builtIn() {
  static const SquareClassifier classifier = [] {
    const auto size = static_cast<std::size_t>(kalmeraModelEnd - kalmeraModelBytes);
    if (auto c = fromBytes(kalmeraModelBytes, size)) return *c;
    return SquareClassifier{};  // none built in: every square reads as empty
  }();
  return classifier;
}

}  // namespace kalmera
