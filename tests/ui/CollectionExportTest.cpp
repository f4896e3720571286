// File → Export collection on the scripted platform: the commands there
// only while a collection is open, the sheet's dialog and its answer key, the
// LaTeX document and HTML page of every position, the pictures named by
// number and title, and failures shown with nothing half-written.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QtTest>

#include "WindowUnderTest.h"
#include "ui/collection/CollectionExportCommands.h"
#include "ui/collection/CollectionWorkspace.h"
#include "ui/window/MainWindow.h"

using namespace kalmera;

namespace {

// A comment line, a titled mate in one, a line that is no position, a FEN
// line with Black to move and nothing else.
const QByteArray kFile =
    "# Week 1\n"
    "6k1/5ppp/8/8/8/8/8/3R2K1 w - - id \"Back rank\"; dm 1; bm Rd8#;\n"
    "not a position at all\n"
    "8/8/8/8/8/8/k7/K7 b - - 0 1\n";

}  // namespace

class CollectionExportTest : public QObject, private WindowUnderTest {
  Q_OBJECT

 private:
  QString file_;

  CollectionWorkspace& work() { return window_->collections(); }
  QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  void openFile() {
    file_ = dir_->filePath("week1.epd");
    write(file_, kFile);
    QVERIFY(work().openFile(file_));
  }
  void trigger(const char* action) { child<QAction>(action)->trigger(); }
  // The next dialog: `steps` act on it, then it closes with `result`.
  void script(std::function<void(QDialog*)> steps, int result = QDialog::Accepted) {
    platform_.dialogScript.push_back([steps, result](QDialog* d) {
      steps(d);
      return result;
    });
  }
  QString pdfText(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {pdf, "-"});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
  }

 private slots:
  void init() { openWindow(); }
  void cleanup() { closeWindow(); }

  void hasItsStartValues() {
    auto* menu = window_->findChild<QMenu*>("MnuExportCollection");
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->parent(), window_->findChild<QMenu*>("MnuTopDatei"));
    QCOMPARE(menu->title(), QString("Sammlung exportieren"));
    QCOMPARE(menu->actions().size(), 4);
    QCOMPARE(menu->actions()[0]->text(), QString("PDF-Aufgabenblatt ..."));
    QCOMPARE(menu->actions()[3]->text(), QString("Bilder ..."));
    QVERIFY(!menu->menuAction()->isEnabled());
    for (QAction* a : menu->actions()) QVERIFY(!a->isEnabled());
    openFile();
    QVERIFY(menu->menuAction()->isEnabled());
    for (QAction* a : menu->actions()) QVERIFY(a->isEnabled());
    trigger("MnuEnglish");
    QCOMPARE(menu->title(), QString("Export collection"));
    QStringList captions;
    for (QAction* a : menu->actions()) captions << a->text();
    QCOMPARE(captions, QStringList({"PDF puzzle sheet ...", "LaTeX document ...", "HTML page ...",
                                    "Pictures ..."}));
    trigger("ActCloseCollection");
    QVERIFY(!menu->menuAction()->isEnabled());
    QVERIFY(!child<QAction>("ActExportLatex")->isEnabled());
  }

  // The dialog's choices make the sheet; the answer key follows its
  // diagrams, and the choices are offered again the next time.
  void theSheetTakesTheDialogsChoicesAndEndsWithTheAnswers() {
    openFile();
    script([](QDialog* d) {
      QCOMPARE(d->objectName(), QString("TFrmSheet"));
      QCOMPARE(d->findChild<QComboBox*>("CbxPerPage")->currentText(), QString("6"));
      QVERIFY(d->findChild<QCheckBox*>("ChkSolutions")->isChecked());
      d->findChild<QComboBox*>("CbxPerPage")->setCurrentIndex(2);  // 4
      d->findChild<QLineEdit*>("EdtSheetTitle")->setText("Woche 1");
    });
    const QString pdf = dir_->filePath("woche1.pdf");
    platform_.fileAnswers.push_back(pdf);
    trigger("ActExportSheet");
    QVERIFY(platform_.messages.empty());
    QCOMPARE(platform_.lastSave.proposedName, QString("week1.pdf"));
    QCOMPARE(platform_.lastSave.startFolder, dir_->path());
    QVERIFY(platform_.lastSave.filter.contains("*.pdf"));
    QCOMPARE(bytesOf(pdf).left(4), QByteArray("%PDF"));

    script([](QDialog* d) {
      auto* dialog = static_cast<SheetDialog*>(d);
      QCOMPARE(dialog->perPage(), 4);
      QCOMPARE(dialog->title(), QString("Woche 1"));
    }, QDialog::Rejected);
    platform_.fileAnswers.push_back(dir_->filePath("never.pdf"));
    trigger("ActExportSheet");
    QCOMPARE(platform_.fileAnswers.size(), std::size_t(1));  // no file asked for
    QVERIFY(!QFile::exists(dir_->filePath("never.pdf")));

    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is not installed");
    const QString text = pdfText(pdf);
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains("Woche 1"));
    QVERIFY(pages[0].contains("Back rank"));
    QVERIFY(pages[0].contains(QString::fromUtf8("1. Weiß setzt in 1 Zug matt")));
    QVERIFY(pages[0].contains("2. Schwarz am Zug"));
    QVERIFY(pages[1].contains(QString::fromUtf8("Lösungen")));
    QVERIFY(pages[1].contains("Rd8#"));
    QVERIFY(pages[1].contains(QString::fromUtf8("–")));
  }

  void latexAndHtmlHoldEveryPosition() {
    openFile();
    trigger("MnuEnglish");
    const QString tex = dir_->filePath("week1.tex");
    platform_.fileAnswers.push_back(tex);
    trigger("ActExportLatex");
    QVERIFY(platform_.lastSave.filter.contains("*.tex"));
    const QByteArray latex = bytesOf(tex);
    QCOMPARE(latex.count("\\chessboard["), 2);
    QVERIFY(latex.contains("{\\Large\\bfseries 1. Back rank}\\par\n"
                           "{\\large\\bfseries White mates in 1}\\par"));
    QVERIFY(latex.contains("{\\Large\\bfseries 2.}\\par"));
    QVERIFY(latex.contains("\\end{document}"));

    const QString html = dir_->filePath("week1.html");
    platform_.fileAnswers.push_back(html);
    trigger("ActExportHtml");
    const QByteArray page = bytesOf(html);
    QCOMPARE(page.count("<table cellspacing=\"2\""), 2);
    QVERIFY(page.contains("<title>week1</title>"));
    QVERIFY(page.contains("<strong>1. Back rank</strong>"));
    // The images at the web address of the paths, as the HTML clipboard's.
    QVERIFY(page.contains("src=\"https://kalmera.example.org/png/wR.png\""));
    QVERIFY(platform_.messages.empty());
  }

  void aFailedExportIsShownAndWritesNothing() {
    openFile();
    QVERIFY(QDir(dir_->path()).mkdir("taken.tex"));
    const QStringList before = QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden);
    platform_.fileAnswers.push_back(dir_->filePath("taken.tex"));
    trigger("ActExportLatex");
    QCOMPARE(platform_.messages.size(), std::size_t(1));
    QVERIFY(platform_.messages.back().text.contains("taken.tex"));
    QVERIFY(QFileInfo(dir_->filePath("taken.tex")).isDir());
    platform_.fileAnswers.push_back(dir_->filePath("gone/week1.html"));
    trigger("ActExportHtml");
    QCOMPARE(platform_.messages.size(), std::size_t(2));
    QVERIFY(platform_.messages.back().text.contains("gone/week1.html"));
    QVERIFY(!QFile::exists(dir_->filePath("gone")));
    // Nothing is left beside the targets either.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden), before);
  }

  void picturesAreNamedByNumberAndTitle() {
    openFile();
    QVERIFY(QDir(dir_->path()).mkdir("pics"));
    const QString folder = dir_->filePath("pics");
    script([](QDialog* d) {
      QCOMPARE(d->objectName(), QString("TFrmPictures"));
      d->findChild<QSpinBox*>("SpnPictureSize")->setValue(200);
    });
    platform_.fileAnswers.push_back(folder);
    trigger("ActExportPictures");
    QVERIFY(platform_.messages.empty());
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"01-Back-rank.png", "02.png"}));
    QCOMPARE(QImage(folder + "/01-Back-rank.png").size(), QSize(200, 200));

    script([](QDialog* d) {
      auto* format = d->findChild<QComboBox*>("CbxPictureFormat");
      format->setCurrentIndex(1);
      QVERIFY(!d->findChild<QSpinBox*>("SpnPictureSize")->isEnabled());
    });
    platform_.fileAnswers.push_back(folder);
    trigger("ActExportPictures");
    QVERIFY(bytesOf(folder + "/02.svg").contains("<svg"));
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 4);
  }

  void picturesThereAreReplacedOnlyWhenTheUserSaysSo() {
    openFile();
    const QString folder = dir_->path();
    write(folder + "/01-Back-rank.png", "mine");
    for (const bool replace : {false, true}) {
      script([](QDialog*) {});
      platform_.fileAnswers.push_back(folder);
      platform_.yesNoAnswers.push_back(replace);
      trigger("ActExportPictures");
      QVERIFY(platform_.questions.back().text.contains("01-Back-rank.png"));
      QCOMPARE(bytesOf(folder + "/01-Back-rank.png") == "mine", !replace);
      QCOMPARE(QFile::exists(folder + "/02.png"), replace);
    }
    QCOMPARE(platform_.questions.size(), std::size_t(2));
  }

  // The second picture's name is taken by a folder: the first stays written
  // whole, and the message says how far the export came.
  void aPictureThatCannotBeWrittenStopsTheExport() {
    openFile();
    const QString folder = dir_->path();
    QVERIFY(QDir(folder).mkdir("02.png"));
    script([](QDialog*) {});
    platform_.fileAnswers.push_back(folder);
    platform_.yesNoAnswers.push_back(true);
    trigger("ActExportPictures");
    QCOMPARE(platform_.messages.size(), std::size_t(1));
    QVERIFY(platform_.messages.back().text.contains("02.png"));
    QVERIFY(platform_.messages.back().text.contains("1 von 2 Bildern"));
    QCOMPARE(QImage(folder + "/01-Back-rank.png").size(), QSize(337, 337));
  }

  void anEmptyCollectionHasNothingToExport() {
    trigger("ActNewCollection");
    QVERIFY(child<QAction>("ActExportHtml")->isEnabled());
    platform_.fileAnswers.push_back(dir_->filePath("empty.html"));
    trigger("ActExportHtml");
    QCOMPARE(platform_.messages.size(), std::size_t(1));
    QCOMPARE(platform_.messages.back().text,
             QString::fromUtf8("Die Sammlung enthält keine Stellung zum Exportieren."));
    QCOMPARE(platform_.fileAnswers.size(), std::size_t(1));
  }
};

QTEST_MAIN(CollectionExportTest)
#include "CollectionExportTest.moc"
