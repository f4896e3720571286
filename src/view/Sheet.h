// Diagrams for print as PDF: a puzzle sheet of numbered diagrams, or the one
// diagram of the editor with its headlines. The boards are vector drawings
// of the same painter as the SVG file, the texts real text that can be
// searched and copied.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

#include "export/BoardStyle.h"
#include "model/PositionRecord.h"

namespace kalmera {

struct SheetDiagram {
  PositionRecord record;  // checked (as its FEN line writes it)
  QString title;          // over the board (an EPD id); may be empty
  int number = 0;         // in its caption: "1. White to play"
  // The caption's words when it has one ("1. White mates in 2"); empty: who is to play.
  QString stipulation;
  QString solution;  // in the answer key; empty: "–"
};

struct SheetOptions {
  int perPage = 6;  // 1, 2, 4, 6, 9 or 12
  bool letter = false;  // US Letter instead of A4
  bool german = false;  // "Weiß am Zug"
  bool flipBlack = false;  // Black to play seen from Black's side
  bool flipAll = false;    // every diagram seen from Black's side
  QString title;  // on each page
  std::array<int, 3> colors{};
  bool solutions = false;  // the answer key's pages at the end
  BoardStyle style;  // the boards' piece design, print style and coordinates
};

// The sheet as a PDF file's bytes: as many pages as the diagrams need (one
// page for none), then with `solutions` the answer key ("Solutions",
// "Lösungen"): each diagram's number and solution, as many pages as it takes.
QByteArray sheetPdf(const std::vector<SheetDiagram>& diagrams, const SheetOptions& options);

// One page: the two headlines, the board as the window shows it, its FEN.
QByteArray diagramPdf(const PositionRecord& record, const std::array<int, 3>& colors,
                      const QString& head1, const QString& head2, const QString& fen,
                      bool flipped, const BoardStyle& style = {});

}  // namespace kalmera
