// Pictures of diagrams in the editor, offscreen: several boards on one
// picture or in a PDF file (a collection, or the first board and how many
// were found), a board that looks turned (the window asks), a large picture
// pasted, and a slow reading off the window's thread with its busy
// indicator and Cancel.
#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "FakePlatform.h"
#include "model/Position.h"
#include "ui/collection/CollectionWorkspace.h"
#include "ui/window/MainWindow.h"
#include "ui/window/PictureCommands.h"
#include "view/BoardGeometry.h"
#include "view/BoardRenderer.h"
#include "view/Sheet.h"

using namespace kalmera;

namespace {

const std::array<int, 3> kColors{0xEFEFDE, 0xCEEFFF, 0xA5BDE7};

// Six positions of games (from tests/peers/game-positions.txt), either side to move.
const char* const kSix[] = {
    "rnbqkb1r/pppppppp/5n2/8/8/4P3/PPPP1PPP/RNBQKBNR w KQkq - 1 2",
    "rnbqk1nr/pppp1ppp/4p3/8/1b3P2/4P2P/PPPP2P1/RNBQKBNR b KQkq - 0 4",
    "rnb1k1nr/1p1qpp2/7b/p1p3pp/P1PpPP2/5NP1/1PQP3P/RNB1KB1R b KQkq - 0 11",
    "b7/6B1/2P1kP2/7r/p1P1p1pN/1p6/4K1R1/2b4R w - - 0 40",
    "rk1B4/5B2/b4pr1/pP1Q4/P7/2bp1K2/5B2/1N6 w - - 0 50",
    "rnb1k1nr/p1pp1ppp/2qb4/1N2p3/3P1P2/8/PPPQP1PP/R1B1KBNR w KQkq - 3 8",
};

// The FEN the editor shows for a position read from a picture.
QString asRead(const char* fen) {
  const QStringList fields = QString(fen).split(' ');
  return fields[0] + " " + fields[1] + " - - 0 1";
}

QImage board(const char* fen, int size = 337) {
  Position p;
  p.readFen(fen);
  QImage picture;
  BoardRenderer().redraw(picture, 337, 337, p.record(), kColors, size / 337.0);
  picture.setDevicePixelRatio(1);
  return picture;
}

// The board's squares alone (no coordinates, no side-to-move disc) on
// white, with the men of `fen` turned about when `turned`.
QImage squaresOnly(const char* fen, bool turned) {
  Position p;
  p.readFen(fen);
  if (turned) {
    Position q;
    q.readFen("8/8/8/8/8/8/8/8 w - - 0 1");
    for (int s = 0; s < 64; ++s) q.setSquare(63 - s, p.getSquare(s));
    p = q;
  }
  QImage drawn;
  BoardRenderer().redraw(drawn, 337, 337, p.record(), kColors, 1);
  const BoardGeometry g = boardGeometry(337, 337);
  QImage page(8 * g.SW + 80, 8 * g.SH + 80, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter(&page).drawImage(40, 40, drawn.copy(g.X0 - 3, g.Y0 - 3, 8 * g.SW + 6, 8 * g.SH + 6));
  return page;
}

// The six boards in two rows of three on white, as a page shows them.
QImage sixBoards() {
  QImage page(3 * 360, 2 * 380, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter p(&page);
  for (int i = 0; i < 6; ++i) p.drawImage(10 + (i % 3) * 360, 20 + (i / 3) * 380, board(kSix[i]));
  return page;
}

}  // namespace

class PictureTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  FakePlatform platform_;
  std::unique_ptr<MainWindow> window_;

  QLineEdit* fenLine() { return window_->findChild<QLineEdit*>("EdtFenString"); }
  void paste() { window_->findChild<QAction*>("MnuPaste")->trigger(); }
  void open(const QString& file) {
    platform_.fileAnswers.push_back(file);
    window_->findChild<QAction*>("MnuOpenPicture")->trigger();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    useUserFoldersIn(dir_->path());
    platform_ = FakePlatform();
    platform_.program = dir_->filePath("kalmera");
    window_ = std::make_unique<MainWindow>(platform_);
    window_->findChild<QAction*>("MnuEnglish")->trigger();
  }
  void cleanup() { window_.reset(); }

  // Where no collection can be opened (the window always can), the first
  // board is set up and the message says how many there were.
  void severalBoardsWithoutACollectionSetUpTheFirst() {
    window_->pictures().setCollectionOpener({});
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = sixBoards();
    paste();
    QTRY_COMPARE(platform_.messages.size(), std::size_t(1));
    QCOMPARE(platform_.messages.back().text,
             QString("6 boards were found in the picture; the first one is set up."));
    QCOMPARE(fenLine()->text(), asRead(kSix[0]));
  }

  void severalBoardsOpenAsACollection() {
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = sixBoards();
    paste();
    QTRY_VERIFY(window_->collections().isOpen());
    const Collection& read = window_->collections().collection();
    QCOMPARE(read.size(), std::size_t(6));
    QVERIFY(platform_.messages.empty());
    QCOMPARE(fenLine()->text(), asRead(kSix[0]));
    QVERIFY(read.isModified());  // a new collection, not saved yet
  }

  // A puzzle sheet as the editor prints it, opened as a picture.
  void aPdfFileOpensEveryBoard() {
    std::vector<SheetDiagram> diagrams;
    for (const char* fen : kSix) {
      Position p;
      p.readFen(fen);
      diagrams.push_back({p.record(), QString(), int(diagrams.size()) + 1, QString(), QString()});
    }
    SheetOptions options;
    options.colors = kColors;
    const QString file = dir_->filePath("sheet.pdf");
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(sheetPdf(diagrams, options));
    pdf.close();
    open(file);
    QTRY_VERIFY(window_->collections().isOpen());
    QVERIFY2(platform_.messages.empty(), platform_.messages.empty() ? "" : qPrintable(platform_.messages[0].text));
    const Collection& read = window_->collections().collection();
    QCOMPARE(read.size(), std::size_t(6));
    QVERIFY(QString::fromStdString(read.bytes()).contains("id \"page 1, diagram 6\";"));
  }

  // A board without coordinates whose men stand as in a game seen from
  // Black's side: the window asks, and sets it up as the user answers;
  // kept as read, every square is marked for a look. One seen upright is
  // not asked about.
  void aBoardThatLooksTurnedIsAskedAbout_data() {
    QTest::addColumn<bool>("turned");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("placement");
    QTest::addColumn<int>("marked");
    const QString game = QString(kSix[0]).section(' ', 0, 0);
    QString turned = game;
    std::reverse(turned.begin(), turned.end());
    QTest::newRow("turned, set up as seen from Black's side") << true << true << game << 0;
    QTest::newRow("turned, kept as read") << true << false << turned << 64;
    QTest::newRow("upright") << false << false << game << 0;
  }
  void aBoardThatLooksTurnedIsAskedAbout() {
    QFETCH(bool, turned);
    QFETCH(bool, answer);
    QFETCH(QString, placement);
    QFETCH(int, marked);
    platform_.yesNoAnswers.push_back(answer);
    // The busy indicator of the reading stays away while the user answers.
    bool busyShown = false;
    platform_.whileShown = [&] {
      QEventLoop modal;  // as a message box's: what was to be deleted later stays
      QTimer::singleShot(700, &modal, &QEventLoop::quit);
      modal.exec();
      const auto* busy = window_->findChild<QProgressDialog*>("PictureBusy");
      busyShown = busy != nullptr && busy->isVisible();
    };
    const auto forget = qScopeGuard([this] { platform_.whileShown = nullptr; });
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = squaresOnly(kSix[0], turned);
    paste();
    QTRY_COMPARE(fenLine()->text().section(' ', 0, 0), placement);
    QCOMPARE(fenLine()->text().section(' ', 1), QString("w - - 0 1"));
    QCOMPARE(platform_.questions.size(), std::size_t(turned ? 1 : 0));
    if (turned) {
      QCOMPARE(platform_.questions[0].text,
               QString("No coordinates were found on the board, so it was read with White at the bottom; but its "
                       "men stand as if it were shown from Black's side. Set it up as seen from Black's side?"));
    }
    QVERIFY(!busyShown);
    int marks = 0;
    for (int s = 0; s < 64; ++s) marks += window_->position().getMark(s) != 0;
    QCOMPARE(marks, marked);
  }

  // Larger than Qt decodes by default, smaller than the recogniser's limit.
  void aLargePictureIsPasted() {
    QImage large(6000, 6000, QImage::Format_RGB32);
    large.fill(QColor(236, 236, 236));
    QPainter(&large).drawImage(2000, 3000, board(kSix[3], 900));
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = large;
    paste();
    QTRY_COMPARE_WITH_TIMEOUT(fenLine()->text(), asRead(kSix[3]), 30000);
    QVERIFY(platform_.messages.empty());
  }

  // A reading that takes a while: the busy indicator with Cancel shows, the
  // window stays free, and Cancel leaves everything as it was.
  void aSlowReadingCanBeCancelled() {
    QImage large(7000, 7000, QImage::Format_RGB32);
    large.fill(Qt::white);
    {
      QPainter p(&large);
      for (int i = 0; i < 6; ++i) p.drawImage(100 + i * 1100, 100 + i * 1100, board(kSix[i], 900));
    }
    const QString file = dir_->filePath("large.png");
    QVERIFY(large.save(file));
    const QString before = fenLine()->text();
    open(file);
    QVERIFY(window_->pictures().reading());
    QProgressDialog* busy = nullptr;
    QTRY_VERIFY((busy = window_->findChild<QProgressDialog*>("PictureBusy")) != nullptr && busy->isVisible());
    QCOMPARE(busy->labelText(), QString("Reading the picture ..."));
    auto* cancel = busy->findChild<QPushButton*>();
    QVERIFY(cancel != nullptr);
    QCOMPARE(cancel->text(), QString("Cancel"));
    cancel->click();
    QVERIFY(!window_->pictures().reading());
    // Another picture may be read at once; the cancelled one never arrives.
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = board(kSix[4]);
    paste();
    QTRY_COMPARE(fenLine()->text(), asRead(kSix[4]));
    QTest::qWait(3000);
    QCOMPARE(fenLine()->text(), asRead(kSix[4]));
    QVERIFY(platform_.messages.empty());
    QVERIFY(before != fenLine()->text());
  }
};

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"
