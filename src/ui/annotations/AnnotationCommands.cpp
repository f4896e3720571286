#include "ui/annotations/AnnotationCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include "model/Position.h"
#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "ui/annotations/AnnotationTexts.h"
#include "ui/board/BoardView.h"
#include "ui/dialogs/ColorDialog.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/EditHistory.h"
#include "view/PieceDesigns.h"

namespace kalmera {

namespace {

constexpr const char* kColorActions[] = {"ActAnnotationGreen", "ActAnnotationRed",
                                         "ActAnnotationBlue", "ActAnnotationYellow"};

QAction* newAction(QObject* parent, const char* name) {
  auto* a = new QAction(parent);
  a->setObjectName(name);
  return a;
}

}  // namespace

AnnotationCommands::AnnotationCommands(QWidget* window, Position& position, EditHistory& history,
                                       BoardView* board)
    : QObject(window), position_(position), history_(history), board_(board) {
  setObjectName("AnnotationCommands");
  createActions(window);
  setLanguage(false);
}

void AnnotationCommands::createActions(QWidget* window) {
  colorGroup_ = new QActionGroup(this);
  for (int i = 0; i < kAnnotationColors; ++i) {
    QAction* a = newAction(this, kColorActions[i]);
    a->setCheckable(true);
    // The digit keys choose while the board has the focus; elsewhere they
    // are the counters' and the headlines' own.
    a->setShortcut(QKeySequence(Qt::Key_1 + i));
    a->setShortcutContext(Qt::WidgetShortcut);
    board_->addAction(a);
    colorGroup_->addAction(a);
    const auto color = static_cast<AnnotationColor>(i + 1);
    connect(a, &QAction::triggered, this, [this, color] { board_->setAnnotationColor(color); });
    colors_[i] = a;
  }
  colors_[static_cast<int>(board_->annotationColor()) - 1]->setChecked(true);

  clear_ = newAction(this, "ActClearAnnotations");
  window->addAction(clear_);
  connect(clear_, &QAction::triggered, this,
          [this] { history_.record([&] { position_.clearAnnotations(); }); });

  designGroup_ = new QActionGroup(this);
  for (const PieceDesignInfo& d : kPieceDesigns) {
    // A design whose font is not installed is not offered.
    if (!pieceDesignAvailable(d.design)) continue;
    const std::string name = "ActPieces_" + std::string(d.name);
    QAction* a = newAction(this, name.c_str());
    a->setCheckable(true);
    a->setData(static_cast<int>(d.design));
    designGroup_->addAction(a);
    const PieceDesign design = d.design;
    connect(a, &QAction::triggered, this, [this, design] {
      BoardStyle style = style_;
      style.pieces = design;
      setStyle(style);
    });
    designs_.push_back(a);
  }

  coordinates_ = newAction(this, "ActCoordinates");
  coordinates_->setCheckable(true);
  connect(coordinates_, &QAction::triggered, this, [this](bool on) {
    BoardStyle style = style_;
    style.coordinates = on;
    setStyle(style);
  });
  showStyle();
}

void AnnotationCommands::addMenus(QMenu* edit, QMenu* options) {
  edit->addSeparator();
  colorMenu_ = new QMenu(edit);
  colorMenu_->setObjectName("MnuAnnotationColor");
  colorMenu_->addActions(colorGroup_->actions());
  edit->addMenu(colorMenu_);
  edit->addAction(clear_);

  options->addSeparator();
  designMenu_ = new QMenu(options);
  designMenu_->setObjectName("MnuPieceDesign");
  designMenu_->addActions(designGroup_->actions());
  options->addMenu(designMenu_);
  options->addAction(coordinates_);
}

void AnnotationCommands::useColorDialog(ColorDialog* dialog) {
  colorDialog_ = dialog;
  if (dialog == nullptr) return;
  dialog->setPrintStyle(style_.print);
  connect(dialog, &ColorDialog::printStyleChosen, this, [this](PrintStyle print) {
    BoardStyle style = style_;
    style.print = print;
    setStyle(style);
  });
}

void AnnotationCommands::setLanguage(bool english) {
  applyTexts(this, kAnnotationTexts, english);
  for (QMenu* menu : {colorMenu_, designMenu_}) {
    if (menu != nullptr) applyTexts(menu, kAnnotationTexts, english);
  }
  for (QAction* a : designs_) {
    const PieceDesignInfo& d = pieceDesignInfo(static_cast<PieceDesign>(a->data().toInt()));
    a->setText(uiText(english ? d.english : d.german));
  }
}

AnnotationColor AnnotationCommands::color() const { return board_->annotationColor(); }

void AnnotationCommands::setStyle(const BoardStyle& style) {
  // A design that cannot be drawn here stays our own.
  BoardStyle shown = style;
  if (!pieceDesignAvailable(shown.pieces)) shown.pieces = PieceDesign::Kalmera;
  if (shown == style_) return;
  style_ = shown;
  board_->setStyle(style_);
  showStyle();
  emit styleChanged(style_);
}

void AnnotationCommands::showStyle() {
  for (QAction* a : designs_) {
    a->setChecked(static_cast<PieceDesign>(a->data().toInt()) == style_.pieces);
  }
  coordinates_->setChecked(style_.coordinates);
  if (colorDialog_ != nullptr) colorDialog_->setPrintStyle(style_.print);
}

void AnnotationCommands::readSettings(const IniFile& file) {
  BoardStyle style;
  if (const auto pieces = file.readRaw(kSection, kPiecesKey)) {
    style.pieces = pieceDesignNamed(*pieces).value_or(PieceDesign::Kalmera);
  }
  if (const auto print = file.readRaw(kSection, kStyleKey)) {
    style.print = printStyleNamed(*print).value_or(PrintStyle::Colour);
  }
  style.coordinates = file.readRaw(kSection, kCoordinatesKey).value_or("1") != "0";
  setStyle(style);
  BoardAnnotations annotations;
  if (const auto text = file.readRaw(kSection, kAnnotationsKey)) {
    readAnnotationCommands(*text, annotations);
  }
  position_.setAnnotations(annotations);
}

void AnnotationCommands::writeSettings(std::vector<RoomKey>& keys) const {
  const auto key = [&keys](const char* name, std::optional<std::string> value) {
    keys.push_back({kSection, name, std::move(value)});
  };
  const BoardAnnotations& annotations = position_.annotations();
  key(kAnnotationsKey, annotations.empty() ? std::nullopt
                                           : std::optional(annotationCommands(annotations)));
  const PieceDesignInfo& design = pieceDesignInfo(style_.pieces);
  key(kPiecesKey, style_.pieces == PieceDesign::Kalmera ? std::nullopt
                                                        : std::optional(std::string(design.name)));
  key(kStyleKey, style_.print == PrintStyle::Colour
                     ? std::nullopt
                     : std::optional(std::string(printStyleName(style_.print))));
  key(kCoordinatesKey, style_.coordinates ? std::nullopt : std::optional<std::string>("0"));
}

}  // namespace kalmera
