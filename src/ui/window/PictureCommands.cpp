#include "ui/window/PictureCommands.h"

#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "model/Position.h"
#include "recognize/Picture.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/EditHistory.h"
#include "view/TextTable.h"

namespace kalmera {

namespace {

constexpr MessageText kReadingPicture{"Reading the picture ...", "Das Bild wird gelesen ..."};
constexpr MessageText kCancelReading{"Cancel", "Abbrechen"};
// %1: the number of boards found.
constexpr MessageText kSeveralBoards{
    "%1 boards were found in the picture; the first one is set up.",
    "Im Bild wurden %1 Bretter gefunden; das erste ist aufgestellt."};
constexpr MessageText kLooksTurned{
    "No coordinates were found on the board, so it was read with White at the bottom; but its men stand as "
    "if it were shown from Black's side. Set it up as seen from Black's side?",
    "Am Brett wurden keine Koordinaten gefunden, daher wurde es mit Weiß unten gelesen; seine Steine stehen "
    "aber, als wäre es von Schwarz aus gezeigt. Soll es als von Schwarz aus gesehen aufgestellt werden?"};
constexpr MessageText kPictureOrPdfFilter{
    "Pictures and PDF files (*.png *.jpg *.jpeg *.bmp *.pdf)",
    "Bilder und PDF-Dateien (*.png *.jpg *.jpeg *.bmp *.pdf)"};

// Qt refuses to decode pictures beyond its allocation limit (256 MB): the
// clipboard's picture may be as large as a picture file the recogniser
// reads (8,000 x 8,000 pixels of 64 bits).
constexpr int kClipboardPictureMegabytes = (kMaxPictureSide * kMaxPictureSide * 8 >> 20) + 1;

class AllocationLimit {
 public:
  explicit AllocationLimit(int megabytes) : before_(QImageReader::allocationLimit()) {
    if (before_ != 0 && before_ < megabytes) QImageReader::setAllocationLimit(megabytes);
  }
  ~AllocationLimit() { QImageReader::setAllocationLimit(before_); }
  AllocationLimit(const AllocationLimit&) = delete;
  AllocationLimit& operator=(const AllocationLimit&) = delete;

 private:
  int before_;
};

}  // namespace

PictureCommands::PictureCommands(QWidget* window, Platform& platform, Position& position,
                                 EditHistory& history, std::function<bool()> english,
                                 std::function<QString()> startFolder)
    : QObject(window),
      window_(window),
      platform_(platform),
      position_(position),
      history_(history),
      english_(std::move(english)),
      startFolder_(std::move(startFolder)) {}

PictureCommands::~PictureCommands() {
  if (thread_ != nullptr) stopping_.emplace_back(thread_, stop_);
  for (auto& [thread, stop] : stopping_) {
    stop->store(true);
    thread->wait();
    delete thread;
  }
}

QString PictureCommands::message(const MessageText& text) const {
  return uiText(english_() ? text.english : text.german);
}

bool PictureCommands::pastePicture() {
  if (platform_.clipboardText()) return false;
  std::optional<QImage> picture;
  {
    const AllocationLimit large(kClipboardPictureMegabytes);
    picture = platform_.clipboardPicture();
  }
  if (!picture) return false;
  read([image = std::move(*picture)](const std::atomic<bool>* stop) {
    return readPictureImage(image, stop);
  });
  return true;
}

void PictureCommands::openPicture() {
  const std::optional<QString> file =
      platform_.openFileName(window_, QString(), message(kPictureOrPdfFilter), startFolder_());
  if (file) read([path = *file](const std::atomic<bool>* stop) { return readPictureFile(path, stop); });
}

void PictureCommands::read(std::function<PictureReading(const std::atomic<bool>* stop)> job) {
  if (thread_ != nullptr) return;  // one picture at a time
  auto stop = std::make_shared<std::atomic<bool>>(false);
  auto result = std::make_shared<PictureReading>();
  QThread* thread = QThread::create([job = std::move(job), stop, result] { *result = job(stop.get()); });
  thread_ = thread;
  stop_ = stop;
  connect(thread, &QThread::finished, this,
          [this, thread, stop, result] { finished(thread, stop->load(), *result); });
  busy_ = new QProgressDialog(message(kReadingPicture), message(kCancelReading), 0, 0, window_);
  busy_->setObjectName("PictureBusy");
  busy_->setWindowModality(Qt::WindowModal);
  busy_->setMinimumDuration(400);  // a quick reading shows nothing
  busy_->setAutoReset(false);
  busy_->setAutoClose(false);
  busy_->setValue(0);  // starts the wait before it shows
  connect(busy_, &QProgressDialog::canceled, this, &PictureCommands::cancel);
  thread->start();
}

void PictureCommands::cancel() {
  if (thread_ == nullptr) return;
  // The thread ends at its next look at the flag; until then the window is
  // free, and another picture may be read.
  stop_->store(true);
  stopping_.emplace_back(thread_, stop_);
  thread_ = nullptr;
  closeBusy();
}

void PictureCommands::closeBusy() {
  if (busy_ == nullptr) return;
  // Hidden, its own timer would show it yet, over the message or question
  // that may follow (whose event loop keeps it from being deleted); a
  // cancelled one never shows.
  disconnect(busy_, nullptr, this, nullptr);
  busy_->cancel();
  busy_->hide();
  busy_->deleteLater();
  busy_ = nullptr;
}

void PictureCommands::finished(QThread* thread, bool stopped, const PictureReading& reading) {
  std::erase_if(stopping_, [thread](const auto& s) { return s.first == thread; });
  thread->deleteLater();
  if (thread != thread_) return;  // a cancelled one
  thread_ = nullptr;
  closeBusy();
  if (!stopped) setUp(reading);
}

void PictureCommands::setUp(const PictureReading& reading) {
  const auto showError = [this](const QString& text) {
    platform_.showMessage(window_, window_->windowTitle(), text, Platform::Icon::Error);
  };
  if (!reading.problem.isEmpty()) return showError(message(kPictureNotRead).arg(reading.problem));
  if (!reading.found) return showError(message(kNoBoardInPicture));
  if (reading.boards > 1 && openCollection_ && openCollection_(reading.collection)) return;
  // A board that looks turned is set up as the user says it is shown.
  const bool turn = reading.orientationDoubtful && reading.boards == 1 &&
                    platform_.askYesNo(window_, window_->windowTitle(), message(kLooksTurned));
  const std::string& fen = turn ? reading.turnedFen : reading.fen;
  const std::array<bool, 64>& doubtful = turn ? reading.turnedDoubtful : reading.doubtful;
  // One step: the position read, and a mark on each square worth a look.
  history_.record([&] {
    position_.readFen(fen);
    for (int s = 63; s >= 0; --s) position_.setMark(s, doubtful[s] ? 'x' : 0);
  });
  if (reading.boards > 1) {
    platform_.showMessage(window_, window_->windowTitle(),
                          message(kSeveralBoards).arg(reading.boards), Platform::Icon::Information);
  }
}

void PictureCommands::drop(const QMimeData& dropped) {
  // The program the drop came from waits until the drop ends: read the
  // picture, and say what went wrong, only afterwards.
  const bool file = dropped.hasUrls() && !dropped.urls().isEmpty();
  const QString path = file ? dropped.urls().front().toLocalFile() : QString();
  const QImage image = file ? QImage() : qvariant_cast<QImage>(dropped.imageData());
  QTimer::singleShot(0, this, [this, file, path, image] {
    read([file, path, image](const std::atomic<bool>* stop) {
      return file ? readPictureFile(path, stop) : readPictureImage(image, stop);
    });
  });
}

}  // namespace kalmera
