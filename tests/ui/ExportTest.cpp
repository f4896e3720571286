// Export commands and the colour, paths and About dialogs, offscreen.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <QMimeData>
#include <QDropEvent>
#include <QAction>
#include <QtTest>
#include <memory>

#include "FakePlatform.h"
#include "ReadPng.h"
#include "export/Html.h"
#include "export/Version.h"
#include "setup/RandomSource.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/ColorDialog.h"
#include "ui/window/MainWindow.h"
#include "ui/window/PictureCommands.h"
#include "view/BoardRenderer.h"
#include "ui/dialogs/PathsDialog.h"
#include "ui/dialogs/Chess960Dialog.h"

using namespace kalmera;

class ExportTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  FakePlatform platform_;
  std::unique_ptr<MainWindow> window_;
  AboutDialog* about_ = nullptr;
  ColorDialog* color_ = nullptr;
  PathsDialog* path_ = nullptr;

  template <typename T>
  T* child(QObject* root, const char* name) {
    T* found = root->findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Runs the next modal dialog: `steps` act on it, then it closes with `result`.
  void script(std::function<void(QDialog*)> steps, int result) {
    platform_.dialogScript.push_back([steps, result](QDialog* d) {
      steps(d);
      return result;
    });
  }

 private slots:
  // A fresh window of a program at `program`, with its dialogs.
  void start(const QString& program) {
    window_.reset();
    platform_.program = program;
    window_ = std::make_unique<MainWindow>(platform_);
    about_ = new AboutDialog(platform_, window_.get());
    color_ = new ColorDialog(platform_, window_.get());
    path_ = new PathsDialog(platform_, window_.get());
    window_->setDialogs({about_, color_, path_, new Chess960Dialog(platform_, window_.get())});
  }
  void setPaths(const Paths& paths) {
    script([this, paths](QDialog*) { path_->setPaths(paths); }, QDialog::Accepted);
    window_->editPaths();
  }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    useUserFoldersIn(dir_->path());
    platform_ = FakePlatform();
    start(dir_->filePath("kalmera"));
  }
  void cleanup() { window_.reset(); }

  void pngFileHoldsTheBoardPicture() {
    sharedRandom().seed(0);
    const QString file = dir_->filePath("pics/board.png");
    QDir().mkpath(dir_->filePath("pics"));
    platform_.fileAnswers.push_back(file);
    window_->savePng();
    QCOMPARE(platform_.lastSave.proposedName, QString("KM_00000"));
    QCOMPARE(platform_.lastSave.defaultExtension, QString("png"));
    QCOMPARE(platform_.lastSave.startFolder, dir_->path() + "/");
    const auto pixels = readPng(file.toStdString());
    QVERIFY(pixels.has_value());
    const QImage& board = window_->boardPicture();
    QCOMPARE(pixels->width, board.width());
    QCOMPARE(pixels->height, board.height());
    for (int y = 0; y < board.height(); ++y) {
      for (int x = 0; x < board.width(); ++x) {
        const std::uint8_t* p = pixels->bytes.data() + (y * board.width() + x) * 3;
        QCOMPARE(qRgb(p[0], p[1], p[2]), board.pixel(x, y));
      }
    }
    QCOMPARE(window_->paths().bmp, dir_->filePath("pics") + "/");
  }

  void bmpFileReadsBackAsTheBoardPicture() {
    const QString file = dir_->filePath("board.bmp");
    platform_.fileAnswers.push_back(file);
    window_->saveBmp();
    QCOMPARE(platform_.lastSave.defaultExtension, QString("bmp"));
    const QByteArray bytes = read(file);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(int(bytes[28]), 24);  // bits per pixel in the header
    QImage back(file);
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32),
             window_->boardPicture().convertToFormat(QImage::Format_RGB32));
  }

  void proposedNamesAreFiveUpperCaseHexDigits() {
    sharedRandom().seed(12345);
    for (int i = 0; i < 20; ++i) {
      platform_.fileAnswers.push_back(std::nullopt);  // cancelled
      window_->saveBmp();
      QVERIFY(QRegularExpression("^KM_[0-9A-F]{5}$").match(platform_.lastSave.proposedName).hasMatch());
    }
    QCOMPARE(window_->paths().bmp, dir_->path() + "/");  // cancelling changes nothing
  }

  void svgFileOfTheBoard() {
    const QString file = dir_->filePath("pics/board.svg");
    QDir().mkpath(dir_->filePath("pics"));
    platform_.fileAnswers.push_back(file);
    window_->saveSvg();
    QCOMPARE(platform_.lastSave.defaultExtension, QString("svg"));
    QVERIFY(QRegularExpression("^KM_[0-9A-F]{5}$").match(platform_.lastSave.proposedName).hasMatch());
    const QByteArray svg = read(file);
    QVERIFY(svg.contains("viewBox=\"0 0 337 337\""));
    QVERIFY(svg.contains("<path"));  // the pieces as paths, not pictures
    QVERIFY(!svg.contains("<image"));
    QCOMPARE(window_->paths().bmp, dir_->filePath("pics") + "/");
  }

  // The diagram as one PDF page, named and filed as the pictures are; and
  // the diagram for LaTeX on the clipboard, as the window shows the board.
  void pdfFileAndLatexClipboard() {
    window_->findChild<QLineEdit*>("EdtKopf1")->setText(QString::fromUtf8("  Größe & Co "));
    const QString file = dir_->filePath("pics/board.pdf");
    QDir().mkpath(dir_->filePath("pics"));
    platform_.fileAnswers.push_back(file);
    window_->savePdf();
    QCOMPARE(platform_.lastSave.defaultExtension, QString("pdf"));
    QCOMPARE(platform_.lastSave.filter, QString("Portable Document Format file (*.pdf)"));
    QVERIFY(QRegularExpression("^KM_[0-9A-F]{5}$").match(platform_.lastSave.proposedName).hasMatch());
    QVERIFY(read(file).startsWith("%PDF"));
    QCOMPARE(window_->paths().bmp, dir_->filePath("pics") + "/");
    window_->copyLatex();
    QCOMPARE(*platform_.clipboard,
             QString::fromUtf8("\\begin{center}\n{\\Large\\bfseries Größe \\& Co}\\par\n\\medskip\n"
                               "\\chessboard[setfen=rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1,"
                               "showmover=true]\n\\end{center}\n"));
    window_->position().setMark(36, 'x');
    window_->setFlipped(true);
    window_->copyLatex();
    QVERIFY(platform_.clipboard->contains(
        ",showmover=true,pgfstyle=border,color=green,markfields={e4},inverse]"));
    // The SVG flipped too: another file than the one of old.
    platform_.fileAnswers.push_back(dir_->filePath("pics/flipped.svg"));
    window_->saveSvg();
    window_->setFlipped(false);
    platform_.fileAnswers.push_back(dir_->filePath("pics/normal.svg"));
    window_->saveSvg();
    QVERIFY(read(dir_->filePath("pics/flipped.svg")) != read(dir_->filePath("pics/normal.svg")));
  }

  // The position on a picture: pasted, opened or dropped; one step each; a
  // picture without a board changes nothing and says so.
  void aPositionFromAPicture() {
    Position shown;
    shown.readFen("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 3 3");
    QImage picture;
    BoardRenderer().redraw(picture, 337, 337, shown.record(), {0xEFEFDE, 0xCEEFFF, 0xA5BDE7});
    // Black to move, as the picture's disc shows.
    const QString read = "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR b - - 0 1";
    auto* fen = window_->findChild<QLineEdit*>("EdtFenString");
    const QString before = fen->text();
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = picture;
    window_->findChild<QAction*>("MnuPaste")->trigger();
    // Read off the window's thread: the position comes a moment later.
    QTRY_COMPARE(fen->text(), read);
    window_->findChild<QAction*>("MnuUndo")->trigger();
    QCOMPARE(fen->text(), before);
    // With text on the clipboard the text counts, as always.
    platform_.clipboard = "8/8/8/8/8/8/8/4K2k w - - 0 1";
    window_->findChild<QAction*>("MnuPaste")->trigger();
    QCOMPARE(fen->text(), QString("8/8/8/8/8/8/8/4K2k w - - 0 1"));
    // No board: the position stays, one message.
    platform_.clipboard.reset();
    platform_.clipboardPictureHeld = QImage(500, 400, QImage::Format_RGB32);
    platform_.clipboardPictureHeld->fill(Qt::white);
    window_->findChild<QAction*>("MnuPaste")->trigger();
    QTRY_COMPARE(platform_.messages.size(), std::size_t(1));
    QCOMPARE(fen->text(), QString("8/8/8/8/8/8/8/4K2k w - - 0 1"));
    QCOMPARE(platform_.messages.back().text, QString("Im Bild wurde kein Schachbrett gefunden."));
    // A picture file: opened, or dropped on the window.
    const QString file = dir_->filePath("diagram.png");
    QVERIFY(picture.save(file));
    platform_.fileAnswers.push_back(file);
    window_->findChild<QAction*>("MnuOpenPicture")->trigger();
    QCOMPARE(platform_.lastOpenFilter, QString("Bilder und PDF-Dateien (*.png *.jpg *.jpeg *.bmp *.pdf)"));
    QTRY_COMPARE(fen->text(), read);
    platform_.clipboard = "8/8/8/8/8/8/8/4K2k w - - 0 1";
    window_->findChild<QAction*>("MnuPaste")->trigger();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(file)});
    // As a drag arrives: entered (and taken, being a picture file), then dropped.
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    // The drop ends first (its program does not wait); the picture is read after it.
    QCOMPARE(fen->text(), QString("8/8/8/8/8/8/8/4K2k w - - 0 1"));
    QTRY_COMPARE(fen->text(), read);
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(dir_->filePath("notes.txt"))});
    QDragEnterEvent enterText(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    enterText.setAccepted(false);
    QApplication::sendEvent(window_.get(), &enterText);
    QVERIFY(!enterText.isAccepted());  // a text file is not taken
    // A file that is no picture: said, nothing changes.
    QFile junk(dir_->filePath("junk.png"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("no picture at all");
    junk.close();
    platform_.fileAnswers.push_back(junk.fileName());
    const std::size_t said = platform_.messages.size();
    window_->findChild<QAction*>("MnuOpenPicture")->trigger();
    QTRY_COMPARE(platform_.messages.size(), said + 1);
    QCOMPARE(platform_.messages.back().text,
             QString("Das Bild kann nicht gelesen werden: not a PNG, JPEG or BMP picture."));
    QCOMPARE(fen->text(), read);
    // The squares read with little confidence are marked for a look.
    PictureReading reading;
    reading.found = true;
    reading.fen = read.toStdString();
    reading.doubtful[36] = true;
    window_->pictures().setUp(reading);
    QVERIFY(window_->position().getMark(36) != 0);
    QVERIFY(window_->position().getMark(35) == 0);
  }

  void failedSaveIsShownAndChangesNothing() {
    platform_.fileAnswers.push_back(dir_->filePath("gone/board.png"));
    window_->savePng();
    QCOMPARE(platform_.messages.size(), size_t(1));
    QVERIFY(platform_.messages[0].text.contains("gone/board.png"));
    QCOMPARE(window_->paths().bmp, dir_->path() + "/");
    platform_.fileAnswers.push_back(dir_->filePath("gone/board.bmp"));
    window_->saveBmp();
    QCOMPARE(platform_.messages.size(), size_t(2));
    QVERIFY(!QFile::exists(dir_->filePath("gone")));
  }

  void bitmapClipboard() {
    window_->copyBitmap();
    QCOMPARE(platform_.clipboardImage.size(), QSize(337, 337));
    QCOMPARE(platform_.clipboardImage, window_->boardPicture());
    platform_.clipboardWorks = false;
    window_->copyBitmap();
    QCOMPARE(platform_.messages.back().text, QString("Error!"));
  }

  void htmlClipboardTrimsHeadlinesAndEscapes() {
    auto* head = child<QLineEdit>(window_.get(), "EdtKopf1");
    head->setText(QString("  Gr") + QChar(0xF6) + QChar(0xDF) + "e " + QChar(0x265E) + "  ");
    window_->copyHtml();
    QCOMPARE(head->text(), QString("Gr") + QChar(0xF6) + QChar(0xDF) + "e " + QChar(0x265E));
    const QString html = *platform_.clipboard;
    QVERIFY(html.startsWith("<font size=\"+2\"><strong>Gr&ouml;&szlig;e &#9822;</strong></font>"));
    QVERIFY(html.contains("<img src=\"" + window_->paths().web + "wK.png\""));
    QVERIFY(html.endsWith("</font>"));
    platform_.clipboardWorks = false;
    window_->copyHtml();
    QCOMPARE(platform_.messages.back().text, QString("Error!"));
  }

  void previewFileLifeCycle() {
    const QString first = dir_->filePath("~Kalmera.html");
    window_->showWebPreview();
    QCOMPARE(platform_.opened, QStringList{first});
    const QByteArray page = read(first);
    QVERIFY(page.startsWith("<!DOCTYPE HTML PUBLIC"));
    QVERIFY(page.endsWith("</body></html>"));
    QVERIFY(page.contains("<img src=\"file://" + dir_->path().toLatin1() + "/PNG/wK.png\""));
    // Again: deleted and written anew, opened again.
    QFile::remove(first);
    window_->showWebPreview();
    QVERIFY(QFile::exists(first));
    QCOMPARE(platform_.opened.size(), 2);
    // Another HTML folder: nothing stays behind in the old one.
    QDir().mkpath(dir_->filePath("html"));
    platform_.fileAnswers.push_back(dir_->filePath("html"));
    script([this](QDialog*) { path_->chooseFolder(path_->htmlFolderEdit()); }, QDialog::Accepted);
    window_->editPaths();
    QCOMPARE(window_->paths().html, dir_->filePath("html") + "/");
    window_->showWebPreview();
    QVERIFY(!QFile::exists(first));
    const QString second = dir_->filePath("html/~Kalmera.html");
    QVERIFY(QFile::exists(second));
    window_->close();  // the end of the program takes the preview along
    QVERIFY(!QFile::exists(second));
  }

  void previewIntoAMissingFolderIsShownAndOpensNothing() {
    script([this](QDialog*) { path_->htmlFolderEdit()->setText(dir_->filePath("gone") + "/"); },
           QDialog::Accepted);
    window_->editPaths();
    window_->showWebPreview();
    QCOMPARE(platform_.messages.size(), size_t(1));
    QVERIFY(platform_.messages[0].text.contains("~Kalmera.html"));
    QVERIFY(platform_.opened.isEmpty());
  }

  // The preview only ever replaces or deletes a file it wrote itself.
  void previewLeavesFilesItDidNotWrite() {
    const QString page = dir_->filePath("~Kalmera.html");
    QFile mine(page);
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("my page");
    mine.close();
    QFile::setPermissions(page, QFile::ReadOwner | QFile::ReadGroup);
    window_->showWebPreview();  // a write-protected file of that name
    QCOMPARE(platform_.messages.size(), size_t(1));
    QCOMPARE(platform_.messages[0].text, page + ": Read-only file");
    QVERIFY(platform_.opened.isEmpty());
    window_->showWebPreview();
    QVERIFY(window_->close());
    QCOMPARE(read(page), QByteArray("my page"));

    start(dir_->filePath("kalmera"));
    QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QFile::remove(page));
    QFile thesis(dir_->filePath("thesis.txt"));
    QVERIFY(thesis.open(QIODevice::WriteOnly));
    thesis.write("chapter one");
    thesis.close();
    QVERIFY(QFile::link("thesis.txt", page));  // a planted link
    window_->showWebPreview();
    QVERIFY(platform_.messages.back().text.startsWith(page + ": A link"));
    QVERIFY(window_->close());
    QCOMPARE(read(dir_->filePath("thesis.txt")), QByteArray("chapter one"));
    QVERIFY(QFileInfo(page).isSymLink());

    // Our own preview, then someone else's file under its name: that one stays.
    start(dir_->filePath("kalmera"));
    QVERIFY(QFile::remove(page));
    window_->showWebPreview();
    QVERIFY(QFile::exists(page));
    QVERIFY(QFile::remove(page));
    QVERIFY(QFile::copy(dir_->filePath("thesis.txt"), page));
    QVERIFY(window_->close());
    QCOMPARE(read(page), QByteArray("chapter one"));
  }

  void relativeHtmlFolderIsBesideTheProgram() {
    QVERIFY(QDir(dir_->path()).mkdir("pages"));
    setPaths({window_->paths().bmp, "pages/", window_->paths().web});
    window_->showWebPreview();
    QVERIFY(platform_.messages.empty());
    QCOMPARE(platform_.opened, QStringList{dir_->filePath("pages/~Kalmera.html")});
  }

  // Program folders as users name them: the preview lands there and addresses
  // its images correctly, the settings file keeps the paths, ISO 8859-1
  // characters as single bytes and the others as references.
  void programFolderNames_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("umlaut") << QString("Übung") << QByteArray("\xDC" "bung");
    QTest::newRow("hash and blank") << QString("a#b c") << QByteArray("a#b c");
    QTest::newRow("cyrillic") << QString("Путь") << QByteArray("&#1055;&#1091;&#1090;&#1100;");
  }

  void programFolderNames() {
    QFETCH(QString, folder);
    QFETCH(QByteArray, stored);
    const QString home = dir_->filePath(folder) + "/";
    QVERIFY(QDir().mkpath(home));
    start(home + "kalmera");
    QCOMPARE(window_->paths().html, home);
    window_->showWebPreview();
    QCOMPARE(platform_.opened, QStringList{home + "~Kalmera.html"});
    const QString images = QUrl::fromLocalFile(home + "PNG/wK.png").toString(QUrl::FullyEncoded);
    QVERIFY(read(home + "~Kalmera.html").contains("<img src=\"" + images.toLatin1() + "\""));
    const QString elsewhere = dir_->filePath("Bilder " + folder) + "/";
    setPaths({elsewhere, window_->paths().html, window_->paths().web});
    QVERIFY(window_->close());
    const QByteArray ini = read(home + "kalmera.ini");
    const QByteArray base = QFile::encodeName(dir_->path()) + "/";
    QVERIFY(ini.contains("\nHTML=" + base + stored + "/\n"));
    QVERIFY(ini.contains("\nBMP=" + base + "Bilder " + stored + "/\n"));
    start(home + "kalmera");  // and read back to the same paths
    QCOMPARE(window_->paths().bmp, elsewhere);
    QCOMPARE(window_->paths().html, home);
  }

  void savingIntoAFolderRemembersItByName() {
    const QString pictures = dir_->filePath("ünï Путь") + "/";
    QVERIFY(QDir().mkpath(pictures));
    platform_.fileAnswers.push_back(pictures + "board.png");
    window_->savePng();
    QVERIFY(QFile::exists(pictures + "board.png"));
    QCOMPARE(window_->paths().bmp, pictures);
  }

  // One encoding of local file addresses for the editor and the tool, as Qt's.
  void fileAddressesAreEncodedAsQtEncodesThem() {
    for (const QString path : {"/tmp/a b/PNG/", "/tmp/x#y?/", "/tmp/Übung/", "/tmp/Путь/",
                               "/t/!$&'()*+,;=:@~-._[]/", "/t/%25{}|\\^`\"<>/"}) {
      QCOMPARE(QString::fromStdString(localFileUrl(QFile::encodeName(path).toStdString())),
               QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    }
  }

  void colourDialogDefaultsCurrentAndCancel() {
    window_->setColor(2, 0x112233);
    script([this](QDialog* d) { child<QPushButton>(d, "ButStandard")->click(); }, QDialog::Accepted);
    window_->editColors();
    QCOMPARE(window_->getColor(2), 0xA5BDE7);

    window_->setColor(0, 0x445566);
    script(
        [this](QDialog* d) {
          child<QPushButton>(d, "ButStandard")->click();
          child<QPushButton>(d, "ButAktuell")->click();
          QCOMPARE(color_->swatchColor(0), 0x445566);
        },
        QDialog::Accepted);
    window_->editColors();
    QCOMPARE(window_->getColor(0), 0x445566);

    platform_.colorAnswers.push_back(QColor(255, 0, 0));
    script([this](QDialog* d) { child<QPushButton>(d, "ButHell")->click(); }, QDialog::Rejected);
    window_->editColors();
    QCOMPARE(window_->getColor(1), 0xCEEFFF);  // cancelled: nothing taken

    platform_.colorAnswers.push_back(QColor(255, 0, 0));
    platform_.colorAnswers.push_back(std::nullopt);  // the platform dialog cancelled
    script(
        [this](QDialog* d) {
          child<QPushButton>(d, "ButHell")->click();
          child<QPushButton>(d, "ButDunkel")->click();
          QCOMPARE(child<QFrame>(d, "PanHell")->palette().color(QPalette::Window), QColor(255, 0, 0));
        },
        QDialog::Accepted);
    window_->editColors();
    QCOMPARE(window_->getColor(1), 0x0000FF);
    QCOMPARE(window_->getColor(2), 0xA5BDE7);

    const int redraws = window_->redrawCount();
    script([](QDialog*) {}, QDialog::Accepted);
    window_->editColors();
    QCOMPARE(window_->redrawCount(), redraws);  // OK without a change draws nothing
  }

  void colourDialogTexts() {
    color_->setLanguage(true);
    QCOMPARE(color_->windowTitle(), QString("Color Selection"));
    QCOMPARE(child<QPushButton>(color_, "ButHell")->text(), QString("Br&ight"));
    color_->setLanguage(false);
    QCOMPARE(child<QPushButton>(color_, "ButCancel")->text(), QString("Abbruch"));
  }

  void pathDialogWebAddressAndCancel() {
    script([this](QDialog*) { path_->webAddressEdit()->setText("  www-folder \t"); }, QDialog::Accepted);
    // OK runs its handler before the dialog closes.
    platform_.dialogScript.back() = [this](QDialog*) {
      path_->webAddressEdit()->setText("  www-folder \t");
      path_->normalizeWebAddress();
      return int(QDialog::Accepted);
    };
    window_->editPaths();
    QCOMPARE(window_->paths().web, QString("www-folder/"));

    platform_.dialogScript.push_back([this](QDialog*) {
      path_->webAddressEdit()->setText("");
      path_->normalizeWebAddress();
      return int(QDialog::Accepted);
    });
    window_->editPaths();
    QCOMPARE(window_->paths().web, QString());
    window_->copyHtml();
    QVERIFY(platform_.clipboard->contains("<img src=\"wK.png\""));

    platform_.fileAnswers.push_back(dir_->filePath("elsewhere"));
    script([this](QDialog* d) { child<QPushButton>(d, "ButGrahic")->click(); }, QDialog::Rejected);
    window_->editPaths();
    QCOMPARE(window_->paths().bmp, dir_->path() + "/");
    QCOMPARE(path_->graphicsFolderEdit()->text(), dir_->filePath("elsewhere") + "/");
    path_->setLanguage(true);
    QCOMPARE(path_->windowTitle(), QString("Management of used Paths"));
  }

  void enterInTheAboutDialogClosesIt() {
    script(
        [this](QDialog* d) {
          d->show();
          QCOMPARE(d->focusWidget(), child<QPushButton>(d, "OKButton"));
          QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        },
        QDialog::Accepted);
    window_->showAbout();
    QVERIFY(about_->isHidden());
    QCOMPARE(about_->result(), int(QDialog::Accepted));
    QVERIFY(platform_.opened.isEmpty());  // the browser stays shut
  }

  void aboutDialog() {
    window_->findChild<QAction*>("MnuEnglish")->trigger();
    script(
        [this](QDialog* d) {
          QCOMPARE(d->windowTitle(), QString("Kalmera FEN-Editor Information"));
          QCOMPARE(child<QLabel>(d, "LblVersion")->text(),
                   QString::fromStdString(getVersionText(false)));
          child<QPushButton>(d, "ButURL")->click();
        },
        QDialog::Accepted);
    window_->showAbout();
    QCOMPARE(platform_.opened.size(), 1);
    QVERIFY(platform_.opened[0].startsWith("https://"));
    QCOMPARE(child<QPushButton>(about_, "ButURL")->text(), "&" + platform_.opened[0]);
    about_->setLanguage(false);
    QCOMPARE(child<QLabel>(about_, "LblComment")->text(), QString("Kalmera im Internet"));
  }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
