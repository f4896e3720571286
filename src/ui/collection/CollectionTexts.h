// The texts of the collection room, English and German side by side: the
// menu commands and the panel's controls by object name, and the messages.
#pragma once

#include <array>

#include "view/TextTable.h"

namespace kalmera {

inline constexpr std::array kCollectionTexts = std::to_array<TextEntry>({
    {"ActNewCollection", TextKind::Caption, "New collection", "Neue Sammlung"},
    {"ActOpenCollection", TextKind::Caption, "Open collection ...", "Sammlung öffnen ..."},
    {"ActSaveCollection", TextKind::Caption, "Save collection", "Sammlung speichern"},
    {"ActSaveCollectionAs", TextKind::Caption, "Save collection as ...",
     "Sammlung speichern unter ..."},
    {"ActCloseCollection", TextKind::Caption, "Close collection", "Sammlung schließen"},
    {"MnuRecentCollections", TextKind::Caption, "Recent collections", "Zuletzt geöffnete Sammlungen"},
    {"MnuExportCollection", TextKind::Caption, "Export collection", "Sammlung exportieren"},
    {"MnuCollection", TextKind::Caption, "&Collection", "&Sammlung"},
    {"ActNextEntry", TextKind::Caption, "Next position", "Nächste Stellung"},
    {"ActPreviousEntry", TextKind::Caption, "Previous position", "Vorige Stellung"},
    {"ActInsertEntry", TextKind::Caption, "Add this position", "Diese Stellung einfügen"},
    {"ActDuplicateEntry", TextKind::Caption, "Duplicate position", "Stellung verdoppeln"},
    {"ActRemoveEntry", TextKind::Caption, "Remove position", "Stellung entfernen"},
    {"collectionPanel", TextKind::Name, "collection", "Sammlung"},
    {"collectionList", TextKind::Name, "positions of the collection", "Stellungen der Sammlung"},
    {"LblEntryTitle", TextKind::Caption, "&Title", "&Titel"},
    {"LblEntryStipulation", TextKind::Caption, "Stip&ulation", "Forder&ung"},
    {"LblEntryComment", TextKind::Caption, "Co&mment", "Ko&mmentar"},
    {"LblEntrySolution", TextKind::Caption, "S&olution", "Lös&ung"},
    {"LblEntryAvoid", TextKind::Caption, "A&void", "&Vermeiden"},
    {"LblEntryLine", TextKind::Caption, "Li&ne", "&Zugfolge"},
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

}  // namespace kalmera
