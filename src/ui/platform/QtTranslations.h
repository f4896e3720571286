// Qt's own texts (the file, folder and colour dialogs, "Directory not found",
// the standard buttons) in the interface's language: German installs Qt's
// German catalogue, English removes it.
#pragma once

namespace kalmera {

// False when German was asked for and Qt's catalogue is not installed (Debian
// package qt6-translations-l10n); Qt then speaks English.
bool useQtTranslations(bool german);

}  // namespace kalmera
