#include "ui/FrmColor.h"

#include <QFrame>
#include <QGroupBox>
#include <QPushButton>

#include "setup/Settings.h"
#include "ui/ApplyTexts.h"
#include "ui/FrmFenEdit.h"
#include "ui/Style.h"
#include "view/Colors.h"

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
});

constexpr std::array<int, 3> kDefaultColors = {kDefaultBoardColor, kDefaultBrightColor,
                                               kDefaultDarkColor};

QPushButton* button(QWidget* parent, const char* name, int x, int y) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->setGeometry(x, y, 85, 22);
  return b;
}

}  // namespace

TFrmColor::TFrmColor(Platform& platform, QWidget* parent) : QDialog(parent), platform_(platform) {
  setObjectName("TFrmColor");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setFixedSize(226, 249);

  auto* OKButton = button(this, "OKButton", 21, 217);
  OKButton->setText("OK");
  OKButton->setDefault(true);
  auto* group = new QGroupBox(this);
  group->setObjectName("GrpColor");
  group->setGeometry(7, 7, 211, 127);
  static constexpr const char* kButtons[] = {"ButBrett", "ButHell", "ButDunkel"};
  static constexpr const char* kSwatches[] = {"PanBrett", "PanHell", "PanDunkel"};
  for (int i = 0; i < 3; ++i) {
    auto* b = button(group, kButtons[i], 14, 21 + 35 * i);
    connect(b, &QPushButton::clicked, this, [this, i] { ReadColor(i); });
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
  auto* cancel = button(this, "ButCancel", 119, 217);

  connect(current, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 3; ++i) show(i, remembered_[i]);
  });
  connect(standard, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 3; ++i) show(i, kDefaultColors[i]);
  });
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setLanguage(false);
}

void TFrmColor::setLanguage(bool english) { applyTexts(this, kColorTexts, english); }

void TFrmColor::show(int index, int color) {
  shown_[index] = color;
  QPalette palette = swatches_[index]->palette();
  palette.setColor(QPalette::Window, toQColor(color));
  swatches_[index]->setPalette(palette);
}

void TFrmColor::setColors(const TFrmFenEdit& window) {
  for (int i = 0; i < 3; ++i) {
    remembered_[i] = window.getColor(i);
    show(i, remembered_[i]);
  }
}

void TFrmColor::takeColors(TFrmFenEdit& window) const {
  for (int i = 2; i >= 0; --i) window.setColor(i, shown_[i]);
}

void TFrmColor::ReadColor(int index) {
  // A cancelled choice keeps the swatch's colour.
  if (const auto chosen = platform_.chooseColor(this, toQColor(shown_[index]))) {
    show(index, fromQColor(*chosen));
  }
}

}  // namespace kalmera
