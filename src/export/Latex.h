// The position as a diagram for LaTeX: a \chessboard command of the
// `chessboard` package (TeX Live's texlive-games) with the two headlines as
// lines above it, or a whole document that pdflatex compiles as it is.
// Pure text generation, UTF-8 out.
#pragma once

#include <string>
#include <string_view>

#include "model/PositionRecord.h"

namespace kalmera {

struct LatexInput {
  PositionRecord record;  // the marks, arrows and coloured squares
  std::string fen;        // the normalised FEN
  std::u32string head1;   // the headlines' characters
  std::u32string head2;
  bool flipped = false;   // seen from Black's side
  bool coordinates = true;  // the file letters and rank digits
  bool document = false;  // a whole document instead of the command
};

std::string makeLatex(const LatexInput& input);

// The characters of a headline: UTF-8 as typed (bytes that are not UTF-8 as
// ISO 8859-1), and a numeric reference of a character above 255 ("&#9822;",
// the form the diagrams and the settings file use) as that character.
std::u32string headlineCharacters(std::string_view text);

// A headline as LaTeX text in UTF-8: the characters that are special to
// LaTeX as commands that print them as typed, those pdflatex prints with T1
// fonts and UTF-8 input (and the kernel's TS1 symbols) as they are;
// `unprintable` collects the others (which a document of its own must
// declare, as the whole document does).
std::string latexText(std::u32string_view text, std::u32string* unprintable = nullptr);

}  // namespace kalmera
