// File names are Qt strings in the window and bytes for the file system:
// QFile's encoding is the one way between them.
#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace kalmera {

inline std::string fileBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

inline QString fileName(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace kalmera
