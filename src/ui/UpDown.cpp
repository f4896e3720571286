#include "ui/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/ApplyTexts.h"
#include "ui/Platform.h"

namespace kalmera {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  repeat_.setInterval(80);
  connect(&repeat_, &QTimer::timeout, this, [this] {
    repeat_.setInterval(60);
    step(held_);
  });
}

void UpDown::setBuddy(QLineEdit* edit) {
  buddy_ = edit;
  edit->installEventFilter(this);
}

void UpDown::setRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = std::clamp(position_, minimum_, maximum_);
}

void UpDown::setPosition(int value, bool always) {
  position_ = std::clamp(value, minimum_, maximum_);
  if ((always || position_ != value) && buddy_ != nullptr) {
    const QString text = QString::number(position_);
    if (buddy_->text() != text) buddy_->setText(text);
  }
}

void UpDown::step(int delta) {
  if (delta == 0) return;
  const int next = std::clamp(position_ + delta, minimum_, maximum_);
  if (next == position_) return;
  setPosition(next, true);
}

void UpDown::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOption option;
  option.initFrom(this);
  const int half = height() / 2;
  for (int i = 0; i < 2; ++i) {
    QStyleOption button = option;
    button.rect = QRect(0, i * half, width(), i == 0 ? half : height() - half);
    const bool down = held_ == (i == 0 ? 1 : -1);
    button.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
    button.rect.adjust(2, 1, -2, -1);
    style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                           &button, &p, this);
  }
}

void UpDown::mousePressEvent(QMouseEvent* event) {
  if (buddy_ != nullptr) buddy_->setFocus();
  if (event->button() != Qt::LeftButton) return;
  held_ = event->position().y() < height() / 2 ? 1 : -1;
  step(held_);
  repeat_.setInterval(400);
  repeat_.start();
  update();
}

void UpDown::mouseReleaseEvent(QMouseEvent*) {
  held_ = 0;
  repeat_.stop();
  update();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  // The arrow keys in the edit line step like the arrows.
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void checkCounter(UpDown& upDown, Platform& platform, QWidget* messageParent) {
  QLineEdit* edit = upDown.buddy();
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  if (ok) {
    upDown.setPosition(value);
    return;
  }
  platform.showMessage(messageParent, uiText(kRangeTitle),
                       uiText(kRangeText).arg(upDown.minimum()).arg(upDown.maximum()),
                       Platform::Icon::Error);
  const QSignalBlocker quiet(edit);
  edit->setText(QString::number(upDown.position()));
  edit->selectAll();
}

}  // namespace kalmera
