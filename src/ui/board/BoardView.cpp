#include "ui/board/BoardView.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <string_view>

#include "ui/board/BoardAccessible.h"
#include "view/Colors.h"

namespace kalmera {

char boardLetter(char typed, bool english) {
  // German letters (König, Dame, Turm, Läufer, Springer, Bauer) in the order
  // of "PNBRQK"; "B" is the pawn there, and P, N, R and Q still work.
  constexpr std::string_view kGerman = "BSLTDK";
  if (!english) {
    const char upper = typed >= 'a' && typed <= 'z' ? char(typed - 32) : typed;
    const std::size_t kind = kGerman.find(upper);
    if (upper != 0 && kind != std::string_view::npos) {
      return kPieceLetters[kind + (upper == typed ? 0 : 6)];
    }
    if (upper == 'P' || upper == 'N' || upper == 'R' || upper == 'Q') return typed;
    return 0;
  }
  return isPieceLetter(typed) ? typed : 0;
}

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  installBoardAccessibility();
}

void BoardView::redraw(const PositionRecord& record, const std::array<int, 3>& colors) {
  const PositionRecord before = record_;
  record_ = record;
  colors_ = colors;
  drawScreen();
  ++redrawCount_;
  tellAccessibility(before, false);
}

void BoardView::drawScreen() {
  PositionRecord shown = record_;
  if (dragSource_ >= 0) shown.Board[dragSource_] = 0;
  lastRedraw_ = screenRenderer_.redraw(screen_, kBoardPictureSize, kBoardPictureSize, shown,
                                       colors_, screenRatio(), flipped_, style_);
  update();
}

const QImage& BoardView::picture() {
  if (screen_.devicePixelRatio() == 1 && dragSource_ < 0) return screen_;
  exportRenderer_.redraw(export_, kBoardPictureSize, kBoardPictureSize, record_, colors_, 1,
                         flipped_, style_);
  return export_;
}

void BoardView::setFlipped(bool flipped) {
  if (flipped == flipped_) return;
  flipped_ = flipped;
  if (!screen_.isNull()) drawScreen();
  tellAccessibility(record_, true);  // every cell shows another square now
}

void BoardView::setStyle(const BoardStyle& style) {
  if (style == style_) return;
  style_ = style;
  if (!screen_.isNull()) drawScreen();
}

void BoardView::setAnnotationColor(AnnotationColor color) {
  if (color == AnnotationColor::None || color == annotationColor_) return;
  annotationColor_ = color;
  if (arrowStart_ >= 0) update();
}

void BoardView::setEnglish(bool english) {
  if (english == english_) return;
  english_ = english;
  tellAccessibility(record_, true);
}

qreal BoardView::scale() const { return qreal(width()) / kBoardPictureSize; }

qreal BoardView::screenRatio() const { return devicePixelRatioF() * scale(); }

int BoardView::squareAtGlobal(const QPoint& global) const {
  const QPoint at = mapFromGlobal(global);
  if (!rect().contains(at)) return -1;
  const qreal s = scale();
  return geometry().squareAt(int(at.x() / s), int(at.y() / s), flipped_);
}

QRect BoardView::squareRect(int square) const {
  const BoardGeometry g = geometry();
  const qreal s = scale();
  const int left = qRound(g.squareLeft(square, flipped_) * s);
  const int top = qRound(g.squareTop(square, flipped_) * s);
  return QRect(left, top, qRound((g.squareLeft(square, flipped_) + g.SW) * s) - left,
               qRound((g.squareTop(square, flipped_) + g.SH) * s) - top);
}

void BoardView::setCursorSquare(int square) {
  if (square < 0 || square >= kSquares || square == cursor_) return;
  cursor_ = square;
  update();
  emit cursorMoved(square);
  if (hasFocus()) announceBoardCursor(this);
}

void BoardView::setDragSource(int square) {
  if (square == dragSource_) return;
  dragSource_ = square;
  if (!screen_.isNull()) drawScreen();
}

void BoardView::paintEvent(QPaintEvent*) {
  // Moved to a screen of another ratio: draw anew for it.
  if (!screen_.isNull() && screen_.devicePixelRatio() != screenRatio()) drawScreen();
  QPainter painter(this);
  // The picture has exactly the widget's pixels: drawn at this size, never scaled.
  painter.drawImage(QRectF(rect()), screen_);
  if (!painted_) {
    painted_ = true;
    emit firstPainted();
  }
  if (hasFocus() && cursorFrameShown_) paintCursorFrame(painter);
  if (arrowStart_ >= 0) paintArrowStart(painter);
}

void BoardView::paintArrowStart(QPainter& painter) const {
  // On screen only: a ring in the annotation colour where the arrow begins.
  const QRect r = squareRect(arrowStart_);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QColor color = toQColor(annotationRgb(annotationColor_));
  painter.setPen(QPen(color, std::max(2.0, r.width() / 10.0), Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  const int inset = r.width() / 5;
  painter.drawEllipse(r.adjusted(inset, inset, -inset, -inset));
  painter.restore();
}

void BoardView::paintCursorFrame(QPainter& painter) const {
  // Brackets in the four corners of the cursor square, on screen only: they
  // stay in the corners that a mark's octagon cuts off, clear of the ring and
  // the piece, and a blue line beside a white one shows on every square.
  const QRect r = squareRect(cursor_);
  const int arm = std::max(4, r.width() / 6);
  const QPoint corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
  const QPoint inward[4] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  for (int i = 0; i < 4; ++i) {
    const QPoint c = corners[i];
    const int dx = inward[i].x(), dy = inward[i].y();
    const auto bracket = [&](int inset, int length) {
      const QPoint corner = c + QPoint(dx * inset, dy * inset);
      painter.drawPolyline(QPolygon({corner + QPoint(dx * length, 0), corner,
                                     corner + QPoint(0, dy * length)}));
    };
    painter.setPen(QPen(QColor(0, 70, 200), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    bracket(0, arm);
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    bracket(2, arm - 2);
  }
}

void BoardView::keyPressEvent(QKeyEvent* event) {
  if (!takeKey(event)) {
    event->ignore();  // to the window: its shortcuts, Tab and the rest
    return;
  }
  showCursorFrame(true);
}

void BoardView::showCursorFrame(bool shown) {
  if (shown == cursorFrameShown_) return;
  cursorFrameShown_ = shown;
  update();
}

// "A" begins an arrow on the cursor square and ends it there when one is
// begun (on its own square: no arrow); "H" colours the cursor square;
// Escape gives up a begun arrow. Neither letter is a piece in either language.
bool BoardView::takeAnnotationKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier && arrowStart_ >= 0) {
    arrowStart_ = -1;
    update();
    return true;
  }
  if ((mods & ~Qt::ShiftModifier) != Qt::NoModifier) return false;
  if (event->key() == Qt::Key_A) {
    if (arrowStart_ < 0) {
      arrowStart_ = cursor_;
    } else {
      const int from = arrowStart_;
      arrowStart_ = -1;
      if (from != cursor_) emit arrowDrawn(from, cursor_, annotationColor_);
    }
    update();
    return true;
  }
  if (event->key() == Qt::Key_H) {
    emit squareColored(cursor_, annotationColor_);
    return true;
  }
  return false;
}

bool BoardView::takeKey(QKeyEvent* event) {
  if (takeAnnotationKey(event)) return true;
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int row = rowOf(cursor_), file = fileOf(cursor_);
  // Movement as seen on the screen: turned round when flipped.
  const int down = flipped_ ? -1 : 1, right = flipped_ ? -1 : 1;
  const auto moveTo = [this](int r, int f) {
    setCursorSquare(8 * std::clamp(r, 0, 7) + std::clamp(f, 0, 7));
    return true;
  };
  const bool plain = (mods & ~Qt::ShiftModifier) == Qt::NoModifier;
  switch (event->key()) {
    case Qt::Key_Up: if (mods == Qt::NoModifier) return moveTo(row - down, file); break;
    case Qt::Key_Down: if (mods == Qt::NoModifier) return moveTo(row + down, file); break;
    case Qt::Key_Left: if (mods == Qt::NoModifier) return moveTo(row, file - right); break;
    case Qt::Key_Right: if (mods == Qt::NoModifier) return moveTo(row, file + right); break;
    case Qt::Key_Home: if (mods == Qt::NoModifier) return moveTo(row, flipped_ ? 7 : 0); break;
    case Qt::Key_End: if (mods == Qt::NoModifier) return moveTo(row, flipped_ ? 0 : 7); break;
    case Qt::Key_PageUp: if (mods == Qt::NoModifier) return moveTo(flipped_ ? 7 : 0, file); break;
    case Qt::Key_PageDown: if (mods == Qt::NoModifier) return moveTo(flipped_ ? 0 : 7, file); break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
      if (mods != Qt::NoModifier) return false;
      emit pieceTyped(cursor_, 0);
      return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (mods != Qt::NoModifier && mods != Qt::ControlModifier) return false;
      emit squareKeyPressed(cursor_, mods);
      return true;
    default:
      if (plain && event->text().size() == 1) {
        const char letter = boardLetter(event->text()[0].toLatin1(), english_);
        if (letter != 0) {
          emit pieceTyped(cursor_, letter);
          return true;
        }
      }
      break;
  }
  return false;
}

void BoardView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Another size: the artwork drawn anew at it (not on the first layout,
  // before anything was drawn).
  if (!screen_.isNull()) drawScreen();
}

void BoardView::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  // Reached from the keyboard: the frame shows where the keys act. A click
  // gives the focus without it; a window coming back keeps what it showed.
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
      reason == Qt::ShortcutFocusReason) {
    cursorFrameShown_ = true;
  } else if (reason == Qt::MouseFocusReason) {
    cursorFrameShown_ = false;
  }
  update();
  announceBoardCursor(this);
}

void BoardView::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void BoardView::tellAccessibility(const PositionRecord& before, bool everything) {
  std::uint64_t changed = 0;
  for (int s = 0; s < kSquares; ++s) {
    if (everything || before.Board[s] != record_.Board[s] ||
        (before.Marks[s] != 0) != (record_.Marks[s] != 0) ||
        before.Annotations.squares[s] != record_.Annotations.squares[s]) {
      changed |= std::uint64_t{1} << s;
    }
  }
  // A cell names the arrows that start and end on its square.
  if (before.Annotations.arrowCount != record_.Annotations.arrowCount ||
      before.Annotations.arrows != record_.Annotations.arrows) {
    const BoardAnnotations* both[] = {&before.Annotations, &record_.Annotations};
    for (const BoardAnnotations* a : both) {
      for (int i = 0; i < a->arrowCount; ++i) {
        changed |= std::uint64_t{1} << a->arrows[i].from | std::uint64_t{1} << a->arrows[i].to;
      }
    }
  }
  if (changed != 0) announceBoardSquares(this, changed);
}

}  // namespace kalmera
