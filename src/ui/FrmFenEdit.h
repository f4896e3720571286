// The main window: the board, the piece box, castling, en passant, move
// counters, headlines and the FEN line. It holds the one position and reflects
// it into its controls after each model operation.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>

#include "model/Position.h"
#include "view/BoardRenderer.h"
#include "ui/Platform.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace kalmera {

class TFrmAbout;
class TFrmColor;
class TFrmPath;
class TFrmRandom;
class UpDown;

// A widget whose painting and mouse presses are the window's handlers.
class PaintBox : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QPainter&)> onPaint;
  std::function<void(QMouseEvent*)> onMouseDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

class TFrmFenEdit : public QMainWindow, private PositionObserver {
  Q_OBJECT

 public:
  explicit TFrmFenEdit(Platform& platform, QWidget* parent = nullptr);
  ~TFrmFenEdit() override;

  // The dialogs are created after the window; it must not rely on them before.
  void setRandomDialog(TFrmRandom* dialog);
  void setDialogs(TFrmAbout* about, TFrmColor* color, TFrmPath* path, TFrmRandom* random);

  Position& position() { return position_; }
  const QImage& boardBitmap() const { return BoardBitmap; }
  bool english() const;
  bool hintsOn() const;
  int getColor(int index) const { return colors_[index]; }
  void setColor(int index, int color);
  const QString& bmpPath() const { return BmpPath; }
  const QString& htmlPath() const { return HtmlPath; }
  const QString& webPath() const { return WebPath; }
  const QString& previewImagePath() const { return PreviewImagePath; }
  QString settingsPath() const;

  // Commands.
  void ActAbNormalExecute();
  void ActAbLeerExecute();
  void ActAbZufallExecute();
  void ActAbOldExecute();
  void ActFenClipExecute();
  void MnuPasteClick();
  void MnuMirrorClick();
  void MnuTurnClick();
  // The diagram as ISO 8859-1 bytes; trims the two headline lines first.
  std::string makeHtml(bool document);
  void ActVorschauExecute();
  void ActHtmlClipExecute();
  void MnuPngClick();
  void MnuBmpClick();
  void MnuCopyBmpClick();
  void MnuColorClick();
  void ActPathDialogExecute();
  void ActHilfeInfoExecute();
  void setLanguage();
  void setLanguageColor();
  void Timer1Timer();
  // Mouse editing: X and Y in paint-box (or group-box) coordinates.
  void PbxBoardMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void GrpFiguresMouseDown(int x, int y);
  const RedrawReport& lastRedraw() const { return lastRedraw_; }
  int redrawCount() const { return redrawCount_; }
  // Range check of an edit line bound to an up-down; shared with the dialogs.
  void checkCounter(UpDown* upDown);
  // Writes the settings file once; false with the message shown when it failed.
  bool FormDestroy();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction, step by step.
  void buildControls();
  void buildSetupGroups();
  void buildMoveGroups();
  void buildFiguresGroup();
  void buildGenerateGroup();
  void buildBoardGroup();
  void buildFenGroup();
  void createActions();
  void createMenus();
  void connectControls();
  void FormCreate();

  // Position observer: the model says what changed.
  void sideChanged() override;
  void activePieceChanged() override;
  void fenLineChanged() override;
  void markChanged(int square) override;
  void extendedChanged() override;
  void flagsChecked() override;

  void syncControls();
  void EdtFenStringChange();
  void PbxBoardPaint(QPainter& painter);
  void PbxFiguresPaint(QPainter& painter);
  void showError(const QString& text);
  void savePicture(bool png);
  QLineEdit* focusedHeadline() const;

  Platform& platform_;
  Position position_;
  std::array<int, 3> colors_{};
  QImage BoardBitmap;
  BoardRenderer renderer_;
  RedrawReport lastRedraw_;
  int redrawCount_ = 0;
  bool destroyed_ = false;

  QString BmpPath;
  QString HtmlPath;
  QString WebPath;
  QString PreviewImagePath;
  QString PreviewFileName;

  TFrmRandom* FrmRandom = nullptr;
  TFrmAbout* FrmAbout = nullptr;
  TFrmColor* FrmColor = nullptr;
  TFrmPath* FrmPath = nullptr;

  QFrame* BevMenue = nullptr;
  QGroupBox* GrpBoard = nullptr;
  QGroupBox* GrpFigures = nullptr;
  QGroupBox* GrpFen = nullptr;
  QGroupBox* GrpReset = nullptr;
  QGroupBox* GrpCastling = nullptr;
  QGroupBox* GrpEnPassant = nullptr;
  QGroupBox* GrpMoveCount = nullptr;
  QGroupBox* GrpGenerate = nullptr;

  PaintBox* PbxBoard = nullptr;
  PaintBox* PbxFigures = nullptr;
  std::array<QRadioButton*, 6> PieceRadios{};
  QLabel* LblErrKing = nullptr;

  QLineEdit* EdtFenString = nullptr;
  QPushButton* Button1 = nullptr;

  QPushButton* ButNew = nullptr;
  QPushButton* ButRandom = nullptr;
  QPushButton* ButEmpty = nullptr;
  QPushButton* ButOld = nullptr;

  QCheckBox* ChkKalmera = nullptr;
  QCheckBox* ChkCaLeftB = nullptr;
  QCheckBox* ChkCaRightB = nullptr;
  QCheckBox* ChkCaLeftW = nullptr;
  QCheckBox* ChkCaRightW = nullptr;
  QLabel* ImgRochBLeft = nullptr;
  QLabel* ImgRochBRight = nullptr;
  QLabel* ImgRochWLeft = nullptr;
  QLabel* ImgRochWRight = nullptr;
  QLabel* LblErrCaLeftB = nullptr;
  QLabel* LblErrCaRightB = nullptr;
  QLabel* LblErrCaLeftW = nullptr;
  QLabel* LblErrCaRightW = nullptr;
  QComboBox* CbxRLeft = nullptr;
  QComboBox* CbxRRight = nullptr;
  QLabel* LblASide = nullptr;
  QLabel* LblHSide = nullptr;

  QComboBox* CbxEnPassant = nullptr;
  QLabel* LblEnPassant = nullptr;
  QLabel* LblErrEP = nullptr;

  QLabel* LblFullCount = nullptr;
  QLineEdit* EdtFullCount = nullptr;
  UpDown* UpdFullCount = nullptr;
  QLabel* LblHalfCount = nullptr;
  QLineEdit* EdtHalfCount = nullptr;
  UpDown* UpdHalfCount = nullptr;
  QLabel* LblColor = nullptr;
  QLabel* ImgColor = nullptr;
  QPushButton* ButColChange = nullptr;

  QLineEdit* EdtKopf1 = nullptr;
  QLineEdit* EdtKopf2 = nullptr;
  QPushButton* ButVorschau = nullptr;
  QPushButton* ButHtmlClip = nullptr;

  std::array<QLabel*, 6> errorLabels_{};

  QAction* ActAbNormal = nullptr;
  QAction* ActAbZufall = nullptr;
  QAction* ActAbLeer = nullptr;
  QAction* ActAbOld = nullptr;
  QAction* ActFenClip = nullptr;
  QAction* ActHtmlClip = nullptr;
  QAction* ActVorschau = nullptr;
  QAction* ActPathDialog = nullptr;
  QAction* ActHilfeInfo = nullptr;
  QAction* MnuPng = nullptr;
  QAction* MnuBmp = nullptr;
  QAction* MnuEnde = nullptr;
  QAction* MnuPaste = nullptr;
  QAction* MnuCopyBmp = nullptr;
  QAction* MnuMirror = nullptr;
  QAction* MnuTurn = nullptr;
  QAction* MnuColor = nullptr;
  QAction* MnuDeutsch = nullptr;
  QAction* MnuEnglish = nullptr;
  QAction* MnuHints = nullptr;
  QActionGroup* languageGroup_ = nullptr;

  QTimer* Timer1 = nullptr;
};

}  // namespace kalmera
