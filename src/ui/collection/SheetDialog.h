// The puzzle sheet's options for a collection: diagrams a page, paper, the
// title on each page, Black's positions seen from Black's side, and the
// answer key at the end. A thin dialog: each choice has its setter and its
// getter, so that a test fills it without running it.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kalmera {

class Platform;

struct SheetChoices {
  int perPage = 6;  // 1, 2, 4, 6, 9 or 12
  bool letter = false;
  QString title;
  bool flipBlack = false;
  bool solutions = true;
};

class SheetDialog : public QDialog {
  Q_OBJECT

 public:
  SheetDialog(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  // Runs the dialog from these choices; the choices made when it closes
  // with OK, nothing when cancelled.
  std::optional<SheetChoices> ask(const SheetChoices& choices, bool english);

  // A count the sheet does not know leaves the choice as it was.
  void setPerPage(int perPage);
  int perPage() const;
  void setLetter(bool letter);
  bool letter() const;
  void setTitle(const QString& title);
  QString title() const;
  void setFlipBlack(bool flip);
  bool flipBlack() const;
  void setSolutions(bool solutions);
  bool solutions() const;

  void setChoices(const SheetChoices& choices);
  SheetChoices choices() const;

 private:
  Platform& platform_;
  QComboBox* perPage_ = nullptr;
  QComboBox* paper_ = nullptr;
  QLineEdit* title_ = nullptr;
  QCheckBox* flipBlack_ = nullptr;
  QCheckBox* solutions_ = nullptr;
};

}  // namespace kalmera
