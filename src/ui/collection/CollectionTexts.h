// The texts of the collection room, English and German side by side: the
// menu commands and the panel's controls by object name, and the messages.
#pragma once

#include <array>

#include "view/TextTable.h"

namespace kalmera {

// The panel's labels have no keys of their own: the window's letters are taken.
inline constexpr std::array kCollectionTexts = std::to_array<TextEntry>({
    {"ActNewCollection", TextKind::Caption, "New collection", "Neue Sammlung"},
    {"ActOpenCollection", TextKind::Caption, "Open collection ...", "Sammlung öffnen ..."},
    {"ActSaveCollection", TextKind::Caption, "Save collection", "Sammlung speichern"},
    {"ActSaveCollectionAs", TextKind::Caption, "Save collection as ...",
     "Sammlung speichern unter ..."},
    {"ActCloseCollection", TextKind::Caption, "Close collection", "Sammlung schließen"},
    {"MnuRecentCollections", TextKind::Caption, "Recent collections", "Zuletzt geöffnete Sammlungen"},
    {"MnuExportCollection", TextKind::Caption, "Export collection", "Sammlung exportieren"},
    {"MnuCollection", TextKind::Caption, "Collect&ion", "Sammlun&g"},
    {"ActNextEntry", TextKind::Caption, "Next position", "Nächste Stellung"},
    {"ActPreviousEntry", TextKind::Caption, "Previous position", "Vorige Stellung"},
    {"ActInsertEntry", TextKind::Caption, "Add this position", "Diese Stellung einfügen"},
    {"ActDuplicateEntry", TextKind::Caption, "Duplicate position", "Stellung verdoppeln"},
    {"ActRemoveEntry", TextKind::Caption, "Remove position", "Stellung entfernen"},
    {"collectionPanel", TextKind::Name, "collection", "Sammlung"},
    {"collectionList", TextKind::Name, "positions of the collection", "Stellungen der Sammlung"},
    {"LblEntryTitle", TextKind::Caption, "Title", "Titel"},
    {"LblEntryStipulation", TextKind::Caption, "Stipulation", "Forderung"},
    {"LblEntryComment", TextKind::Caption, "Comment", "Kommentar"},
    {"LblEntrySolution", TextKind::Caption, "Solution", "Lösung"},
    {"LblEntryAvoid", TextKind::Caption, "Avoid", "Vermeiden"},
    {"LblEntryLine", TextKind::Caption, "Line", "Zugfolge"},
    {"EdtEntryTitle", TextKind::Name, "title", "Titel"},
    {"EdtEntryStipulation", TextKind::Name, "stipulation", "Forderung"},
    {"EdtEntryComment", TextKind::Name, "comment", "Kommentar"},
    {"EdtEntrySolution", TextKind::Name, "solution (best moves)", "Lösung (beste Züge)"},
    {"EdtEntryAvoid", TextKind::Name, "moves to avoid", "zu vermeidende Züge"},
    {"EdtEntryLine", TextKind::Name, "main line", "Hauptvariante"},
    {"EdtEntrySolution", TextKind::Hint, "best moves in SAN, as EPD's bm",
     "beste Züge in SAN, wie EPDs bm"},
    {"EdtEntryAvoid", TextKind::Hint, "moves to avoid in SAN, as EPD's am",
     "zu vermeidende Züge in SAN, wie EPDs am"},
    {"EdtEntryLine", TextKind::Hint, "the main line in SAN, as EPD's pv",
     "die Hauptvariante in SAN, wie EPDs pv"},
});

// The list's words: "White to play" and "Black to play" after an entry's title.
inline constexpr MessageText kWhiteToPlay{"White to play", "Weiß am Zug"};
inline constexpr MessageText kBlackToPlay{"Black to play", "Schwarz am Zug"};
inline constexpr MessageText kUntitled{"Position %1", "Stellung %1"};
inline constexpr MessageText kNoPosition{"no position", "keine Stellung"};
inline constexpr MessageText kMateIn{"Mate in %1", "Matt in %1"};
// An unreadable entry: %1 its line number, %2 its text.
inline constexpr MessageText kUnreadableEntry{"line %1, not a position: %2",
                                              "Zeile %1, keine Stellung: %2"};
inline constexpr MessageText kEmptyCollection{"(no positions yet: Insert adds the board's)",
                                              "(noch keine Stellung: Einfg fügt die des Bretts ein)"};
inline constexpr MessageText kCollectionFilter{
    "Collections (*.epd *.fen *.pgn *.txt);;EPD (*.epd);;FEN (*.fen);;PGN (*.pgn);;All files (*)",
    "Sammlungen (*.epd *.fen *.pgn *.txt);;EPD (*.epd);;FEN (*.fen);;PGN (*.pgn);;Alle Dateien (*)"};
inline constexpr MessageText kSaveCollectionFilter{"EPD (*.epd);;All files (*)",
                                                   "EPD (*.epd);;Alle Dateien (*)"};
inline constexpr MessageText kNewCollectionName{"untitled.epd", "unbenannt.epd"};
// %1 the file, %2 why.
inline constexpr MessageText kCollectionNotOpened{"The collection %1 cannot be opened: %2.",
                                                  "Die Sammlung %1 kann nicht geöffnet werden: %2."};
inline constexpr MessageText kCollectionNotSaved{
    "The collection %1 cannot be saved: %2. The file is unchanged.",
    "Die Sammlung %1 kann nicht gespeichert werden: %2. Die Datei ist unverändert."};
// %1 the collection's name.
inline constexpr MessageText kUnsavedChanges{"The collection %1 has unsaved changes.",
                                             "Die Sammlung %1 hat ungesicherte Änderungen."};
// One line that is no position, %1 its number; several: %1 how many, %2 their numbers.
inline constexpr MessageText kUnreadableLine{
    "Line %1 of the file holds no position and is kept as it is.",
    "Zeile %1 der Datei enthält keine Stellung und bleibt, wie sie ist."};
inline constexpr MessageText kUnreadableLines{
    "%1 lines of the file hold no position and are kept as they are (lines %2).",
    "%1 Zeilen der Datei enthalten keine Stellung und bleiben, wie sie sind (Zeilen %2)."};
// %1 the collection's name, %2 when the copy was made.
inline constexpr MessageText kRestoreRecovery{
    "The program ended with unsaved changes in the collection %1 (copy kept %2). Restore them?",
    "Das Programm endete mit ungesicherten Änderungen in der Sammlung %1 (Kopie vom %2). "
    "Wiederherstellen?"};
inline constexpr MessageText kRecoveryNotWritten{
    "The recovery copy %1 cannot be written: %2.",
    "Die Sicherungskopie %1 kann nicht geschrieben werden: %2."};

// ---------------------------------------------------------------- publishing
// File → Export collection: its commands, and what they say.
inline constexpr std::array kCollectionExportTexts = std::to_array<TextEntry>({
    {"ActExportSheet", TextKind::Caption, "PDF puzzle sheet ...", "PDF-Aufgabenblatt ..."},
    {"ActExportLatex", TextKind::Caption, "LaTeX document ...", "LaTeX-Dokument ..."},
    {"ActExportHtml", TextKind::Caption, "HTML page ...", "HTML-Seite ..."},
    {"ActExportPictures", TextKind::Caption, "Pictures ...", "Bilder ..."},
});
inline constexpr MessageText kNothingToExport{
    "The collection holds no positions to export.",
    "Die Sammlung enthält keine Stellung zum Exportieren."};
inline constexpr MessageText kSheetFilter{"PDF (*.pdf);;All files (*)",
                                          "PDF (*.pdf);;Alle Dateien (*)"};
inline constexpr MessageText kLatexFilter{"LaTeX (*.tex);;All files (*)",
                                          "LaTeX (*.tex);;Alle Dateien (*)"};
inline constexpr MessageText kHtmlFilter{"HTML (*.html *.htm);;All files (*)",
                                         "HTML (*.html *.htm);;Alle Dateien (*)"};
// %1 the file and why it could not be written.
inline constexpr MessageText kExportNotWritten{
    "The export was not written: %1. The file is unchanged.",
    "Der Export wurde nicht geschrieben: %1. Die Datei ist unverändert."};
// %1 the picture and why, %2 how many were written before it, %3 of how many.
inline constexpr MessageText kPicturesNotWritten{
    "The pictures were not all written: %1. %2 of %3 pictures were written before it.",
    "Die Bilder wurden nicht alle geschrieben: %1. %2 von %3 Bildern wurden davor geschrieben."};
// %1 how many are there, %2 of how many, %3 the first of them.
inline constexpr MessageText kReplacePictures{
    "%1 of the %2 pictures are in the folder already (%3 ...). Replace them?",
    "%1 der %2 Bilder sind schon im Ordner (%3 ...). Ersetzen?"};

}  // namespace kalmera
