// A position from a picture of a diagram, for the window: the clipboard's
// picture, a picture or PDF file, or one dropped on the window, read by the
// recogniser. What it found, or why it found nothing. The readings may run
// on any thread; a stop flag set ends them early (their result is then of
// no use).
#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <atomic>
#include <string>

class QMimeData;

namespace kalmera {

struct PictureReading {
  QString problem;  // the picture could not be read: why
  bool found = false;  // a board was found on it
  std::string fen;     // the first board's placement and side to move
  std::array<bool, 64> doubtful{};  // its squares worth a look
  // Read with White at the bottom for want of coordinates, though the men
  // stand as if the board were shown from Black's side: the board read so.
  bool orientationDoubtful = false;
  std::string turnedFen;
  std::array<bool, 64> turnedDoubtful{};
  int boards = 0;                   // how many boards were found
  // Every board, when there are several: one EPD line each with its id
  // ("diagram D", or "page P, diagram D" in a PDF file).
  std::string collection;
};

PictureReading readPictureImage(const QImage& picture, const std::atomic<bool>* stop = nullptr);
PictureReading readPictureFile(const QString& path, const std::atomic<bool>* stop = nullptr);
// The files "Open picture" offers and a drop takes: pictures and PDF files.
bool looksLikePictureFile(const QString& path);
// A drop the window takes as a picture: a picture file or an image.
bool isPictureDrop(const QMimeData& dropped);
PictureReading readPictureDrop(const QMimeData& dropped);

}  // namespace kalmera
