#include "ui/platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kalmera {

bool useQtTranslations(bool german) {
  static QTranslator* catalogue = nullptr;
  static bool loaded = false;
  if (catalogue == nullptr) {
    catalogue = new QTranslator(QCoreApplication::instance());
    loaded = catalogue->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  }
  if (german && loaded) return QCoreApplication::installTranslator(catalogue);
  QCoreApplication::removeTranslator(catalogue);
  return !german;
}

}  // namespace kalmera
