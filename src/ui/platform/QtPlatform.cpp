#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "ui/platform/Platform.h"

namespace kalmera {

void QtPlatform::showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) {
  QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Information, title,
                  text, QMessageBox::Ok, parent);
  box.exec();
}

Platform::Unsaved QtPlatform::askUnsaved(QWidget* parent, const QString& title,
                                         const QString& text) {
  QMessageBox box(QMessageBox::Warning, title, text,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Save);
  const int answer = box.exec();
  return answer == QMessageBox::Save      ? Unsaved::Save
         : answer == QMessageBox::Discard ? Unsaved::Discard
                                          : Unsaved::Cancel;
}

bool QtPlatform::askYesNo(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

int QtPlatform::runDialog(QDialog* dialog) { return dialog->exec(); }

std::optional<QString> QtPlatform::clipboardText() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return data->text();
}

std::optional<QImage> QtPlatform::clipboardPicture() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasImage()) return std::nullopt;
  QImage image = qvariant_cast<QImage>(data->imageData());
  if (image.isNull()) return std::nullopt;
  return image;
}

std::optional<QString> QtPlatform::openFileName(QWidget* parent, const QString& title,
                                                const QString& filter, const QString& startFolder) {
  const QString chosen = QFileDialog::getOpenFileName(parent, title, startFolder, filter, nullptr,
                                                      QFileDialog::DontUseNativeDialog);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

bool QtPlatform::setClipboardText(const QString& text) {
  QApplication::clipboard()->setText(text);
  return true;
}

bool QtPlatform::setClipboardImage(const QImage& image) {
  if (image.isNull()) return false;
  QApplication::clipboard()->setImage(image);
  return true;
}

std::optional<QColor> QtPlatform::chooseColor(QWidget* parent, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

std::optional<QString> QtPlatform::saveFileName(QWidget* parent, const SaveRequest& request) {
  // Qt's own dialog, so that a picture preview pane can sit beside the list;
  // it asks before an existing file is overwritten and appends the extension.
  QFileDialog dialog(parent, request.title, request.startFolder, request.filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(request.defaultExtension);
  dialog.selectFile(request.proposedName);
  auto* preview = new QLabel(&dialog);
  preview->setObjectName("PicturePreview");
  preview->setFixedSize(180, 180);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
  }
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    const QImage image(path);
    preview->setPixmap(image.isNull() ? QPixmap()
                                      : QPixmap::fromImage(image.scaled(
                                            preview->size() - QSize(8, 8), Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation)));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QString> QtPlatform::chooseFolder(QWidget* parent, const QString& startFolder) {
  const QString folder = QFileDialog::getExistingDirectory(parent, QString(), startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

bool QtPlatform::openDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

QDateTime QtPlatform::currentUtc() { return QDateTime::currentDateTimeUtc(); }

QString QtPlatform::programPath() { return QCoreApplication::applicationFilePath(); }

}  // namespace kalmera
