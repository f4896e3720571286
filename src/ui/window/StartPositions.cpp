#include "ui/window/StartPositions.h"

#include <QCheckBox>
#include <QLineEdit>

#include "model/Position.h"
#include "setup/Chess960.h"
#include "setup/RandomSource.h"
#include "setup/StartTexts.h"
#include "ui/dialogs/Chess960Dialog.h"
#include "ui/platform/Latin1.h"
#include "ui/window/MainWindowControls.h"

namespace kalmera {

void StartPositions::load(bool extended, std::string_view head1, const QString& head2,
                          std::string_view fen) {
  controls_.extendedCastlingBox->setChecked(extended);
  controls_.headline1Edit->setText(fromLatin1(std::string(head1)));
  controls_.headline2Edit->setText(head2);
  position_.readFen(fen);
}

void StartPositions::standard() { load(false, kHeadStandard, {}, kStandardFen); }

void StartPositions::empty() { load(false, {}, {}, kEmptyFen); }

void StartPositions::chess960() {
  if (dialog_ == nullptr) return;
  const int offered = static_cast<int>(sharedRandom().draw(960)) + 1;
  if (const std::optional<int> n = dialog_->askNumber(offered, english_())) {
    const QString number = fromLatin1(std::string(kHeadFrcNumberPrefix)) + QString::number(*n);
    load(true, kHeadFrc, number, frcFen(*n));
  }
}

}  // namespace kalmera
