// The texts of the annotations and styles room, English and German side by
// side, by object name.
#pragma once

#include <array>

#include "view/TextTable.h"

namespace kalmera {

inline constexpr std::array kAnnotationTexts = std::to_array<TextEntry>({
    {"MnuAnnotationColor", TextKind::Caption, "Annotation colour", "Markierungsfarbe"},
    {"ActAnnotationGreen", TextKind::Caption, "&Green", "&Grün"},
    {"ActAnnotationRed", TextKind::Caption, "&Red", "&Rot"},
    {"ActAnnotationBlue", TextKind::Caption, "&Blue", "&Blau"},
    {"ActAnnotationYellow", TextKind::Caption, "&Yellow", "G&elb"},
    {"ActClearAnnotations", TextKind::Caption, "Clear annotations", "Markierungen löschen"},
    {"ActClearAnnotations", TextKind::Hint,
     "remove the arrows and coloured squares (Shift + drag draws an arrow, Shift + click "
     "colours a square)",
     "Pfeile und farbige Felder entfernen (Umschalt + Ziehen zeichnet einen Pfeil, Umschalt + "
     "Klick färbt ein Feld)"},
    {"MnuPieceDesign", TextKind::Caption, "Piece design", "Figuren-Design"},
    {"ActCoordinates", TextKind::Caption, "Coordinates", "Koordinaten"},
});

}  // namespace kalmera
