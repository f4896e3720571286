#include "ui/window/MainWindowControls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>
#include <string_view>

#include "model/ErrorReasons.h"
#include "model/Legality.h"
#include "model/ReadingReport.h"
#include "moves/GameEnd.h"
#include "model/PositionRecord.h"
#include "setup/Trim.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/board/BoardView.h"
#include "ui/widgets/FocusLabel.h"
#include "ui/board/PieceBox.h"
#include "ui/widgets/Style.h"
#include "ui/widgets/UpDown.h"
#include "view/Artwork.h"

namespace kalmera {

namespace {

// Where each control sits: its parent (by object name) and its rectangle.
struct Place {
  std::string_view name;
  std::string_view parent;
  int x, y, width, height;
};

constexpr Place kLayout[] = {
    {"BevMenue", "Client", 0, 0, 595, 2},
    {"GrpReset", "Client", 371, 7, 218, 50},
    {"ButNew", "GrpReset", 14, 18, 44, 22},
    {"ButRandom", "GrpReset", 63, 18, 44, 22},
    {"ButEmpty", "GrpReset", 112, 18, 44, 22},
    {"ButOld", "GrpReset", 161, 18, 44, 22},
    {"GrpCastling", "Client", 371, 63, 218, 106},
    {"ChkKalmera", "GrpCastling", 10, 16, 200, 18},
    {"ImgRochBLeft", "GrpCastling", 10, 38, 16, 16},
    {"ChkCaLeftB", "GrpCastling", 30, 37, 60, 18},
    {"LblErrCaLeftB", "GrpCastling", 92, 38, 10, 16},
    {"ImgRochBRight", "GrpCastling", 112, 38, 16, 16},
    {"ChkCaRightB", "GrpCastling", 132, 37, 60, 18},
    {"LblErrCaRightB", "GrpCastling", 194, 38, 10, 16},
    {"ImgRochWLeft", "GrpCastling", 10, 59, 16, 16},
    {"ChkCaLeftW", "GrpCastling", 30, 58, 60, 18},
    {"LblErrCaLeftW", "GrpCastling", 92, 59, 10, 16},
    {"ImgRochWRight", "GrpCastling", 112, 59, 16, 16},
    {"ChkCaRightW", "GrpCastling", 132, 58, 60, 18},
    {"LblErrCaRightW", "GrpCastling", 194, 59, 10, 16},
    {"CbxRLeft", "GrpCastling", 10, 79, 40, 21},
    {"LblASide", "GrpCastling", 54, 81, 56, 17},
    {"CbxRRight", "GrpCastling", 112, 79, 40, 21},
    {"LblHSide", "GrpCastling", 156, 81, 58, 17},
    {"GrpEnPassant", "Client", 371, 175, 218, 50},
    {"CbxEnPassant", "GrpEnPassant", 10, 19, 40, 21},
    {"LblEnPassant", "GrpEnPassant", 56, 21, 140, 17},
    {"LblErrEP", "GrpEnPassant", 198, 21, 10, 16},
    {"GrpMoveCount", "Client", 371, 231, 218, 106},
    {"LblFullCount", "GrpMoveCount", 8, 20, 158, 17},
    {"EdtFullCount", "GrpMoveCount", 166, 18, 34, 21},
    {"UpdFullCount", "GrpMoveCount", 200, 18, 15, 21},
    {"LblHalfCount", "GrpMoveCount", 8, 47, 158, 17},
    {"EdtHalfCount", "GrpMoveCount", 166, 45, 34, 21},
    {"UpdHalfCount", "GrpMoveCount", 200, 45, 15, 21},
    {"LblColor", "GrpMoveCount", 10, 77, 130, 17},
    {"ImgColor", "GrpMoveCount", 143, 78, 16, 16},
    {"ButColChange", "GrpMoveCount", 162, 74, 49, 22},
    {"GrpFigures", "Client", 7, 371, 351, 71},
    {"PbxFigures", "GrpFigures", 7, 13, 337, 38},
    {"RadPawn", "GrpFigures", 23, 51, 29, 17},
    {"RadKnight", "GrpFigures", 79, 51, 29, 17},
    {"RadBishop", "GrpFigures", 135, 51, 29, 17},
    {"RadRook", "GrpFigures", 191, 51, 29, 17},
    {"RadQueen", "GrpFigures", 247, 51, 29, 17},
    {"RadKing", "GrpFigures", 304, 51, 29, 17},
    {"LblErrKing", "GrpFigures", 336, 52, 10, 16},
    {"GrpGenerate", "Client", 371, 343, 218, 99},
    {"EdtKopf1", "GrpGenerate", 14, 20, 190, 21},
    {"EdtKopf2", "GrpGenerate", 14, 45, 190, 21},
    {"ButVorschau", "GrpGenerate", 14, 70, 90, 22},
    {"ButHtmlClip", "GrpGenerate", 114, 70, 90, 22},
    {"GrpBoard", "Client", 7, 7, 351, 358},
    {"PbxBoard", "GrpBoard", 7, 14, 337, 337},
    {"GrpFen", "Client", 7, 448, 582, 57},
    {"EdtFenString", "GrpFen", 14, 22, 454, 21},
    {"Button1", "GrpFen", 478, 21, 90, 22},
    {"StatusArea", "Client", 12, 509, 572, 60},
};

const Place& placeOf(std::string_view name) {
  return *std::find_if(std::begin(kLayout), std::end(kLayout),
                       [name](const Place& p) { return p.name == name; });
}

// Creates a control at its place in the layout table, inside its parent.
template <typename W>
W* place(QWidget* client, std::string_view name) {
  const Place& p = placeOf(name);
  QWidget* parent = p.parent == "Client"
                        ? client
                        : client->findChild<QWidget*>(QString::fromLatin1(p.parent.data(),
                                                                           p.parent.size()));
  auto* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name.data(), name.size()));
  widget->setGeometry(p.x, p.y, p.width, p.height);
  return widget;
}

QLabel* placeDisc(QWidget* client, std::string_view name, int side) {
  auto* label = place<QLabel>(client, name);
  label->setPixmap(QPixmap::fromImage(colorDisc(side, client->devicePixelRatioF())));
  return label;
}

QLabel* placeError(QWidget* client, std::string_view name) {
  auto* label = place<QLabel>(client, name);
  styleErrorLabel(label);
  return label;
}

QComboBox* placeList(QWidget* client, std::string_view name, const QStringList& items) {
  auto* list = place<QComboBox>(client, name);
  list->addItems(items);
  return list;
}

void placeCounter(QWidget* client, std::string_view label, std::string_view edit,
                  std::string_view upDown, int min, int max, int length, QLabel*& lbl,
                  QLineEdit*& edt, UpDown*& upd) {
  lbl = place<FocusLabel>(client, label);
  edt = place<QLineEdit>(client, edit);
  edt->setMaxLength(length);
  upd = place<UpDown>(client, upDown);
  upd->setRange(min, max);
  upd->setBuddy(edt);
  upd->setPosition(min, true);
  lbl->setBuddy(edt);
}

}  // namespace

void MainWindowControls::build(QWidget* c) {
  menuBevel = place<QFrame>(c, "BevMenue");
  menuBevel->setFrameShape(QFrame::HLine);
  menuBevel->setFrameShadow(QFrame::Sunken);

  setupGroup = place<QGroupBox>(c, "GrpReset");
  standardButton = place<QPushButton>(c, "ButNew");
  chess960Button = place<QPushButton>(c, "ButRandom");
  emptyButton = place<QPushButton>(c, "ButEmpty");
  startOfRunButton = place<QPushButton>(c, "ButOld");
  // Four captions on buttons 44 pixels wide: set a little closer.
  for (QPushButton* b : {standardButton, chess960Button, emptyButton, startOfRunButton}) {
    QFont narrow = b->font();
    narrow.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
    narrow.setBold(false);  // set, so that the group's bold caption font stays outside
    b->setFont(narrow);
  }

  castlingGroup = place<QGroupBox>(c, "GrpCastling");
  extendedCastlingBox = place<QCheckBox>(c, "ChkKalmera");
  extendedCastlingBox->setChecked(true);
  // Black's row above White's, each: disc, a-side box, error, disc, h-side box, error.
  constexpr std::string_view kRows[4][3] = {
      {"ImgRochBLeft", "ChkCaLeftB", "LblErrCaLeftB"},
      {"ImgRochBRight", "ChkCaRightB", "LblErrCaRightB"},
      {"ImgRochWLeft", "ChkCaLeftW", "LblErrCaLeftW"},
      {"ImgRochWRight", "ChkCaRightW", "LblErrCaRightW"},
  };
  constexpr int kRightOfRow[4] = {kBlackLeft, kBlackRight, kWhiteLeft, kWhiteRight};
  for (int row = 0; row < 4; ++row) {
    const int right = kRightOfRow[row];
    castlingDiscs[right] = placeDisc(c, kRows[row][0], row < 2 ? 1 : 0);
    castlingBoxes[right] = place<QCheckBox>(c, kRows[row][1]);
    castlingBoxes[right]->setText(row % 2 == 0 ? "O-O-O" : "O-O");
    castlingBoxes[right]->setChecked(true);
    castlingErrors[right] = placeError(c, kRows[row][2]);
  }
  aSideRookList = placeList(c, "CbxRLeft", {"a", "b", "c", "d", "e", "f"});
  aSideLabel = place<FocusLabel>(c, "LblASide");
  hSideRookList = placeList(c, "CbxRRight", {"c", "d", "e", "f", "g", "h"});
  hSideRookList->setCurrentIndex(5);
  hSideLabel = place<FocusLabel>(c, "LblHSide");

  enPassantGroup = place<QGroupBox>(c, "GrpEnPassant");
  enPassantList = placeList(c, "CbxEnPassant", {"-", "a", "b", "c", "d", "e", "f", "g", "h"});
  enPassantLabel = place<FocusLabel>(c, "LblEnPassant");
  enPassantLabel->setBuddy(enPassantList);
  enPassantError = placeError(c, "LblErrEP");

  moveGroup = place<QGroupBox>(c, "GrpMoveCount");
  placeCounter(c, "LblFullCount", "EdtFullCount", "UpdFullCount", 1, 999, 3, moveNumberLabel,
               moveNumberEdit, moveNumberUpDown);
  placeCounter(c, "LblHalfCount", "EdtHalfCount", "UpdHalfCount", 0, 99, 2, halfMoveLabel,
               halfMoveEdit, halfMoveUpDown);
  sideLabel = place<FocusLabel>(c, "LblColor");
  sideDisc = placeDisc(c, "ImgColor", 0);
  sideButton = place<QPushButton>(c, "ButColChange");

  pieceGroup = place<QGroupBox>(c, "GrpFigures");
  pieceBox = place<PieceBox>(c, "PbxFigures");
  constexpr std::string_view kRadios[6] = {"RadPawn", "RadKnight", "RadBishop",
                                           "RadRook", "RadQueen",  "RadKing"};
  for (int i = 0; i < 6; ++i) pieceRadios[i] = place<QRadioButton>(c, kRadios[i]);
  kingError = placeError(c, "LblErrKing");

  headlineGroup = place<QGroupBox>(c, "GrpGenerate");
  headline1Edit = place<QLineEdit>(c, "EdtKopf1");
  headline2Edit = place<QLineEdit>(c, "EdtKopf2");
  previewButton = place<QPushButton>(c, "ButVorschau");
  copyHtmlButton = place<QPushButton>(c, "ButHtmlClip");

  boardGroup = place<QGroupBox>(c, "GrpBoard");
  board = place<BoardView>(c, "PbxBoard");

  fenGroup = place<QGroupBox>(c, "GrpFen");
  fenLine = place<QLineEdit>(c, "EdtFenString");
  fenLine->setReadOnly(true);
  makeBold(fenLine);
  setPaletteColor(fenLine, QPalette::Base, QColor(233, 233, 226));
  copyFenButton = place<QPushButton>(c, "Button1");

  // Below the editor's layout: what the last reading changed (while there is
  // something to say) above the legality line, each as many lines as it needs.
  statusArea = place<QWidget>(c, "StatusArea");
  const auto statusLine = [&](const char* name) {
    auto* label = new QLabel(statusArea);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
  };
  readingLine = statusLine("LblReading");
  setPaletteColor(readingLine, QPalette::WindowText, QColor(150, 75, 0));
  readingLine->hide();
  legalityLine = statusLine("LblLegality");
  analysisLine = statusLine("LblAnalysis");
  analysisLine->hide();
  layOutStatus();

  for (QGroupBox* group : {setupGroup, castlingGroup, enPassantGroup, moveGroup, pieceGroup,
                           headlineGroup, boardGroup, fenGroup}) {
    styleGroupBox(group);
  }
}

std::array<QLabel*, 6> MainWindowControls::errorLabels() const {
  return {kingError,         castlingErrors[kWhiteLeft], castlingErrors[kWhiteRight],
          castlingErrors[kBlackLeft], castlingErrors[kBlackRight], enPassantError};
}

void MainWindowControls::showRecord(const PositionRecord& r) {
  for (const CastlingRightInfo& c : kCastlingRights) {
    const QSignalBlocker quiet(castlingBoxes[c.rookEntry]);
    castlingBoxes[c.rookEntry]->setChecked(r.*c.right);
    castlingErrors[c.rookEntry]->setVisible(r.*c.error);
  }
  {
    const QSignalBlocker quiet(extendedCastlingBox);
    extendedCastlingBox->setChecked(r.Extended);
  }
  const auto select = [](QComboBox* list, int index) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index);
  };
  select(aSideRookList, r.RookLeft - 'a');
  select(hSideRookList, r.RookRight - 'c');
  select(enPassantList, r.EnPassant);
  const auto count = [](QLineEdit* edit, UpDown* upDown, int value) {
    const QSignalBlocker quiet(edit);
    bool ok = false;
    if (edit->text().trimmed().toInt(&ok) != value || !ok) edit->setText(QString::number(value));
    upDown->setPosition(value);
  };
  count(moveNumberEdit, moveNumberUpDown, r.FullCount);
  count(halfMoveEdit, halfMoveUpDown, r.HalfCount);
  kingError->setVisible(r.ErrKing);
  enPassantError->setVisible(r.ErrEP);
}

void MainWindowControls::showActivePiece(int index) {
  if (index < 0) return;
  const QSignalBlocker quiet(pieceRadios[index]);
  pieceRadios[index]->setChecked(true);
}

void MainWindowControls::showExtended(bool extended) {
  aSideRookList->setVisible(extended);
  hSideRookList->setVisible(extended);
  aSideLabel->setBuddy(extended ? static_cast<QWidget*>(aSideRookList)
                                : castlingBoxes[kBlackLeft]);
  hSideLabel->setBuddy(extended ? static_cast<QWidget*>(hSideRookList)
                                : castlingBoxes[kBlackRight]);
}

void MainWindowControls::trimHeadlines() {
  for (QLineEdit* headline : {headline1Edit, headline2Edit}) {
    const QString trimmed = trimControls(headline->text());
    if (trimmed != headline->text()) headline->setText(trimmed);
  }
}

void MainWindowControls::showReasons(const PositionRecord& record, bool english) {
  const ErrorReasons reasons =
      errorReasons(record, english ? Language::English : Language::German);
  // Each red "?" says its reason, and the control it belongs to carries it
  // as its description while the flag shows.
  const auto tell = [](QLabel* label, QWidget* control, const std::string& reason) {
    const QString text = uiText(reason);
    label->setToolTip(text);
    label->setAccessibleName(text.isEmpty() ? QString("?") : text);
    control->setAccessibleDescription(text);
  };
  tell(kingError, pieceRadios[5], reasons.king);
  for (int right = 0; right < 4; ++right) {
    tell(castlingErrors[right], castlingBoxes[right], reasons.castling[right]);
  }
  tell(enPassantError, enPassantList, reasons.enPassant);
}

void MainWindowControls::showLegality(const PositionRecord& record, bool english) {
  const Language language = english ? Language::English : Language::German;
  const Legality legality = judgeLegality(record);
  QString line = uiText(legalitySummary(legality, record, language));
  // A legal position may show the end of the game: "Legal position. White is checkmated."
  if (legality.legal()) {
    const std::string_view end = gameEndSentence(gameEndOf(record), record.Side, language);
    if (!end.empty()) line += " " + uiText(end);
  }
  QStringList all;
  for (int p = 0; p < kProblemCount; ++p) {
    const auto problem = static_cast<Problem>(p);
    if (legality.has(problem)) all << uiText(legalityReason(legality, record, problem, language));
  }
  // The first sentence whole, on as many lines as it needs; the hint has them all.
  legalityLine->setText(line);
  layOutStatus();
  const QString hint = all.isEmpty() ? line : all.join('\n');
  legalityLine->setToolTip(hint);
  legalityLine->setAccessibleName(line);
  legalityLine->setAccessibleDescription(hint);
  setPaletteColor(legalityLine, QPalette::WindowText,
                  legality.legal() ? QColor(0, 100, 0) : QColor(176, 0, 0));
}

ClientArea::ClientArea(MainWindowControls& controls, QWidget* parent)
    : QWidget(parent), controls_(controls) {
  setObjectName("Client");
  setMinimumSize(kClientWidth, kClientHeight);
}

QSize ClientArea::sizeHint() const { return {kClientWidth, kClientHeight}; }

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (controls_.statusArea != nullptr) controls_.fitTo(this);  // once built
}

void MainWindowControls::fitTo(QWidget* client) {
  // At the default size every control stands at its place in the table.
  // Larger, the board grows square by what both directions have to spare,
  // the controls beside it move right and those below it down, and the FEN
  // line and the status area take the whole width (the status area also the
  // height left).
  const int wider = std::max(0, client->width() - kClientWidth);
  const int higher = std::max(0, client->height() - kClientHeight);
  const int grow = std::min(wider, higher);
  const auto rectOf = [&](const Place& p) {
    QRect r(p.x, p.y, p.width, p.height);
    const std::string_view name = p.name, parent = p.parent;
    if (name == "GrpBoard" || name == "PbxBoard") return r.adjusted(0, 0, grow, grow);
    if (name == "BevMenue") return r.adjusted(0, 0, wider, 0);
    if (name == "GrpFigures") return r.translated(0, grow).adjusted(0, 0, grow, 0);
    if (name == "PbxFigures") return r.adjusted(0, 0, grow, 0);
    if (parent == "GrpFigures") {
      r.moveLeft(p.x * (351 + grow) / 351);
      return r;
    }
    if (name == "GrpFen") return r.translated(0, grow).adjusted(0, 0, wider, 0);
    if (name == "EdtFenString") return r.adjusted(0, 0, wider, 0);
    if (name == "Button1") return r.translated(wider, 0);
    if (name == "StatusArea") return r.translated(0, grow).adjusted(0, 0, wider, higher - grow);
    if (parent == "Client" && p.x >= 371) return r.translated(grow, 0);  // the right column
    return r;
  };
  for (const Place& p : kLayout) {
    auto* widget = client->findChild<QWidget*>(QString::fromLatin1(p.name.data(), p.name.size()));
    if (widget != nullptr) widget->setGeometry(rectOf(p));
  }
  layOutStatus();
}

void MainWindowControls::showReading(const ReadingReport* report, bool english) {
  // The report's sentences are ISO 8859-1, as the FEN text is.
  const Language language = english ? Language::English : Language::German;
  QStringList every;
  if (report != nullptr) {
    for (const ReadingChange& change : report->changes()) {
      every << QString::fromLatin1(readingSentence(change, language));
    }
  }
  const QString summary =
      report != nullptr ? QString::fromLatin1(readingSummary(*report, language)) : QString();
  const QString everyChange = every.join('\n');
  readingLine->setText(summary);
  readingLine->setToolTip(everyChange);
  readingLine->setAccessibleName(summary);
  readingLine->setAccessibleDescription(everyChange);
  readingLine->setVisible(!summary.isEmpty());
  layOutStatus();
}

void MainWindowControls::layOutStatus() {
  // Each line of the status area that shows, below the one before, as high as
  // its text needs at the area's width.
  int top = 0;
  for (QLabel* line : statusArea->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (line->isHidden()) continue;
    const int height = line->heightForWidth(statusArea->width());
    line->setGeometry(0, top, statusArea->width(), height);
    top += height + 1;
  }
}

void MainWindowControls::showSide(int side, bool english) {
  sideDisc->setPixmap(QPixmap::fromImage(colorDisc(side, sideDisc->devicePixelRatioF())));
  const bool white = side == 0;
  const SideTexts& t = kSideTexts;
  sideButton->setText(uiText(english ? (white ? t.whiteEnglish : t.blackEnglish)
                                     : (white ? t.whiteGerman : t.blackGerman)));
  sideButton->setToolTip(uiText(english ? t.hintEnglish : t.hintGerman));
  sideButton->setAccessibleName(uiText(english ? (white ? t.nameWhiteEnglish : t.nameBlackEnglish)
                                               : (white ? t.nameWhiteGerman : t.nameBlackGerman)));
  // The piece box's buttons say the piece in the colour they place.
  for (int i = 0; i < 6; ++i) {
    const PieceName& piece = kPieceNames[6 * side + i];
    QString name = uiText(english ? piece.english : piece.german);
    name[0] = name[0].toUpper();
    pieceRadios[i]->setAccessibleName(name);
  }
}

}  // namespace kalmera
