// A position from a picture of a diagram, for the window: the clipboard's
// picture, a picture file, or one dropped on the window, read by the
// recogniser. What it found, or why it found nothing.
#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <string>

class QMimeData;

namespace kalmera {

struct PictureReading {
  QString problem;  // the picture could not be read: why
  bool found = false;  // a board was found on it
  std::string fen;     // the placement read, White to move
  std::array<bool, 64> doubtful{};  // squares read with little confidence
};

PictureReading readPictureImage(const QImage& picture);
PictureReading readPictureFile(const QString& path);
// The files "Open picture" offers and a drop takes.
bool looksLikePictureFile(const QString& path);
// A drop the window takes as a picture: a picture file or an image.
bool isPictureDrop(const QMimeData& dropped);
PictureReading readPictureDrop(const QMimeData& dropped);

}  // namespace kalmera
