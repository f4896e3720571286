// Everything that talks to the desktop goes through here: message boxes,
// dialogs, the clipboard, opening documents, the clock and the program's own
// path. The window gets one at construction; tests pass a scripted fake so
// that nothing ever waits on a modal box.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace kalmera {

struct SaveRequest {
  QString title;
  QString filter;            // "Description (*.ext)"
  QString defaultExtension;  // without the dot
  QString startFolder;
  QString proposedName;
};

class Platform {
 public:
  enum class Icon { Error, Information };
  enum class Unsaved { Save, Discard, Cancel };
  virtual ~Platform() = default;

  virtual void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
  // What to do with unsaved changes: Save, Discard or Cancel (the platform's
  // own buttons, in its language).
  virtual Unsaved askUnsaved(QWidget* parent, const QString& title, const QString& text) = 0;
  // A question answered Yes (true) or No.
  virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
  // Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
  virtual int runDialog(QDialog* dialog) = 0;

  // Text is handed over as Qt strings; callers convert to and from ISO 8859-1.
  // Nothing when the clipboard holds no text.
  virtual std::optional<QString> clipboardText() = 0;
  // The picture on the clipboard; nothing when it holds none.
  virtual std::optional<QImage> clipboardPicture() = 0;
  virtual bool setClipboardText(const QString& text) = 0;
  virtual bool setClipboardImage(const QImage& image) = 0;

  virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
  virtual std::optional<QString> saveFileName(QWidget* parent, const SaveRequest& request) = 0;
  virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& startFolder) = 0;
  // An existing file to open; nothing when cancelled.
  virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                              const QString& filter, const QString& startFolder) = 0;
  virtual bool openDocument(const QString& path) = 0;
  virtual bool openUrl(const QString& url) = 0;

  virtual QDateTime currentUtc() = 0;
  virtual QString programPath() = 0;
};

// The real desktop.
class QtPlatform : public Platform {
 public:
  void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
  Unsaved askUnsaved(QWidget* parent, const QString& title, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
  int runDialog(QDialog* dialog) override;
  std::optional<QString> clipboardText() override;
  std::optional<QImage> clipboardPicture() override;
  bool setClipboardText(const QString& text) override;
  bool setClipboardImage(const QImage& image) override;
  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
  std::optional<QString> saveFileName(QWidget* parent, const SaveRequest& request) override;
  std::optional<QString> chooseFolder(QWidget* parent, const QString& startFolder) override;
  std::optional<QString> openFileName(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& startFolder) override;
  bool openDocument(const QString& path) override;
  bool openUrl(const QString& url) override;
  QDateTime currentUtc() override;
  QString programPath() override;
};

}  // namespace kalmera
