#include "ui/widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/widgets/ApplyTexts.h"
#include "ui/platform/Platform.h"

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
  emit arrowPressed();
  step(held_);
  repeat_.setInterval(400);
  repeat_.start();
  update();
}

void UpDown::mouseReleaseEvent(QMouseEvent*) {
  const bool wasHeld = held_ != 0;
  held_ = 0;
  repeat_.stop();
  update();
  if (wasHeld) emit arrowReleased();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  // The arrow keys in the edit line step like the arrows.
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      emit arrowPressed();
      step(key == Qt::Key_Up ? 1 : -1);
      emit arrowReleased();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

CounterField::CounterField(UpDown& upDown, Platform& platform, QWidget* messageParent,
                           std::function<bool()> english)
    : QObject(&upDown),
      upDown_(upDown),
      platform_(platform),
      messageParent_(messageParent),
      english_(std::move(english)) {
  QLineEdit* edit = upDown_.buddy();
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textChanged, this, &CounterField::textChanged);
  connect(&upDown_, &UpDown::arrowPressed, this, &CounterField::finishEdit);
  connect(&upDown_, &UpDown::arrowReleased, this, &CounterField::editEnded);
}

std::optional<int> CounterField::typedNumber(const QString& text, int minimum, int maximum) {
  if (text.isEmpty() || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  int value = 0;
  for (const QChar c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c.unicode() - '0');
  }
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

void CounterField::textChanged() {
  const std::optional<int> value =
      typedNumber(upDown_.buddy()->text(), upDown_.minimum(), upDown_.maximum());
  if (!value) return;
  upDown_.setPosition(*value);
  emit valueTaken(*value);
}

void CounterField::finishEdit() { finish(false); }

void CounterField::finish(bool leaving) {
  // The message box takes the focus from the line: that is no second end.
  if (checking_) return;
  checking_ = true;
  QLineEdit* edit = upDown_.buddy();
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  if (ok) {
    // Written back as the clamped number; the text change takes it.
    upDown_.setPosition(value, true);
  } else {
    const bool english = english_ && english_();
    const MessageText& title = kRangeTitle;
    const MessageText& text = kRangeText;
    platform_.showMessage(messageParent_, uiText(english ? title.english : title.german),
                          uiText(english ? text.english : text.german)
                              .arg(upDown_.minimum())
                              .arg(upDown_.maximum()),
                          Platform::Icon::Error);
    const QSignalBlocker quiet(edit);
    edit->setText(QString::number(upDown_.position()));
    edit->selectAll();
    // The focus was leaving: it comes back to the number to type again.
    if (leaving) {
      QTimer::singleShot(0, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
      });
    }
  }
  checking_ = false;
  emit editEnded();
}

bool CounterField::eventFilter(QObject* watched, QEvent* event) {
  if (watched == upDown_.buddy()) {
    if (event->type() == QEvent::FocusOut) {
      // Another window or a menu taking the focus does not end the edit.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) finish(true);
      else emit editEnded();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) finishEdit();  // and on to the dialog
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kalmera
