// Puzzle sheets as poppler reads them: the pages, the numbers and captions
// in order, and each board on its page showing its pieces on the right
// squares (the square centres sampled against the picture of the position).
// Exit 77 (skipped) where poppler's pdftotext and pdftoppm are missing.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "export/SheetLayout.h"
#include "model/Position.h"
#include "setup/Chess960.h"
#include "view/BoardRenderer.h"
#include "view/Sheet.h"

using namespace kalmera;

namespace {

const std::array<int, 3> kColors{0xEFEFDE, 0xCEEFFF, 0xA5BDE7};

SheetDiagram diagram(const std::string& fen, int number, const QString& title = {}) {
  Position p;
  p.readFen(fen);
  SheetDiagram d;
  d.record = p.record();
  d.title = title;
  d.number = number;
  return d;
}

QString run(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Two colours alike, as anti-aliasing and two renderers leave them.
bool alike(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) < 48 && std::abs(qGreen(a) - qGreen(b)) < 48 &&
         std::abs(qBlue(a) - qBlue(b)) < 48;
}

}  // namespace

class SheetTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  QString write(const std::vector<SheetDiagram>& diagrams, const SheetOptions& o) {
    const QString file = dir_.filePath("sheet.pdf");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(file));
    out.write(sheetPdf(diagrams, o));
    return file;
  }

 private slots:
  void pagesNumbersAndCaptionsInOrder() {
    std::vector<SheetDiagram> diagrams;
    for (int n = 1; n <= 13; ++n) {
      diagrams.push_back(diagram(frcFen(n * 37 % 960 + 1), n, n == 5 ? "Bratko-Kopec 5" : ""));
      if (n % 3 == 0) diagrams.back().record.Side = 1;
    }
    SheetOptions o;
    o.colors = kColors;
    o.title = QString::fromUtf8("Übungen");
    const QString file = write(diagrams, o);
    QVERIFY(run("pdfinfo", {file}).contains(QRegularExpression("Pages:\\s+3\\n")));
    QVERIFY(run("pdfinfo", {file}).contains("(A4)"));
    const QString text = run("pdftotext", {"-layout", file, "-"});
    // Each caption once, in order; a page holds six.
    qsizetype at = 0;
    for (int n = 1; n <= 13; ++n) {
      const QString caption = QString("%1. %2 to play").arg(n).arg(n % 3 == 0 ? "Black" : "White");
      const qsizetype found = text.indexOf(caption, at);
      QVERIFY2(found >= 0, qPrintable(caption));
      at = found;
    }
    QCOMPARE(text.count(QString::fromUtf8("Übungen")), 3);
    QCOMPARE(text.count("Bratko-Kopec 5"), 1);
    const QStringList pages = text.split('\f');
    QVERIFY(pages[0].contains("6. Black to play") && !pages[0].contains("7. White"));
    QVERIFY(pages[2].contains("13. White to play"));
    o.german = true;
    o.letter = true;
    o.perPage = 12;
    const QString german = write(diagrams, o);
    QVERIFY(run("pdfinfo", {german}).contains(QRegularExpression("Pages:\\s+2\\n")));
    QVERIFY(run("pdfinfo", {german}).contains("612 x 792 pts (letter)"));
    const QString deutsch = run("pdftotext", {german, "-"});
    QVERIFY(deutsch.contains(QString::fromUtf8("1. Weiß am Zug")));
    QVERIFY(deutsch.contains("3. Schwarz am Zug"));
  }

  // Every square's centre on every board of the page against the picture of
  // the same position; Black to play seen from Black's side when asked.
  void eachBoardShowsItsPieces_data() {
    QTest::addColumn<int>("perPage");
    QTest::addColumn<bool>("letter");
    for (const int n : {1, 2, 4, 6, 9, 12}) {
      QTest::newRow(qPrintable(QString("%1 on A4").arg(n))) << n << false;
    }
    QTest::newRow("6 on Letter") << 6 << true;
  }
  void eachBoardShowsItsPieces() {
    QFETCH(int, perPage);
    QFETCH(bool, letter);
    const char* fens[] = {
        "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1",
        "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP3PPP/R1BQKB1R w KQ - 0 8",
        "8/8/4k3/8/2K5/8/1Q6/8 w - - 0 1",
        "bqnbnrkr/pppppppp/8/8/8/8/PPPPPPPP/BQNBNRKR w KQkq - 0 1",
        "4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 0 2",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    };
    std::vector<SheetDiagram> diagrams;
    for (int i = 0; i < perPage; ++i) diagrams.push_back(diagram(fens[i % 6], i + 1));
    SheetOptions o;
    o.perPage = perPage;
    o.letter = letter;
    o.flipBlack = true;
    o.colors = kColors;
    const QString file = write(diagrams, o);
    constexpr double kPixelsPerPoint = 2;
    run("pdftoppm", {"-r", "144", "-f", "1", "-l", "1", "-png", file, dir_.filePath("page")});
    QImage page(dir_.filePath("page-1.png"));
    if (page.isNull()) page.load(dir_.filePath("page-01.png"));
    QVERIFY(!page.isNull());
    const SheetLayout layout = sheetLayout(perPage, letter);
    for (int i = 0; i < perPage; ++i) {
      const SheetRect& board = layout.boards[i];
      const double scale = board.width / 337 * kPixelsPerPoint;
      const bool flipped = diagrams[i].record.Side == 1;
      QImage picture;
      BoardRenderer().redraw(picture, 337, 337, diagrams[i].record, kColors, 1, flipped);
      // The mean colour of a small area round each centre (thin lines of the
      // pieces cross the centres), in the picture and on the page.
      const auto mean = [](const QImage& image, double x0, double y0, double size) {
        long r = 0, g = 0, b = 0, n = 0;
        for (int y = int(y0 - size); y <= int(y0 + size); ++y) {
          for (int x = int(x0 - size); x <= int(x0 + size); ++x) {
            const QRgb c = image.pixel(x, y);
            r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
          }
        }
        return qRgb(int(r / n), int(g / n), int(b / n));
      };
      int differing = 0;
      for (int s = 0; s < 64; ++s) {
        const int u = 32 + (s % 8) * 34 + 17, v = 32 + (s / 8) * 34 + 17;
        const QRgb want = mean(picture, u, v, 4);
        const QRgb got = mean(page, board.x * kPixelsPerPoint + u * scale,
                              board.y * kPixelsPerPoint + v * scale, 4 * scale);
        if (!alike(want, got)) ++differing;
      }
      QVERIFY2(differing == 0, qPrintable(QString("board %1: %2 squares differ").arg(i + 1).arg(differing)));
    }
  }

  void theEditorsOneDiagram() {
    Position p;
    p.readFen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    const QString file = dir_.filePath("one.pdf");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(diagramPdf(p.record(), kColors, QString::fromUtf8("Spanisch – Größe"), "Runde 1",
                         QString::fromStdString(p.fenLine()), false));
    out.close();
    QVERIFY(run("pdfinfo", {file}).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text = run("pdftotext", {file, "-"});
    QVERIFY(text.contains(QString::fromUtf8("Spanisch – Größe")));
    QVERIFY(text.contains("Runde 1"));
    QVERIFY(text.contains("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"));
  }
};

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  for (const char* tool : {"pdftotext", "pdftoppm", "pdfinfo"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
      std::printf("SKIPPED: %s (poppler-utils) is not installed\n", tool);
      return 77;
    }
  }
  SheetTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "SheetTest.moc"
