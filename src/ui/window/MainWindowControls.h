// The main window's controls: the eight group boxes and everything in them,
// built at the places of the layout table. Each control keeps its editor name
// as object name (the text table and the tests find it by that name); the
// glossary in docs/DESIGN.md maps those names to the members here.
#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QString;

namespace kalmera {

class BoardView;
class PieceBox;
class UpDown;
class ReadingReport;
struct PositionRecord;

// The window's client area: the controls of the editor's layout (596 x 513)
// and, below them, room for four lines of status: what a reading changed and
// the legality line.
constexpr int kClientWidth = 596;
constexpr int kClientHeight = 573;

struct MainWindowControls {
  // Creates every control inside `client` (kClientWidth x kClientHeight), in
  // the order in which the keyboard focus runs through them.
  void build(QWidget* client);
  // The controls at their places for the client's size: as laid out at the
  // default size, the board (drawn at its size), the FEN line and the status
  // area larger in a larger window.
  void fitTo(QWidget* client);
  // The record's state into the controls, without running their handlers.
  void showRecord(const PositionRecord& record);
  void showActivePiece(int index);
  // The rook-file lists show in extended castling only; the a-side and h-side
  // labels' keys lead to them, or in normal castling to Black's boxes.
  void showExtended(bool extended);
  // The headlines without blanks and control characters at their ends, as the
  // diagram prints them.
  void trimHeadlines();
  // The side disc and the side button's caption and hint.
  void showSide(int side, bool english);
  // The hint of each red "?": why its flag is set, in the interface's language.
  void showReasons(const PositionRecord& record, bool english);
  // The legality line: "Legal position." or the first problem's sentence; its
  // hint and accessible description list every problem.
  void showLegality(const PositionRecord& record, bool english);
  // "Read with changes: ..." above the legality line, every change in its
  // hint; hidden for none or a text read as written.
  void showReading(const ReadingReport* report, bool english);
  // The lines of the status area one below the other, each as high as it needs.
  void layOutStatus();
  // The six red "?" labels: king, the four castling rights, en passant.
  std::array<QLabel*, 6> errorLabels() const;

  QFrame* menuBevel = nullptr;

  QGroupBox* setupGroup = nullptr;
  QPushButton* standardButton = nullptr;
  QPushButton* chess960Button = nullptr;
  QPushButton* emptyButton = nullptr;
  QPushButton* startOfRunButton = nullptr;

  // The castling rows, indexed like CastlingRight: White a-side, White h-side,
  // Black a-side, Black h-side.
  QGroupBox* castlingGroup = nullptr;
  QCheckBox* extendedCastlingBox = nullptr;
  std::array<QCheckBox*, 4> castlingBoxes{};
  std::array<QLabel*, 4> castlingDiscs{};
  std::array<QLabel*, 4> castlingErrors{};
  QComboBox* aSideRookList = nullptr;
  QLabel* aSideLabel = nullptr;
  QComboBox* hSideRookList = nullptr;
  QLabel* hSideLabel = nullptr;

  QGroupBox* enPassantGroup = nullptr;
  QComboBox* enPassantList = nullptr;
  QLabel* enPassantLabel = nullptr;
  QLabel* enPassantError = nullptr;

  QGroupBox* moveGroup = nullptr;
  QLabel* moveNumberLabel = nullptr;
  QLineEdit* moveNumberEdit = nullptr;
  UpDown* moveNumberUpDown = nullptr;
  QLabel* halfMoveLabel = nullptr;
  QLineEdit* halfMoveEdit = nullptr;
  UpDown* halfMoveUpDown = nullptr;
  QLabel* sideLabel = nullptr;
  QLabel* sideDisc = nullptr;
  QPushButton* sideButton = nullptr;

  QGroupBox* pieceGroup = nullptr;
  PieceBox* pieceBox = nullptr;
  std::array<QRadioButton*, 6> pieceRadios{};  // "PNBRQK"
  QLabel* kingError = nullptr;

  QGroupBox* headlineGroup = nullptr;
  QLineEdit* headline1Edit = nullptr;
  QLineEdit* headline2Edit = nullptr;
  QPushButton* previewButton = nullptr;
  QPushButton* copyHtmlButton = nullptr;

  QGroupBox* boardGroup = nullptr;
  BoardView* board = nullptr;

  QGroupBox* fenGroup = nullptr;
  QLineEdit* fenLine = nullptr;
  QPushButton* copyFenButton = nullptr;

  QWidget* statusArea = nullptr;
  QLabel* readingLine = nullptr;
  QLabel* legalityLine = nullptr;
  QLabel* analysisLine = nullptr;  // the engine's findings, below the legality line
};

// The window's client area: the controls at their places, refitted whenever
// its size changes; its default size is the smallest.
class ClientArea : public QWidget {
 public:
  ClientArea(MainWindowControls& controls, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  MainWindowControls& controls_;
};

}  // namespace kalmera
