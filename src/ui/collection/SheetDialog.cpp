#include "ui/collection/SheetDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/Style.h"

namespace kalmera {

namespace {

constexpr auto kSheetTexts = std::to_array<TextEntry>({
    {"TFrmSheet", TextKind::Title, "Puzzle sheet", "Aufgabenblatt"},
    {"LblPerPage", TextKind::Caption, "Diagrams per &page", "Diagramme je &Seite"},
    {"LblPaper", TextKind::Caption, "P&aper", "P&apier"},
    {"LblSheetTitle", TextKind::Caption, "&Title on each page", "&Titel auf jeder Seite"},
    {"ChkFlipBlack", TextKind::Caption, "&Black to play seen from Black's side",
     "&Schwarz am Zug von Schwarz aus gesehen"},
    {"ChkSolutions", TextKind::Caption, "&Answer key at the end", "&Lösungen am Ende"},
    {"ButCancel", TextKind::Caption, "Cancel", "Abbruch"},
});

constexpr std::array kPerPage = {1, 2, 4, 6, 9, 12};

}  // namespace

SheetDialog::SheetDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmSheet", 370, 196);

  auto* perPageLabel = make<QLabel>(this, "LblPerPage", 12, 13, 160, 18);
  perPage_ = make<QComboBox>(this, "CbxPerPage", 180, 10, 80, 22);
  for (const int n : kPerPage) perPage_->addItem(QString::number(n), n);
  perPageLabel->setBuddy(perPage_);

  auto* paperLabel = make<QLabel>(this, "LblPaper", 12, 43, 160, 18);
  paper_ = make<QComboBox>(this, "CbxPaper", 180, 40, 110, 22);
  paper_->addItems({"A4", "US Letter"});
  paperLabel->setBuddy(paper_);

  auto* titleLabel = make<QLabel>(this, "LblSheetTitle", 12, 73, 160, 18);
  title_ = make<QLineEdit>(this, "EdtSheetTitle", 180, 70, 178, 22);
  titleLabel->setBuddy(title_);

  flipBlack_ = make<QCheckBox>(this, "ChkFlipBlack", 12, 102, 346, 20);
  solutions_ = make<QCheckBox>(this, "ChkSolutions", 12, 128, 346, 20);

  addOkButton(this, "ButOK", 88, 164, 85, 22);
  addCancelButton(this, 197, 164, 85, 22);
  setChoices(SheetChoices());
  setLanguage(false);
}

void SheetDialog::setLanguage(bool english) { applyTexts(this, kSheetTexts, english); }

std::optional<SheetChoices> SheetDialog::ask(const SheetChoices& choices, bool english) {
  setLanguage(english);
  setChoices(choices);
  if (platform_.runDialog(this) != QDialog::Accepted) return std::nullopt;
  return this->choices();
}

void SheetDialog::setPerPage(int perPage) {
  const int index = perPage_->findData(perPage);
  if (index >= 0) perPage_->setCurrentIndex(index);
}

int SheetDialog::perPage() const { return perPage_->currentData().toInt(); }

void SheetDialog::setLetter(bool letter) { paper_->setCurrentIndex(letter ? 1 : 0); }

bool SheetDialog::letter() const { return paper_->currentIndex() == 1; }

void SheetDialog::setTitle(const QString& title) { title_->setText(title); }

QString SheetDialog::title() const { return title_->text(); }

void SheetDialog::setFlipBlack(bool flip) { flipBlack_->setChecked(flip); }

bool SheetDialog::flipBlack() const { return flipBlack_->isChecked(); }

void SheetDialog::setSolutions(bool solutions) { solutions_->setChecked(solutions); }

bool SheetDialog::solutions() const { return solutions_->isChecked(); }

void SheetDialog::setChoices(const SheetChoices& c) {
  setPerPage(c.perPage);
  setLetter(c.letter);
  setTitle(c.title);
  setFlipBlack(c.flipBlack);
  setSolutions(c.solutions);
}

SheetChoices SheetDialog::choices() const {
  return {perPage(), letter(), title(), flipBlack(), solutions()};
}

}  // namespace kalmera
