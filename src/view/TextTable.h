// The interface texts of the main window, English and German side by side.
// Each entry names the control (its object name) and which of its texts it is.
#pragma once

#include <array>
#include <string_view>

namespace kalmera {

enum class TextKind {
  Caption,  // button, label, check box, group box, action or menu title
  Hint,     // tool tip
  Title,    // window title
  Name,     // the accessible name a screen reader says
};

struct TextEntry {
  std::string_view control;
  TextKind kind;
  std::string_view english;  // UTF-8 source text
  std::string_view german;
};

// "&" marks an accelerator; "\n" in a hint is a line break.
inline constexpr std::array kMainTexts = std::to_array<TextEntry>({
    {"TFrmFenEdit", TextKind::Title, "Kalmera FEN-Editor and Position Generator",
     "Kalmera FEN-Editor und Positions-Generator"},
    {"GrpBoard", TextKind::Caption, " Chess Board ", " Spielbrett "},
    {"GrpReset", TextKind::Caption, " Complete Setup ", " Komplett-Aufbau "},
    {"GrpCastling", TextKind::Caption, " Castling Rights ", " Rochade-Rechte "},
    {"GrpEnPassant", TextKind::Caption, " En Passant Move ", " En Passant Zug "},
    {"GrpMoveCount", TextKind::Caption, " Current Move ", " Aktueller Zug "},
    {"GrpGenerate", TextKind::Caption, " HTM&L-Headers ", " HTM&L-Kopfzeilen "},
    {"GrpFigures", TextKind::Caption, " Piece Bo&x ", " &Figur-Behälter "},
    {"GrpFen", TextKind::Caption, " FEN-&String (copy and paste) ",
     " FEN-Ze&ichenkette (kopieren und einfügen) "},
    {"ActAbNormal", TextKind::Caption, "&Normal", "&Normal"},
    {"ButNew", TextKind::Hint, "normal chess", "Normal-Schach"},
    {"ActAbZufall", TextKind::Caption, "&Random", "&Zufall"},
    {"ButRandom", TextKind::Hint, "Fischer random chess", "Fischer-Random-Schach"},
    {"ActAbLeer", TextKind::Caption, "&Empty", "L&eer"},
    {"ButEmpty", TextKind::Hint, "empty board", "leeres Brett"},
    {"ActAbOld", TextKind::Caption, "&Undo", "&Urspr."},
    {"ButOld", TextKind::Hint, "primary board", "ursprünliches Brett"},
    {"ActVorschau", TextKind::Caption, "Web &Preview", "Web &Vorschau"},
    {"ButVorschau", TextKind::Hint, "preview in web browser", "Vorschau im Web-Browser"},
    {"ActHtmlClip", TextKind::Caption, "H&TML Clipboard", "H&TML Clipboard"},
    {"ButHtmlClip", TextKind::Hint, "Copy HTML", "zwischenspeichern HTML"},
    {"ActFenClip", TextKind::Caption, "&Copy", "&Kopieren"},
    {"ActFenClip", TextKind::Hint, "Copy FEN", "zwischenspeichern FEN"},
    {"UpdFullCount", TextKind::Hint, "change move number", "ändern Zug-Nummer"},
    {"UpdHalfCount", TextKind::Hint, "change half moves", "ändern Halbzüge"},
    {"EdtFenString", TextKind::Hint, "FEN-representation of actual position",
     "FEN-Darstellung der aktuellen Stellung"},
    {"EdtKopf1", TextKind::Hint, "first headline", "obere Kopfzeile"},
    {"EdtKopf2", TextKind::Hint, "second headline", "untere Kopfzeile"},
    {"EdtFullCount", TextKind::Hint, "move number", "Zug-Nummer"},
    {"EdtHalfCount", TextKind::Hint, "half moves", "Halbzüge"},
    {"CbxEnPassant", TextKind::Hint, "selection of e.p. file", "Auswahl e.p.-Spalte"},
    {"CbxRLeft", TextKind::Hint, "rook file (left)", "Turm-Spalte (links)"},
    {"CbxRRight", TextKind::Hint, "rook file (right)", "Turm-Spalte (rechts)"},
    {"ChkKalmera", TextKind::Caption, "&Kalmera (Fischer Random)", "Kalm&era (Fischer-Random)"},
    {"ChkKalmera", TextKind::Hint, "extended castling", "erweiterte Rochade"},
    {"ChkCaLeftB", TextKind::Hint, "left black castling", "linke schwarze Rochade"},
    {"ChkCaLeftW", TextKind::Hint, "left white castling", "linke weiße Rochade"},
    {"ChkCaRightB", TextKind::Hint, "right black castling", "rechte Schwarze Rochade"},
    {"ChkCaRightW", TextKind::Hint, "right white castling", "rechte weiße Rochade"},
    {"RadPawn", TextKind::Caption, "P", "B"},
    {"RadPawn", TextKind::Hint, "Pawn", "Bauer"},
    {"RadKnight", TextKind::Caption, "N", "S"},
    {"RadKnight", TextKind::Hint, "Knight", "Springer"},
    {"RadBishop", TextKind::Caption, "B", "L"},
    {"RadBishop", TextKind::Hint, "Bishop", "Läufer"},
    {"RadRook", TextKind::Caption, "R", "T"},
    {"RadRook", TextKind::Hint, "Rook", "Turm"},
    {"RadQueen", TextKind::Caption, "Q", "D"},
    {"RadQueen", TextKind::Hint, "Queen", "Dame"},
    {"RadKing", TextKind::Caption, "K", "K"},
    {"RadKing", TextKind::Hint, "King", "König"},
    // Taking is done with the right mouse button, so the hint says so.
    {"PbxBoard", TextKind::Hint, "set (click)\ntake (right click)\nmark (ctrl+click)",
     "setzen (Klick)\naufnehmen (Rechtsklick)\nmarkieren (Strg+Klick)"},
    {"PbxFigures", TextKind::Hint, "select active figure", "auswählen aktive Figur"},
    {"LblASide", TextKind::Caption, "&a - side", "&a - Seite"},
    {"LblHSide", TextKind::Caption, "&h - side", "&h - Seite"},
    {"LblEnPassant", TextKind::Caption, "affecte&d e.p. file", "&betroffene e.p. - Spalte"},
    {"LblFullCount", TextKind::Caption, "number of &move to play", "Nu&mmer anstehender Zug"},
    {"LblHalfCount", TextKind::Caption, "N&o. of reversible half moves",
     "Anzahl &reversibler Halbzüge"},
    {"LblColor", TextKind::Caption, "active color to play", "aktive Farbe am Zug"},
    {"MnuTopDatei", TextKind::Caption, "&File", "&Datei"},
    {"MnuTopBearb", TextKind::Caption, "&Edit", "&Bearbeiten"},
    {"MnuTopOpts", TextKind::Caption, "&Options", "&Optionen"},
    {"MnuTopHilfe", TextKind::Caption, "&Help", "&Hilfe"},
    {"MnuNeu", TextKind::Caption, "&New Position", "&Aufbau"},
    {"MnuSaveAs", TextKind::Caption, "&Save as", "&Speichern als"},
    {"MnuEnde", TextKind::Caption, "&Exit", "&Beenden"},
    {"MnuPng", TextKind::Caption, "&PNG-File ...", "&PNG-Datei ..."},
    {"MnuBmp", TextKind::Caption, "&BMP-File ...", "&BMP-Datei ..."},
    {"MnuSvg", TextKind::Caption, "&SVG-File ...", "S&VG-Datei ..."},
    {"MnuPdf", TextKind::Caption, "P&DF-File ...", "P&DF-Datei ..."},
    {"MnuOpenPicture", TextKind::Caption, "&Open picture ...", "B&ild öffnen ..."},
    {"MnuOpenPicture", TextKind::Hint, "set up the position shown on a picture of a diagram",
     "die Stellung aus dem Bild eines Diagramms aufbauen"},
    {"MnuPaste", TextKind::Caption, "&Paste", "&Einfügen"},
    {"MnuCopyAs", TextKind::Caption, "Copy &as", "Kopiern &als"},
    {"MnuColor", TextKind::Caption, "&Colors ...", "&Farben ..."},
    {"MnuPaths", TextKind::Caption, "&Paths ...", "&Pfade ..."},
    {"MnuDeutsch", TextKind::Caption, "&German", "&Deutsch"},
    {"MnuEnglish", TextKind::Caption, "&English", "&Englisch"},
    {"MnuHints", TextKind::Caption, "&Hints", "&Hilfs-Texte"},
    {"MnuInfo", TextKind::Caption, "&About ...", "&über ..."},
    {"MnuMirror", TextKind::Caption, "&Mirror", "&Spiegeln"},
    {"MnuUndo", TextKind::Caption, "&Undo edit", "&Rückgängig"},
    {"MnuUndo", TextKind::Hint, "take back the last change of the position",
     "letzte Änderung der Stellung zurücknehmen"},
    {"MnuRedo", TextKind::Caption, "&Redo edit", "&Wiederherstellen"},
    {"MnuRedo", TextKind::Hint, "bring the change taken back again",
     "zurückgenommene Änderung wiederherstellen"},
    {"MnuTurn", TextKind::Caption, "&Turn", "K&ippen"},
    {"MnuFlip", TextKind::Caption, "&Flip board", "&Brett umdrehen"},
    {"MnuFlip", TextKind::Hint, "show the board from the other side",
     "das Brett von der anderen Seite zeigen"},
    // What a screen reader says of the controls without a caption of their own.
    {"PbxBoard", TextKind::Name, "Chess board", "Schachbrett"},
    {"CbxRLeft", TextKind::Name, "rook file of the a-side", "Turm-Linie der a-Seite"},
    {"CbxRRight", TextKind::Name, "rook file of the h-side", "Turm-Linie der h-Seite"},
    {"CbxEnPassant", TextKind::Name, "en-passant file", "En-passant-Linie"},
    {"EdtFullCount", TextKind::Name, "number of move to play", "Nummer anstehender Zug"},
    {"EdtHalfCount", TextKind::Name, "number of reversible half moves",
     "Anzahl reversibler Halbzüge"},
    {"EdtKopf1", TextKind::Name, "first headline", "obere Kopfzeile"},
    {"EdtKopf2", TextKind::Name, "second headline", "untere Kopfzeile"},
    {"EdtFenString", TextKind::Name, "FEN text of the position", "FEN-Text der Stellung"},
    {"ChkCaLeftB", TextKind::Name, "Black's castling on the a-side (O-O-O)",
     "Rochade von Schwarz zur a-Seite (O-O-O)"},
    {"ChkCaRightB", TextKind::Name, "Black's castling on the h-side (O-O)",
     "Rochade von Schwarz zur h-Seite (O-O)"},
    {"ChkCaLeftW", TextKind::Name, "White's castling on the a-side (O-O-O)",
     "Rochade von Weiß zur a-Seite (O-O-O)"},
    {"ChkCaRightW", TextKind::Name, "White's castling on the h-side (O-O)",
     "Rochade von Weiß zur h-Seite (O-O)"},
    {"LblLegality", TextKind::Name, "legality", "Regelmäßigkeit"},
});

// The pieces by their index in "PNBRQKpnbrqk", as a screen reader names the
// squares ("e4, white pawn"); the piece box's buttons say them capitalised.
struct PieceName {
  std::string_view english;
  std::string_view german;
};
inline constexpr std::array<PieceName, 12> kPieceNames = {{
    {"white pawn", "weißer Bauer"},   {"white knight", "weißer Springer"},
    {"white bishop", "weißer Läufer"}, {"white rook", "weißer Turm"},
    {"white queen", "weiße Dame"},     {"white king", "weißer König"},
    {"black pawn", "schwarzer Bauer"}, {"black knight", "schwarzer Springer"},
    {"black bishop", "schwarzer Läufer"}, {"black rook", "schwarzer Turm"},
    {"black queen", "schwarze Dame"},  {"black king", "schwarzer König"},
}};
inline constexpr PieceName kEmptySquare{"empty", "leer"};
inline constexpr PieceName kMarkedSquare{"marked", "markiert"};

// The side button names the colour to move first, the other as accelerator.
struct SideTexts {
  std::string_view whiteEnglish = "W / &B";
  std::string_view blackEnglish = "B / &W";
  std::string_view whiteGerman = "W / &S";
  std::string_view blackGerman = "S / &W";
  std::string_view hintEnglish = "change active color";
  std::string_view hintGerman = "wechseln aktive Farbe";
  // What a screen reader says of the button.
  std::string_view nameWhiteEnglish = "White to move, change";
  std::string_view nameBlackEnglish = "Black to move, change";
  std::string_view nameWhiteGerman = "Weiß am Zug, wechseln";
  std::string_view nameBlackGerman = "Schwarz am Zug, wechseln";
};
inline constexpr SideTexts kSideTexts{};

// The position-number dialog.
inline constexpr std::array kRandomTexts = std::to_array<TextEntry>({
    {"TFrmRandom", TextKind::Title, "Position Randomizer", "Stellungs-Mischer"},
    {"GrpRandom", TextKind::Caption, " Position to be built ", " zu erzeugende Stellung "},
    {"LblPosNr", TextKind::Caption, " Number of Position ", " Nummer der Stellung "},
    {"EdtPosNr", TextKind::Hint, "Number from 1..960", "Nummer aus 1..960"},
    {"ButCancel", TextKind::Caption, "Cancel", "Abbruch"},
});

// A message in both languages; %1 and %2 are filled in where it is shown.
struct MessageText {
  std::string_view english;
  std::string_view german;
};

// The settings file could not be read: %1 the file, %2 why.
inline constexpr MessageText kSettingsNotRead{
    "The settings file %1 cannot be read (%2). The program starts with its defaults and will "
    "not replace the file when it ends.",
    "Die Einstellungsdatei %1 kann nicht gelesen werden (%2). Das Programm startet mit den "
    "Voreinstellungen und ersetzt die Datei am Ende nicht."};
// At the end, for such a file: %1 the file.
inline constexpr MessageText kSettingsKept{
    "The settings of this run were not saved: %1 could not be read and stays as it is.",
    "Die Einstellungen dieses Laufs wurden nicht gespeichert: %1 konnte nicht gelesen werden und "
    "bleibt, wie sie ist."};

// A picture without a board: nothing changes.
inline constexpr MessageText kNoBoardInPicture{"No chess board was found in the picture.",
                                               "Im Bild wurde kein Schachbrett gefunden."};
// A picture that cannot be read: %1 why (in English, as the reader says it).
inline constexpr MessageText kPictureNotRead{"The picture cannot be read: %1.",
                                             "Das Bild kann nicht gelesen werden: %1."};
// The files the open dialog shows.
inline constexpr MessageText kPictureFilter{"Pictures (*.png *.jpg *.jpeg *.bmp)",
                                            "Bilder (*.png *.jpg *.jpeg *.bmp)"};

// The settings file could not be written at the end (German in both languages).
inline constexpr std::string_view kSettingsNotWritten = "In %1 kann nicht geschrieben werden";

// The range check of the number fields: %1 and %2 the range.
inline constexpr MessageText kRangeTitle{"Input check", "Eingabe-Prüfung"};
inline constexpr MessageText kRangeText{"Please enter a number\nbetween %1 and %2.",
                                        "Bitte geben Sie eine Zahl ein, \ndie zwischen %1 und %2 liegt."};

}  // namespace kalmera
