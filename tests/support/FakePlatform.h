// A scripted desktop for widget tests: records messages, answers dialogs with
// prepared results, and keeps a clipboard of its own. Nothing ever blocks.
#pragma once

#include <QDialog>
#include <QFile>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/platform/Platform.h"

namespace kalmera {

// The user's folders (home, config, cache) inside a test folder, so that an
// installed-style start never touches the real ones.
inline void useUserFoldersIn(const QString& root) {
  qputenv("HOME", QFile::encodeName(root + "/home"));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
  qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
}

class FakePlatform : public Platform {
 public:
  struct Message {
    QString title;
    QString text;
  };

  QString program;
  QDateTime now = QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
  std::vector<Message> messages;
  std::optional<QString> clipboard;
  std::optional<QImage> clipboardPictureHeld;  // a picture copied elsewhere
  QImage clipboardImage;
  std::deque<std::function<int(QDialog*)>> dialogScript;
  std::deque<std::optional<QColor>> colorAnswers;
  std::deque<std::optional<QString>> fileAnswers;
  QStringList opened;
  SaveRequest lastSave;
  bool clipboardWorks = true;

  // Runs while a message or a question is shown: a user who takes a while.
  std::function<void()> whileShown;
  void showMessage(QWidget*, const QString& title, const QString& text, Icon) override {
    messages.push_back({title, text});
    if (whileShown) whileShown();
  }
  // Questions asked, and the answers to give in turn (Cancel and No when none is left).
  std::vector<Message> questions;
  std::deque<Unsaved> unsavedAnswers;
  std::deque<bool> yesNoAnswers;
  Unsaved askUnsaved(QWidget*, const QString& title, const QString& text) override {
    questions.push_back({title, text});
    if (unsavedAnswers.empty()) return Unsaved::Cancel;
    const Unsaved answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
  }
  bool askYesNo(QWidget*, const QString& title, const QString& text) override {
    questions.push_back({title, text});
    if (whileShown) whileShown();
    if (yesNoAnswers.empty()) return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  int runDialog(QDialog* dialog) override {
    if (dialogScript.empty()) return QDialog::Rejected;
    auto step = dialogScript.front();
    dialogScript.pop_front();
    return step(dialog);
  }
  std::optional<QString> clipboardText() override { return clipboard; }
  std::optional<QImage> clipboardPicture() override { return clipboardPictureHeld; }
  bool setClipboardText(const QString& text) override {
    if (clipboardWorks) clipboard = text;
    return clipboardWorks;
  }
  bool setClipboardImage(const QImage& image) override {
    if (clipboardWorks) clipboardImage = image;
    return clipboardWorks && !image.isNull();
  }
  std::optional<QColor> chooseColor(QWidget*, const QColor&) override {
    if (colorAnswers.empty()) return std::nullopt;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
  }
  std::optional<QString> saveFileName(QWidget*, const SaveRequest& request) override {
    lastSave = request;
    return nextFile();
  }
  std::optional<QString> chooseFolder(QWidget*, const QString&) override { return nextFile(); }
  std::optional<QString> openFileName(QWidget*, const QString&, const QString& filter,
                                      const QString&) override {
    lastOpenFilter = filter;
    return nextFile();
  }
  QString lastOpenFilter;
  bool openDocument(const QString& path) override {
    opened << path;
    return true;
  }
  bool openUrl(const QString& url) override {
    opened << url;
    return true;
  }
  QDateTime currentUtc() override { return now; }
  QString programPath() override { return program; }

 private:
  std::optional<QString> nextFile() {
    std::optional<QString> answer;
    if (!fileAnswers.empty()) {
      answer.swap(fileAnswers.front());
      fileAnswers.pop_front();
    }
    return answer;
  }
};

}  // namespace kalmera
