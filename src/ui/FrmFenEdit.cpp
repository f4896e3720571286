#include "ui/FrmFenEdit.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "export/Html.h"
#include "export/PictureFiles.h"
#include "export/Version.h"
#include "setup/Chess960.h"
#include "setup/RandomSource.h"
#include "setup/Settings.h"
#include "setup/StartTexts.h"
#include "ui/ApplyTexts.h"
#include "ui/FrmAbout.h"
#include "ui/FrmColor.h"
#include "ui/FrmPath.h"
#include "ui/FrmRandom.h"
#include "ui/Style.h"
#include "ui/UpDown.h"
#include "view/Artwork.h"
#include "view/BoardGeometry.h"
#include "view/Colors.h"

namespace kalmera {

namespace {

QString latin1(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string bytesOf(const QString& text) {
  const QByteArray b = text.toLatin1();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Headline text for the diagram: ISO 8859-1 bytes, and a numeric character
// reference for what ISO 8859-1 cannot hold.
std::string diagramText(const QString& text) {
  std::string out;
  for (const char32_t c : text.toUcs4()) {
    if (c <= 0xFF) out.push_back(static_cast<char>(c));
    else out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
  }
  return out;
}

// A single-line edit line takes only the first line of a pasted text.
QString firstLine(const QString& text) {
  const qsizetype end = text.indexOf(QRegularExpression("[\r\n]"));
  return end < 0 ? text : text.left(end);
}

QGroupBox* makeGroup(QWidget* parent, const char* name, int x, int y, int w, int h) {
  return make<QGroupBox>(parent, name, x, y, w, h);
}

QLabel* makeErrorLabel(QWidget* parent, const char* name, int x, int y) {
  auto* label = make<QLabel>(parent, name, x, y, 10, 16);
  styleErrorLabel(label);
  label->hide();
  return label;
}

QLabel* makeImage(QWidget* parent, const char* name, int x, int y, const QImage& image) {
  auto* label = make<QLabel>(parent, name, x, y, 16, 16);
  label->setPixmap(QPixmap::fromImage(image));
  return label;
}

QComboBox* makeList(QWidget* parent, const char* name, int x, int y, const QStringList& items) {
  auto* box = make<QComboBox>(parent, name, x, y, 40, 21);
  box->addItems(items);
  return box;
}

}  // namespace

void PaintBox::paintEvent(QPaintEvent*) {
  if (!onPaint) return;
  QPainter painter(this);
  onPaint(painter);
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) onMouseDown(event);
}

TFrmFenEdit::TFrmFenEdit(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  setObjectName("TFrmFenEdit");
  setWindowIcon(QIcon(QPixmap::fromImage(programIcon(64))));
  buildControls();
  createActions();
  createMenus();
  connectControls();
  FormCreate();
}

TFrmFenEdit::~TFrmFenEdit() {
  position_.setObserver(nullptr);
  qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------- construction

void TFrmFenEdit::buildControls() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  auto* client = new QWidget(this);
  client->setObjectName("Client");
  client->setFixedSize(596, 513);
  setCentralWidget(client);

  BevMenue = make<QFrame>(client, "BevMenue", 0, 0, 595, 2);
  BevMenue->setFrameShape(QFrame::HLine);
  BevMenue->setFrameShadow(QFrame::Sunken);

  // Created in the order in which the keyboard focus runs through them.
  buildSetupGroups();
  buildMoveGroups();
  buildFiguresGroup();
  buildGenerateGroup();
  buildBoardGroup();
  buildFenGroup();

  errorLabels_ = {LblErrKing, LblErrCaLeftW, LblErrCaRightW, LblErrCaLeftB, LblErrCaRightB,
                  LblErrEP};
  for (QGroupBox* group : {GrpReset, GrpCastling, GrpEnPassant, GrpMoveCount, GrpFigures,
                           GrpGenerate, GrpBoard, GrpFen}) {
    styleGroupBox(group);
  }

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(250);
  Timer1->start();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFrmFenEdit::buildFiguresGroup() {
  GrpFigures = makeGroup(centralWidget(), "GrpFigures", 7, 371, 351, 71);
  PbxFigures = make<PaintBox>(GrpFigures, "PbxFigures", 7, 13, 337, 38);
  static constexpr const char* kRadioNames[] = {"RadPawn", "RadKnight", "RadBishop",
                                                "RadRook", "RadQueen",  "RadKing"};
  static constexpr int kRadioX[] = {23, 79, 135, 191, 247, 304};
  for (int i = 0; i < 6; ++i) {
    PieceRadios[i] = make<QRadioButton>(GrpFigures, kRadioNames[i], kRadioX[i], 51, 29, 17);
  }
  GrpFigures->installEventFilter(this);
  LblErrKing = makeErrorLabel(GrpFigures, "LblErrKing", 336, 52);
}

void TFrmFenEdit::buildBoardGroup() {
  GrpBoard = makeGroup(centralWidget(), "GrpBoard", 7, 7, 351, 358);
  PbxBoard = make<PaintBox>(GrpBoard, "PbxBoard", 7, 14, 337, 337);
}

void TFrmFenEdit::buildSetupGroups() {
  QWidget* client = centralWidget();
  GrpReset = makeGroup(client, "GrpReset", 371, 7, 218, 50);
  ButNew = make<QPushButton>(GrpReset, "ButNew", 14, 18, 44, 22);
  ButRandom = make<QPushButton>(GrpReset, "ButRandom", 63, 18, 44, 22);
  ButEmpty = make<QPushButton>(GrpReset, "ButEmpty", 112, 18, 44, 22);
  ButOld = make<QPushButton>(GrpReset, "ButOld", 161, 18, 44, 22);
  // Four captions on buttons 44 pixels wide: set a little closer.
  for (QPushButton* b : {ButNew, ButRandom, ButEmpty, ButOld}) {
    QFont narrow = b->font();
    narrow.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
    narrow.setBold(false);  // set, so that the group's bold caption font stays outside
    b->setFont(narrow);
  }

  GrpCastling = makeGroup(client, "GrpCastling", 371, 63, 218, 106);
  ChkKalmera = make<QCheckBox>(GrpCastling, "ChkKalmera", 10, 16, 200, 18);
  ChkKalmera->setChecked(true);
  // Black's row above White's, each: disc, a-side box, error, disc, h-side box, error.
  const auto row = [&](int y, int side, QLabel*& imgLeft, QCheckBox*& left, QLabel*& errLeft,
                       const char* names[6], QLabel*& imgRight, QCheckBox*& right,
                       QLabel*& errRight) {
    imgLeft = makeImage(GrpCastling, names[0], 10, y + 1, colorDisc(side));
    left = make<QCheckBox>(GrpCastling, names[1], 30, y, 60, 18);
    left->setText("O-O-O");
    errLeft = makeErrorLabel(GrpCastling, names[2], 92, y + 1);
    imgRight = makeImage(GrpCastling, names[3], 112, y + 1, colorDisc(side));
    right = make<QCheckBox>(GrpCastling, names[4], 132, y, 60, 18);
    right->setText("O-O");
    errRight = makeErrorLabel(GrpCastling, names[5], 194, y + 1);
    left->setChecked(true);
    right->setChecked(true);
  };
  const char* black[6] = {"ImgRochBLeft",  "ChkCaLeftB",  "LblErrCaLeftB",
                          "ImgRochBRight", "ChkCaRightB", "LblErrCaRightB"};
  const char* white[6] = {"ImgRochWLeft",  "ChkCaLeftW",  "LblErrCaLeftW",
                          "ImgRochWRight", "ChkCaRightW", "LblErrCaRightW"};
  row(37, 1, ImgRochBLeft, ChkCaLeftB, LblErrCaLeftB, black, ImgRochBRight, ChkCaRightB,
      LblErrCaRightB);
  row(58, 0, ImgRochWLeft, ChkCaLeftW, LblErrCaLeftW, white, ImgRochWRight, ChkCaRightW,
      LblErrCaRightW);
  CbxRLeft = makeList(GrpCastling, "CbxRLeft", 10, 79, {"a", "b", "c", "d", "e", "f"});
  LblASide = make<QLabel>(GrpCastling, "LblASide", 54, 81, 56, 17);
  CbxRRight = makeList(GrpCastling, "CbxRRight", 112, 79, {"c", "d", "e", "f", "g", "h"});
  CbxRRight->setCurrentIndex(5);
  LblHSide = make<QLabel>(GrpCastling, "LblHSide", 156, 81, 58, 17);

  GrpEnPassant = makeGroup(client, "GrpEnPassant", 371, 175, 218, 50);
  CbxEnPassant = makeList(GrpEnPassant, "CbxEnPassant", 10, 19,
                          {"-", "a", "b", "c", "d", "e", "f", "g", "h"});
  LblEnPassant = make<QLabel>(GrpEnPassant, "LblEnPassant", 56, 21, 140, 17);
  LblEnPassant->setBuddy(CbxEnPassant);
  LblErrEP = makeErrorLabel(GrpEnPassant, "LblErrEP", 198, 21);
}

void TFrmFenEdit::buildMoveGroups() {
  QWidget* client = centralWidget();
  GrpMoveCount = makeGroup(client, "GrpMoveCount", 371, 231, 218, 106);
  const auto counter = [&](int y, const char* label, const char* edit, const char* upDown,
                           int min, int max, int start, int length, QLabel*& lbl, QLineEdit*& edt,
                           UpDown*& upd) {
    lbl = make<QLabel>(GrpMoveCount, label, 8, y + 2, 158, 17);
    edt = make<QLineEdit>(GrpMoveCount, edit, 166, y, 34, 21);
    edt->setMaxLength(length);
    upd = make<UpDown>(GrpMoveCount, upDown, 200, y, 15, 21);
    upd->setRange(min, max);
    upd->setBuddy(edt);
    upd->setPosition(start, true);
    lbl->setBuddy(edt);
  };
  counter(18, "LblFullCount", "EdtFullCount", "UpdFullCount", 1, 999, 1, 3, LblFullCount,
          EdtFullCount, UpdFullCount);
  counter(45, "LblHalfCount", "EdtHalfCount", "UpdHalfCount", 0, 99, 0, 2, LblHalfCount,
          EdtHalfCount, UpdHalfCount);
  LblColor = make<QLabel>(GrpMoveCount, "LblColor", 10, 77, 130, 17);
  ImgColor = makeImage(GrpMoveCount, "ImgColor", 143, 78, colorDisc(0));
  ButColChange = make<QPushButton>(GrpMoveCount, "ButColChange", 162, 74, 49, 22);
}

void TFrmFenEdit::buildGenerateGroup() {
  GrpGenerate = makeGroup(centralWidget(), "GrpGenerate", 371, 343, 218, 99);
  EdtKopf1 = make<QLineEdit>(GrpGenerate, "EdtKopf1", 14, 20, 190, 21);
  EdtKopf2 = make<QLineEdit>(GrpGenerate, "EdtKopf2", 14, 45, 190, 21);
  ButVorschau = make<QPushButton>(GrpGenerate, "ButVorschau", 14, 70, 90, 22);
  ButHtmlClip = make<QPushButton>(GrpGenerate, "ButHtmlClip", 114, 70, 90, 22);
}

void TFrmFenEdit::buildFenGroup() {
  GrpFen = makeGroup(centralWidget(), "GrpFen", 7, 448, 582, 57);
  EdtFenString = make<QLineEdit>(GrpFen, "EdtFenString", 14, 22, 454, 21);
  EdtFenString->setReadOnly(true);
  QFont bold = EdtFenString->font();
  bold.setBold(true);
  EdtFenString->setFont(bold);
  QPalette palette = EdtFenString->palette();
  palette.setColor(QPalette::Base, QColor(233, 233, 226));
  EdtFenString->setPalette(palette);
  Button1 = make<QPushButton>(GrpFen, "Button1", 478, 21, 90, 22);
}

void TFrmFenEdit::createActions() {
  const auto action = [this](const char* name, QKeySequence shortcut = {}) {
    auto* a = new QAction(this);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    return a;
  };
  ActAbNormal = action("ActAbNormal");
  ActAbZufall = action("ActAbZufall");
  ActAbLeer = action("ActAbLeer");
  ActAbOld = action("ActAbOld");
  ActFenClip = action("ActFenClip", QKeySequence("Ctrl+C"));
  ActHtmlClip = action("ActHtmlClip", QKeySequence("Ctrl+H"));
  ActVorschau = action("ActVorschau", QKeySequence("Ctrl+W"));
  ActPathDialog = action("MnuPaths");
  ActHilfeInfo = action("MnuInfo");
  MnuPng = action("MnuPng");
  MnuBmp = action("MnuBmp");
  MnuEnde = action("MnuEnde", QKeySequence("Ctrl+Q"));
  MnuPaste = action("MnuPaste", QKeySequence("Ctrl+V"));
  MnuCopyBmp = action("MnuCopyBmp", QKeySequence("Ctrl+B"));
  MnuCopyBmp->setText("&Bitmap");
  MnuMirror = action("MnuMirror");
  MnuTurn = action("MnuTurn");
  MnuColor = action("MnuColor");
  MnuDeutsch = action("MnuDeutsch");
  MnuEnglish = action("MnuEnglish");
  MnuHints = action("MnuHints");
  MnuHints->setCheckable(true);
  MnuHints->setChecked(true);
  languageGroup_ = new QActionGroup(this);
  for (QAction* a : {MnuDeutsch, MnuEnglish}) {
    a->setCheckable(true);
    languageGroup_->addAction(a);
  }
  MnuDeutsch->setChecked(true);

}

void TFrmFenEdit::createMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MnuBarMain");
  const auto menu = [](QWidget* parent, const char* name) {
    auto* m = new QMenu(parent);
    m->setObjectName(name);
    return m;
  };
  QMenu* file = menu(bar, "MnuTopDatei");
  QMenu* neu = menu(file, "MnuNeu");
  neu->addActions({ActAbNormal, ActAbZufall, ActAbLeer, ActAbOld});
  file->addMenu(neu);
  file->addSeparator();
  QMenu* saveAs = menu(file, "MnuSaveAs");
  saveAs->addActions({MnuPng, MnuBmp});
  file->addMenu(saveAs);
  file->addSeparator();
  file->addAction(MnuEnde);

  QMenu* edit = menu(bar, "MnuTopBearb");
  edit->addActions({MnuPaste, ActFenClip});
  QMenu* copyAs = menu(edit, "MnuCopyAs");
  copyAs->addActions({MnuCopyBmp, ActHtmlClip});
  edit->addMenu(copyAs);
  edit->addSeparator();
  edit->addActions({MnuMirror, MnuTurn});
  edit->addSeparator();
  edit->addAction(ActVorschau);

  QMenu* options = menu(bar, "MnuTopOpts");
  options->addActions({MnuColor, ActPathDialog});
  options->addSeparator();
  options->addActions({MnuDeutsch, MnuEnglish});

  QMenu* help = menu(bar, "MnuTopHilfe");
  help->addAction(ActHilfeInfo);
  help->addSeparator();
  help->addAction(MnuHints);

  for (QMenu* m : {file, edit, options, help}) bar->addMenu(m);
}

void TFrmFenEdit::connectControls() {
  // Buttons bound to an action show its caption and run it.
  const auto bind = [this](QPushButton* button, QAction* action) {
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] {
      button->setText(action->text());
      button->setEnabled(action->isEnabled());
    });
  };
  bind(ButNew, ActAbNormal);
  bind(ButRandom, ActAbZufall);
  bind(ButEmpty, ActAbLeer);
  bind(ButOld, ActAbOld);
  bind(ButVorschau, ActVorschau);
  bind(ButHtmlClip, ActHtmlClip);
  bind(Button1, ActFenClip);
  connect(ActFenClip, &QAction::changed, Button1,
          [this] { Button1->setToolTip(ActFenClip->toolTip()); });

  connect(ActAbNormal, &QAction::triggered, this, &TFrmFenEdit::ActAbNormalExecute);
  connect(ActAbZufall, &QAction::triggered, this, &TFrmFenEdit::ActAbZufallExecute);
  connect(ActAbLeer, &QAction::triggered, this, &TFrmFenEdit::ActAbLeerExecute);
  connect(ActAbOld, &QAction::triggered, this, &TFrmFenEdit::ActAbOldExecute);
  connect(ActFenClip, &QAction::triggered, this, &TFrmFenEdit::ActFenClipExecute);
  connect(MnuPaste, &QAction::triggered, this, &TFrmFenEdit::MnuPasteClick);
  connect(MnuMirror, &QAction::triggered, this, &TFrmFenEdit::MnuMirrorClick);
  connect(MnuTurn, &QAction::triggered, this, &TFrmFenEdit::MnuTurnClick);
  connect(ActVorschau, &QAction::triggered, this, &TFrmFenEdit::ActVorschauExecute);
  connect(ActHtmlClip, &QAction::triggered, this, &TFrmFenEdit::ActHtmlClipExecute);
  connect(MnuPng, &QAction::triggered, this, &TFrmFenEdit::MnuPngClick);
  connect(MnuBmp, &QAction::triggered, this, &TFrmFenEdit::MnuBmpClick);
  connect(MnuCopyBmp, &QAction::triggered, this, &TFrmFenEdit::MnuCopyBmpClick);
  connect(MnuColor, &QAction::triggered, this, &TFrmFenEdit::MnuColorClick);
  connect(ActPathDialog, &QAction::triggered, this, &TFrmFenEdit::ActPathDialogExecute);
  connect(ActHilfeInfo, &QAction::triggered, this, &TFrmFenEdit::ActHilfeInfoExecute);
  connect(MnuEnde, &QAction::triggered, this, &QWidget::close);
  connect(MnuDeutsch, &QAction::triggered, this, [this] { setLanguage(); });
  connect(MnuEnglish, &QAction::triggered, this, [this] { setLanguage(); });

  // Castling boxes run their handler also when a program step ticks them.
  const auto castling = [this](QCheckBox* box, CastlingRight right) {
    connect(box, &QCheckBox::toggled, this,
            [this, right](bool on) { position_.setCastlingRight(right, on); });
  };
  castling(ChkCaLeftW, CastlingRight::WhiteLeft);
  castling(ChkCaRightW, CastlingRight::WhiteRight);
  castling(ChkCaLeftB, CastlingRight::BlackLeft);
  castling(ChkCaRightB, CastlingRight::BlackRight);
  connect(ChkKalmera, &QCheckBox::toggled, this, [this](bool on) { position_.setExtended(on); });
  // The lists react to the user's choice only.
  connect(CbxRLeft, &QComboBox::activated, this, [this](int index) {
    position_.setRookFile(RookSide::Left, static_cast<char>('a' + index));
  });
  connect(CbxRRight, &QComboBox::activated, this, [this](int index) {
    position_.setRookFile(RookSide::Right, static_cast<char>('c' + index));
  });
  connect(CbxEnPassant, &QComboBox::activated, this,
          [this](int index) { position_.setEnPassant(index); });

  connect(EdtFullCount, &QLineEdit::textChanged, this, [this] {
    checkCounter(UpdFullCount);
    position_.setFullCount(UpdFullCount->position());
  });
  connect(EdtHalfCount, &QLineEdit::textChanged, this, [this] {
    checkCounter(UpdHalfCount);
    position_.setHalfCount(UpdHalfCount->position());
  });
  connect(UpdFullCount, &UpDown::pressed, EdtFullCount, [this] { EdtFullCount->setFocus(); });
  connect(UpdHalfCount, &UpDown::pressed, EdtHalfCount, [this] { EdtHalfCount->setFocus(); });
  connect(ButColChange, &QPushButton::clicked, this,
          [this] { position_.setSide(position_.getSide() ^ 1); });

  for (int i = 0; i < 6; ++i) {
    connect(PieceRadios[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) position_.setActiveIndex(i);
      PbxFigures->update();
    });
  }

  PbxBoard->onPaint = [this](QPainter& p) { PbxBoardPaint(p); };
  PbxBoard->onMouseDown = [this](QMouseEvent* e) {
    PbxBoardMouseDown(e->button(), e->modifiers(), int(e->position().x()), int(e->position().y()));
  };
  PbxFigures->onPaint = [this](QPainter& p) { PbxFiguresPaint(p); };
  PbxFigures->onMouseDown = [this](QMouseEvent* e) {
    GrpFiguresMouseDown(int(e->position().x()) + PbxFigures->x(),
                        int(e->position().y()) + PbxFigures->y());
  };
  connect(Timer1, &QTimer::timeout, this, &TFrmFenEdit::Timer1Timer);
  // The hints switch and the window's copy and paste inside edit lines.
  qApp->installEventFilter(this);
}

// ---------------------------------------------------------------- life cycle

void TFrmFenEdit::FormCreate() {
  BoardBitmap = QImage(PbxBoard->size(), QImage::Format_RGB32);
  BoardBitmap.fill(Qt::white);
  position_.setObserver(this);
  // FormCreate's own order: the start-up side refresh, no kings, the queen.
  position_.setSide(2);
  position_.setWhiteKing(-1);
  position_.setBlackKing(-1);
  position_.pickPiece('Q');
  ActAbOldExecute();
  const QTime now = platform_.currentUtc().time();
  sharedRandom().seedFromTime(now.hour(), now.minute(), now.second(), now.msec());
}

QString TFrmFenEdit::settingsPath() const {
  return QString::fromStdString(settingsPathFor(platform_.programPath().toStdString()));
}

void TFrmFenEdit::ActAbOldExecute() {
  const std::string programFolder = folderOf(platform_.programPath().toStdString());
  const Settings s = readSettings(IniFile::load(settingsPath().toStdString()), programFolder);
  setColor(0, s.Board);
  setColor(1, s.Bright);
  setColor(2, s.Dark);
  BmpPath = latin1(s.Bmp);
  HtmlPath = latin1(s.Html);
  WebPath = latin1(s.Web);
  EdtKopf1->setText(latin1(s.Head1));
  EdtKopf2->setText(latin1(s.Head2));
  MnuHints->setChecked(s.Hints);
  (s.Language == 1 ? MnuEnglish : MnuDeutsch)->setChecked(true);
  BmpPath = latin1(withTrailing(bytesOf(BmpPath), kPathSeparator));
  HtmlPath = latin1(withTrailing(bytesOf(HtmlPath), kPathSeparator));
  WebPath = latin1(withTrailing(bytesOf(WebPath), '/'));
  PreviewImagePath = "file://" + latin1(programFolder) + "PNG" + QChar(kPathSeparator);
  setLanguage();
  position_.readFen(s.Fen);
  const auto marks = marksFromString(s.Marked);
  for (int square = 63; square >= 0; --square) position_.setMark(square, marks[square]);
}

bool TFrmFenEdit::FormDestroy() {
  if (destroyed_) return true;
  destroyed_ = true;
  if (!PreviewFileName.isEmpty()) QFile::remove(PreviewFileName);
  Settings s;
  s.Board = colors_[0];
  s.Bright = colors_[1];
  s.Dark = colors_[2];
  s.Bmp = bytesOf(BmpPath);
  s.Html = bytesOf(HtmlPath);
  s.Web = bytesOf(WebPath);
  // The file holds ISO 8859-1: other characters keep their meaning as the
  // numeric references that the diagram writes for them.
  s.Head1 = diagramText(EdtKopf1->text());
  s.Head2 = diagramText(EdtKopf2->text());
  s.Fen = position_.fenLine();
  s.Hints = MnuHints->isChecked();
  s.Language = english() ? 1 : 0;
  s.Marked = marksToString(position_.record().Marks);
  const std::string path = settingsPath().toStdString();
  IniFile ini = IniFile::load(path);
  writeSettings(ini, s);
  if (const auto error = ini.save(path)) {
    showError(latin1(*error));
    return false;
  }
  return true;
}

void TFrmFenEdit::closeEvent(QCloseEvent* event) {
  FormDestroy();
  event->accept();
}

void TFrmFenEdit::showError(const QString& text) {
  platform_.showMessage(this, windowTitle(), text, Platform::Icon::Error);
}

void TFrmFenEdit::setDialogs(TFrmAbout* about, TFrmColor* color, TFrmPath* path,
                             TFrmRandom* random) {
  FrmAbout = about;
  FrmColor = color;
  FrmPath = path;
  setRandomDialog(random);
}

void TFrmFenEdit::setRandomDialog(TFrmRandom* dialog) {
  FrmRandom = dialog;
  connect(FrmRandom, &TFrmRandom::numberEdited, this,
          [this] { checkCounter(FrmRandom->UpdPosNr); });
}

// ---------------------------------------------------------------- start positions

void TFrmFenEdit::ActAbNormalExecute() {
  ChkKalmera->setChecked(false);
  EdtKopf1->setText(QString::fromLatin1(kHeadStandard.data(), kHeadStandard.size()));
  EdtKopf2->clear();
  position_.readFen(kStandardFen);
}

void TFrmFenEdit::ActAbLeerExecute() {
  ChkKalmera->setChecked(false);
  EdtKopf1->clear();
  EdtKopf2->clear();
  position_.readFen(kEmptyFen);
}

void TFrmFenEdit::ActAbZufallExecute() {
  if (FrmRandom == nullptr) return;
  FrmRandom->setLanguage(english());
  FrmRandom->setNumber(static_cast<int>(sharedRandom().draw(960)) + 1);
  if (platform_.runDialog(FrmRandom) != QDialog::Accepted) return;
  const int n = FrmRandom->number();
  EdtKopf1->setText(QString::fromLatin1(kHeadFrc.data(), kHeadFrc.size()));
  EdtKopf2->setText(QString::fromLatin1(kHeadFrcNumberPrefix.data(), kHeadFrcNumberPrefix.size()) +
                    QString::number(n));
  const std::string fen = frcFen(n);
  ChkKalmera->setChecked(true);
  position_.readFen(fen);
}

// ---------------------------------------------------------------- clipboard

QLineEdit* TFrmFenEdit::focusedHeadline() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus == EdtKopf1) return EdtKopf1;
  if (focus == EdtKopf2) return EdtKopf2;
  return nullptr;
}

void TFrmFenEdit::ActFenClipExecute() {
  if (QLineEdit* headline = focusedHeadline()) {
    if (headline->hasSelectedText()) platform_.setClipboardText(headline->selectedText());
    return;
  }
  EdtFenString->selectAll();
  platform_.setClipboardText(EdtFenString->text());
}

void TFrmFenEdit::MnuPasteClick() {
  const std::optional<QString> text = platform_.clipboardText();
  if (QLineEdit* headline = focusedHeadline()) {
    if (text) headline->insert(firstLine(*text));
    return;
  }
  // Without text on the clipboard the line keeps its text and reloads it.
  const QString line = text ? firstLine(*text) : EdtFenString->text();
  position_.readFen(bytesOf(line));
}

void TFrmFenEdit::MnuMirrorClick() { position_.mirror(); }

// ---------------------------------------------------------------- export

std::string TFrmFenEdit::makeHtml(bool document) {
  for (QLineEdit* headline : {EdtKopf1, EdtKopf2}) {
    const QString trimmed = trimControls(headline->text());
    if (trimmed != headline->text()) headline->setText(trimmed);
  }
  HtmlInput input;
  input.record = position_.record();
  input.colors = colors_;
  input.head1 = diagramText(EdtKopf1->text());
  input.head2 = diagramText(EdtKopf2->text());
  input.fen = position_.fenLine();
  input.imageBase = bytesOf(document ? PreviewImagePath : WebPath);
  input.homePage = std::string(kHomePage);
  input.version = getVersionText(true);
  input.document = document;
  return kalmera::makeHtml(input);
}

void TFrmFenEdit::ActVorschauExecute() {
  const std::string html = makeHtml(true);
  if (!PreviewFileName.isEmpty()) QFile::remove(PreviewFileName);
  PreviewFileName = HtmlPath + "~Kalmera.html";
  QFile file(PreviewFileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(html.data(), static_cast<qint64>(html.size())) != qint64(html.size()) ||
      !file.flush()) {
    const QString reason = file.errorString();
    file.close();
    showError(PreviewFileName + ": " + reason);
    return;
  }
  file.close();
  platform_.openDocument(PreviewFileName);
}

void TFrmFenEdit::ActHtmlClipExecute() {
  const std::string html = makeHtml(false);
  if (!platform_.setClipboardText(latin1(html))) {
    platform_.showMessage(this, windowTitle(), "Error!", Platform::Icon::Error);
  }
}

void TFrmFenEdit::savePicture(bool png) {
  SaveRequest request;
  request.defaultExtension = png ? "png" : "bmp";
  request.filter = png ? "Portable Network Graphic file (*.png)" : "Bitmaps (*.bmp)";
  request.startFolder = BmpPath;
  request.proposedName = makePictureName(sharedRandom());
  const std::optional<QString> chosen = platform_.saveFileName(this, request);
  if (!chosen) return;
  const std::optional<QString> error = png ? savePng(BoardBitmap, *chosen)
                                           : saveBmp(BoardBitmap, *chosen);
  if (error) {
    showError(*error);
    return;
  }
  BmpPath = latin1(folderOf(chosen->toStdString()));
}

void TFrmFenEdit::MnuPngClick() { savePicture(true); }

void TFrmFenEdit::MnuBmpClick() { savePicture(false); }

void TFrmFenEdit::MnuCopyBmpClick() {
  if (!platform_.setClipboardImage(BoardBitmap)) {
    platform_.showMessage(this, windowTitle(), "Error!", Platform::Icon::Error);
  }
}

void TFrmFenEdit::MnuColorClick() {
  if (FrmColor == nullptr) return;
  FrmColor->setColors(*this);
  FrmColor->setLanguage(english());
  if (platform_.runDialog(FrmColor) == QDialog::Accepted) FrmColor->takeColors(*this);
}

void TFrmFenEdit::ActPathDialogExecute() {
  if (FrmPath == nullptr) return;
  FrmPath->setPaths({BmpPath, HtmlPath, WebPath});
  FrmPath->setLanguage(english());
  if (platform_.runDialog(FrmPath) != QDialog::Accepted) return;
  const Paths paths = FrmPath->takePaths();
  BmpPath = paths.bmp;
  HtmlPath = paths.html;
  WebPath = paths.web;
}

void TFrmFenEdit::ActHilfeInfoExecute() {
  if (FrmAbout == nullptr) return;
  FrmAbout->setLanguage(english());
  platform_.runDialog(FrmAbout);
}

void TFrmFenEdit::MnuTurnClick() { position_.turn(); }

bool TFrmFenEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !MnuHints->isChecked()) return true;
  if (watched == GrpFigures && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    GrpFiguresMouseDown(int(mouse->position().x()), int(mouse->position().y()));
    return true;
  }
  if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) != nullptr &&
      watched->parent() != nullptr && isAncestorOf(static_cast<QWidget*>(watched))) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)) {
      event->ignore();
      return true;  // not taken by the edit line: the window's shortcut runs
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- language

bool TFrmFenEdit::english() const { return !MnuDeutsch->isChecked(); }

bool TFrmFenEdit::hintsOn() const { return MnuHints->isChecked(); }

void TFrmFenEdit::setLanguage() {
  applyTexts(this, kMainTexts, english());
  setLanguageColor();
}

void TFrmFenEdit::setLanguageColor() {
  const bool white = position_.getSide() == 0;
  const auto& t = kSideTexts;
  ButColChange->setText(uiText(english() ? (white ? t.whiteEnglish : t.blackEnglish)
                                         : (white ? t.whiteGerman : t.blackGerman)));
  ButColChange->setToolTip(uiText(english() ? t.hintEnglish : t.hintGerman));
}

// ---------------------------------------------------------------- counters

void TFrmFenEdit::checkCounter(UpDown* upDown) {
  QLineEdit* edit = upDown->buddy();
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  if (ok) {
    upDown->setPosition(value);
    return;
  }
  platform_.showMessage(
      this, uiText(kRangeTitle),
      uiText(kRangeText).arg(upDown->minimum()).arg(upDown->maximum()), Platform::Icon::Error);
  const QSignalBlocker quiet(edit);
  edit->setText(QString::number(upDown->position()));
  edit->selectAll();
}

// ---------------------------------------------------------------- position observer

void TFrmFenEdit::sideChanged() {
  ImgColor->setPixmap(QPixmap::fromImage(colorDisc(position_.getSide())));
  setLanguageColor();
  PbxFigures->update();
}

void TFrmFenEdit::activePieceChanged() {
  const int index = position_.activeIndex();
  if (index >= 0) {
    const QSignalBlocker quiet(PieceRadios[index]);
    PieceRadios[index]->setChecked(true);
  }
  PbxFigures->update();
}

void TFrmFenEdit::fenLineChanged() {
  EdtFenString->setText(latin1(position_.fenLine()));
  EdtFenStringChange();
}

void TFrmFenEdit::markChanged(int) { EdtFenStringChange(); }

void TFrmFenEdit::extendedChanged() {
  const bool extended = position_.record().Extended;
  CbxRLeft->setVisible(extended);
  CbxRRight->setVisible(extended);
  LblASide->setBuddy(extended ? static_cast<QWidget*>(CbxRLeft) : ChkCaLeftB);
  LblHSide->setBuddy(extended ? static_cast<QWidget*>(CbxRRight) : ChkCaRightB);
  EdtFenStringChange();
}

void TFrmFenEdit::flagsChecked() {
  syncControls();
  Timer1Timer();
}

// The record's state into the controls, without running their handlers.
void TFrmFenEdit::syncControls() {
  const PositionRecord& r = position_.record();
  const auto check = [](QCheckBox* box, bool on) {
    const QSignalBlocker quiet(box);
    box->setChecked(on);
  };
  check(ChkCaLeftW, r.CaLeftW);
  check(ChkCaRightW, r.CaRightW);
  check(ChkCaLeftB, r.CaLeftB);
  check(ChkCaRightB, r.CaRightB);
  check(ChkKalmera, r.Extended);
  const auto select = [](QComboBox* box, int index) {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(index);
  };
  select(CbxRLeft, r.RookLeft - 'a');
  select(CbxRRight, r.RookRight - 'c');
  select(CbxEnPassant, r.EnPassant);
  const auto count = [](QLineEdit* edit, UpDown* upDown, int value) {
    const QSignalBlocker quiet(edit);
    bool ok = false;
    if (edit->text().trimmed().toInt(&ok) != value || !ok) edit->setText(QString::number(value));
    upDown->setPosition(value);
  };
  count(EdtFullCount, UpdFullCount, r.FullCount);
  count(EdtHalfCount, UpdHalfCount, r.HalfCount);
  LblErrKing->setVisible(r.ErrKing);
  LblErrCaLeftW->setVisible(r.ErrCaLeftW);
  LblErrCaRightW->setVisible(r.ErrCaRightW);
  LblErrCaLeftB->setVisible(r.ErrCaLeftB);
  LblErrCaRightB->setVisible(r.ErrCaRightB);
  LblErrEP->setVisible(r.ErrEP);
}

// ---------------------------------------------------------------- board picture

void TFrmFenEdit::EdtFenStringChange() {
  if (!position_.record().RedrawEnabled) return;
  Timer1Timer();
  lastRedraw_ = renderer_.redraw(BoardBitmap, PbxBoard->width(), PbxBoard->height(),
                                 position_.record(), colors_);
  ++redrawCount_;
  PbxBoard->update();
}

void TFrmFenEdit::PbxBoardPaint(QPainter& painter) { painter.drawImage(0, 0, BoardBitmap); }

void TFrmFenEdit::PbxFiguresPaint(QPainter& painter) {
  const int W = PbxFigures->width(), H = PbxFigures->height();
  const int base = (W - 192) / 12, y = (H - 32) / 2;
  const int side = position_.getSide();
  const auto& images = figureImages();
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 6; ++i) {
    const int x = base + (W * i + 3) / 6;
    if (PieceRadios[i]->isChecked()) {
      painter.setPen(toQColor(colors_[1]));
      painter.setBrush(toQColor(colors_[1]));
      painter.drawEllipse(QRect(x - y, 0, 32 + 2 * y, H));
    }
    painter.drawImage(x, y, images[6 * side + i]);
  }
}

void TFrmFenEdit::GrpFiguresMouseDown(int x, int) {
  const int i = std::clamp((x - PbxFigures->x()) * 6 / PbxFigures->width(), 0, 5);
  if (PieceRadios[i]->isChecked()) position_.setSide(position_.getSide() ^ 1);
  PieceRadios[i]->setChecked(true);
  PieceRadios[i]->setFocus();
}

void TFrmFenEdit::PbxBoardMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                                    int y) {
  const int square = boardGeometry(PbxBoard->width(), PbxBoard->height()).squareAt(x, y);
  if (square < 0) return;
  if (button != Qt::LeftButton) {
    // Take: the piece goes into the hand, its colour to move.
    const char piece = position_.getSquare(square);
    if (piece != 0) {
      position_.pickPiece(piece);
      position_.setSquare(square, 0);
    }
  } else if (modifiers & Qt::ControlModifier) {
    position_.setMark(square, position_.getMark(square) != 0 ? 0 : 'x');
  } else {
    const char active = position_.activePiece();
    if (active != '-') position_.setSquare(square, position_.getSquare(square) == active ? 0 : active);
  }
  position_.rewriteFenLine();
}

void TFrmFenEdit::setColor(int index, int color) {
  if (index < 0 || index > 2 || colors_[index] == color) return;
  colors_[index] = color;
  EdtFenStringChange();
  PbxFigures->update();
}

// One blink step: the timer runs exactly while an error mark shows.
void TFrmFenEdit::Timer1Timer() {
  bool any = false;
  for (QLabel* label : errorLabels_) any = any || !label->isHidden();
  if (any != Timer1->isActive()) any ? Timer1->start() : Timer1->stop();
  if (!any) return;
  for (QLabel* label : errorLabels_) {
    QPalette palette = label->palette();
    const bool red = palette.color(QPalette::WindowText) == QColor(255, 0, 0);
    palette.setColor(QPalette::WindowText, red ? QColor(255, 255, 255) : QColor(255, 0, 0));
    label->setPalette(palette);
  }
}

}  // namespace kalmera
