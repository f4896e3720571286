// Puts the texts of one language from a text table onto the controls that the
// table names by object name.
#pragma once

#include <QString>
#include <span>
#include <string_view>

#include "view/TextTable.h"

class QObject;

namespace kalmera {

QString uiText(std::string_view utf8);
void applyTexts(QObject* root, std::span<const TextEntry> table, bool english);

}  // namespace kalmera
