// The paths dialog: the graphics folder, the HTML folder and the web address
// of the diagram images.
#pragma once

#include <QDialog>
#include <optional>

#include "ui/platform/Paths.h"

class QLineEdit;

namespace kalmera {

class Platform;

class PathsDialog : public QDialog {
  Q_OBJECT

 public:
  PathsDialog(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  // Runs the dialog from these paths; the edited ones when it closes with OK.
  std::optional<Paths> edit(const Paths& paths, bool english);
  void setPaths(const Paths& paths);
  Paths paths() const;
  // Lets the user pick a folder for one of the two folder lines.
  void chooseFolder(QLineEdit* edit);
  // Runs on OK before the dialog closes: the web address trimmed, with its "/".
  void normalizeWebAddress();
  void accept() override;

  QLineEdit* graphicsFolderEdit() const { return graphicsFolder_; }
  QLineEdit* htmlFolderEdit() const { return htmlFolder_; }
  QLineEdit* webAddressEdit() const { return webAddress_; }

 private:
  Platform& platform_;
  QLineEdit* graphicsFolder_ = nullptr;
  QLineEdit* htmlFolder_ = nullptr;
  QLineEdit* webAddress_ = nullptr;
};

}  // namespace kalmera
