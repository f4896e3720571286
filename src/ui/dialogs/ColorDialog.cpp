#include "ui/dialogs/ColorDialog.h"

#include <QComboBox>
#include <QFrame>
#include <algorithm>
#include <iterator>
#include <QGroupBox>
#include <QPushButton>

#include "setup/Settings.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/Style.h"
#include "view/Colors.h"
#include "view/TextTable.h"

namespace kalmera {

namespace {

constexpr auto kColorTexts = std::to_array<TextEntry>({
    {"TFrmColor", TextKind::Title, "Color Selection", "Farb-Auswahl"},
    {"GrpColor", TextKind::Caption, " used Colors ", " einzelne Farben "},
    {"GrpColSets", TextKind::Caption, " Color Combination ", " Farb-Kombination "},
    {"ButBrett", TextKind::Caption, "&Board", "&Brett"},
    {"ButHell", TextKind::Caption, "Br&ight", "&Hell"},
    {"ButDunkel", TextKind::Caption, "D&ark", "&Dunkel"},
    {"ButAktuell", TextKind::Caption, "&Current", "&Aktuell"},
    {"ButStandard", TextKind::Caption, "&Default", "&Standard"},
    {"ButCancel", TextKind::Caption, "Cancel", "Abbruch"},
    {"GrpPrintStyle", TextKind::Caption, " Print Style ", " Druck-Stil "},
    {"CbxPrintStyle", TextKind::Name, "print style", "Druck-Stil"},
});

// The print styles in the order of PrintStyle.
constexpr PieceName kPrintStyleCaptions[] = {
    {"Colour", "Farbe"}, {"Grey (black-and-white print)", "Grau (Schwarzweiß-Druck)"},
    {"Newspaper (hatched)", "Zeitung (schraffiert)"}};

constexpr std::array<int, 3> kDefaultColors = {kDefaultBoardColor, kDefaultBrightColor,
                                               kDefaultDarkColor};

QPushButton* button(QWidget* parent, const char* name, int x, int y) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->setGeometry(x, y, 85, 22);
  return b;
}

}  // namespace

ColorDialog::ColorDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmColor", 226, 306);

  addOkButton(this, "OKButton", 21, 274, 85, 22);
  auto* group = new QGroupBox(this);
  group->setObjectName("GrpColor");
  group->setGeometry(7, 7, 211, 127);
  static constexpr const char* kButtons[] = {"ButBrett", "ButHell", "ButDunkel"};
  static constexpr const char* kSwatches[] = {"PanBrett", "PanHell", "PanDunkel"};
  for (int i = 0; i < 3; ++i) {
    auto* b = button(group, kButtons[i], 14, 21 + 35 * i);
    connect(b, &QPushButton::clicked, this, [this, i] { chooseColor(i); });
    auto* swatch = new QFrame(group);
    swatch->setObjectName(kSwatches[i]);
    swatch->setGeometry(112, 21 + 35 * i, 85, 22);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setLineWidth(1);
    swatch->setAutoFillBackground(true);
    swatches_[i] = swatch;
  }
  styleGroupBox(group);

  auto* sets = new QGroupBox(this);
  sets->setObjectName("GrpColSets");
  sets->setGeometry(7, 147, 211, 57);
  auto* current = button(sets, "ButAktuell", 14, 21);
  auto* standard = button(sets, "ButStandard", 112, 21);
  styleGroupBox(sets);

  auto* print = new QGroupBox(this);
  print->setObjectName("GrpPrintStyle");
  print->setGeometry(7, 210, 211, 55);
  printStyles_ = new QComboBox(print);
  printStyles_->setObjectName("CbxPrintStyle");
  printStyles_->setGeometry(14, 21, 183, 22);
  for (std::size_t i = 0; i < std::size(kPrintStyleCaptions); ++i) printStyles_->addItem(QString());
  styleGroupBox(print);
  addCancelButton(this, 119, 274, 85, 22);

  connect(current, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 3; ++i) show(i, remembered_[i]);
  });
  connect(standard, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 3; ++i) show(i, kDefaultColors[i]);
  });
  setLanguage(false);
}

void ColorDialog::setLanguage(bool english) {
  applyTexts(this, kColorTexts, english);
  for (int i = 0; i < printStyles_->count(); ++i) {
    const PieceName& caption = kPrintStyleCaptions[i];
    printStyles_->setItemText(i, uiText(english ? caption.english : caption.german));
  }
}

void ColorDialog::setPrintStyle(PrintStyle style) {
  printStyle_ = style;
  printStyles_->setCurrentIndex(static_cast<int>(style));
}

PrintStyle ColorDialog::printStyle() const {
  return static_cast<PrintStyle>(std::max(0, printStyles_->currentIndex()));
}

void ColorDialog::show(int index, int color) {
  shown_[index] = color;
  setPaletteColor(swatches_[index], QPalette::Window, toQColor(color));
}

std::optional<std::array<int, 3>> ColorDialog::edit(const std::array<int, 3>& colors,
                                                     bool english) {
  setColors(colors);
  setLanguage(english);
  setPrintStyle(printStyle_);
  if (platform_.runDialog(this) != QDialog::Accepted) {
    setPrintStyle(printStyle_);
    return std::nullopt;
  }
  if (printStyle() != printStyle_) {
    printStyle_ = printStyle();
    emit printStyleChosen(printStyle_);
  }
  return shown_;
}

void ColorDialog::setColors(const std::array<int, 3>& colors) {
  remembered_ = colors;
  for (int i = 0; i < 3; ++i) show(i, colors[i]);
}

void ColorDialog::chooseColor(int index) {
  // A cancelled choice keeps the swatch's colour.
  if (const auto chosen = platform_.chooseColor(this, toQColor(shown_[index]))) {
    show(index, fromQColor(*chosen));
  }
}

}  // namespace kalmera
