// The main window driven through its real controls, offscreen.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLibraryInfo>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QUndoStack>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

#include "FakePlatform.h"
#include "setup/RandomSource.h"
#include "ui/window/MainWindow.h"
#include "ui/dialogs/Chess960Dialog.h"
#include "ui/widgets/UpDown.h"
#include "view/BoardRenderer.h"

using namespace kalmera;

namespace {
const QString kStandard = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
}

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  FakePlatform platform_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<Chess960Dialog> random_;

  QString iniPath() const { return dir_->filePath("kalmera.ini"); }
  void writeIni(const QByteArray& text) {
    QFile f(iniPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QByteArray readIni() const {
    QFile f(iniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void start() {
    random_.reset();  // a child of the window: gone before the window
    window_.reset();
    window_ = std::make_unique<MainWindow>(platform_);
    random_ = std::make_unique<Chess960Dialog>(platform_, window_.get());
    window_->setDialogs({.chess960 = random_.get()});
  }
  void showAndFocus(QWidget* widget) {
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
  }
  template <typename T>
  T* child(const char* name) {
    T* found = window_->findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QString fen() { return child<QLineEdit>("EdtFenString")->text(); }
  void load(const QString& text) {
    platform_.clipboard = text;
    child<QAction>("MnuPaste")->trigger();
  }
  bool shows(const char* label) { return !child<QLabel>(label)->isHidden(); }
  static QLineEdit* numberField(QDialog* dialog) { return dialog->findChild<QLineEdit*>("EdtPosNr"); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    useUserFoldersIn(dir_->path());
    platform_ = FakePlatform();
    platform_.program = dir_->filePath("kalmera");
  }
  void cleanup() {
    random_.reset();
    window_.reset();
  }

  void firstStartHasItsStartValues() {
    start();
    QCOMPARE(fen(), kStandard);
    QVERIFY(child<QAction>("MnuDeutsch")->isChecked());
    QVERIFY(child<QAction>("MnuHints")->isChecked());
    QVERIFY(child<QRadioButton>("RadQueen")->isChecked());
    QCOMPARE(window_->position().activePiece(), 'Q');
    QCOMPARE(window_->getColor(0), 0xEFEFDE);
    QCOMPARE(window_->getColor(1), 0xCEEFFF);
    QCOMPARE(window_->getColor(2), 0xA5BDE7);
    QCOMPARE(window_->paths().bmp, dir_->path() + "/");
    QCOMPARE(window_->paths().html, dir_->path() + "/");
    QVERIFY(window_->paths().web.endsWith("/"));
    QCOMPARE(window_->previewImagePath(), "file://" + dir_->path() + "/PNG/");
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString());
    QVERIFY(child<QComboBox>("CbxRLeft")->isHidden());
    QCOMPARE(window_->windowTitle(), QString("Kalmera FEN-Editor und Positions-Generator"));
    QCOMPARE(child<QGroupBox>("GrpCastling")->title(), QString(" Rochade-Rechte "));
    QCOMPARE(child<QPushButton>("ButColChange")->text(), QString("W / &S"));
    QCOMPARE(window_->centralWidget()->size(), QSize(596, 573));
  }

  void focusRunsThroughTheGroupsInOrder() {
    start();
    QStringList groups;
    QWidget* w = window_->centralWidget();
    for (int i = 0; i < 200; ++i) {
      w = w->nextInFocusChain();
      if (!(w->focusPolicy() & Qt::TabFocus)) continue;
      for (QWidget* p = w; p != nullptr; p = p->parentWidget()) {
        if (qobject_cast<QGroupBox*>(p) != nullptr) {
          if (groups.isEmpty() || groups.back() != p->objectName()) groups << p->objectName();
          break;
        }
      }
      if (w == window_->centralWidget()) break;
    }
    // The board is a Tab stop of its own, where its group stands in the order.
    QCOMPARE(groups.mid(0, 8), QStringList({"GrpReset", "GrpCastling", "GrpEnPassant",
                                            "GrpMoveCount", "GrpFigures", "GrpGenerate",
                                            "GrpBoard", "GrpFen"}));
  }

  void castlingBoxesChangeTheFenLine() {
    start();
    auto* right = child<QCheckBox>("ChkCaRightW");
    right->click();
    QCOMPARE(fen(), QString("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w Qkq - 0 1"));
    right->click();
    QCOMPARE(fen(), kStandard);
    // A right without its rook is flagged and left out.
    load("rnbqkbn1/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQq - 0 1");
    child<QCheckBox>("ChkCaRightB")->click();
    QVERIFY(shows("LblErrCaRightB"));
    QCOMPARE(fen(), QString("rnbqkbn1/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQq - 0 1"));
    child<QCheckBox>("ChkCaRightB")->click();
    QVERIFY(!shows("LblErrCaRightB"));
  }

  void kalmeraSwitchShowsListsAndFlagsTheKing() {
    start();
    load("rbbqnknr/pppppppp/8/8/8/8/PPPPPPPP/RBBQNKNR w KQkq - 0 1");
    auto* kalmera = child<QCheckBox>("ChkKalmera");
    QVERIFY(kalmera->isChecked());
    QVERIFY(!child<QComboBox>("CbxRLeft")->isHidden());
    kalmera->click();  // normal mode wants the king on e1
    QVERIFY(child<QComboBox>("CbxRLeft")->isHidden());
    QVERIFY(shows("LblErrCaLeftW") && shows("LblErrCaRightW"));
    QCOMPARE(fen(), QString("rbbqnknr/pppppppp/8/8/8/8/PPPPPPPP/RBBQNKNR w - - 0 1"));
    kalmera->click();
    QVERIFY(!shows("LblErrCaLeftW") && !shows("LblErrCaRightW"));
    QCOMPARE(fen(), QString("rbbqnknr/pppppppp/8/8/8/8/PPPPPPPP/RBBQNKNR w KQkq - 0 1"));
  }

  void rookListsPushTheOtherFile() {
    start();
    load("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    child<QCheckBox>("ChkKalmera")->click();
    auto* left = child<QComboBox>("CbxRLeft");
    auto* right = child<QComboBox>("CbxRRight");
    showAndFocus(right);
    QTest::keyClick(right, Qt::Key_Up);  // h -> g
    QCOMPARE(right->currentText(), QString("g"));
    left->setFocus();
    QTest::keyClick(left, Qt::Key_End);  // a -> f pushes g to h
    QCOMPARE(left->currentText(), QString("f"));
    QCOMPARE(right->currentText(), QString("h"));
    QCOMPARE(window_->position().record().RookRight, 'h');
  }

  void enPassantChoiceWithoutCaptureIsFlagged() {
    start();
    auto* ep = child<QComboBox>("CbxEnPassant");
    showAndFocus(ep);
    QTest::keyClick(ep, Qt::Key_Down);  // "a"
    QCOMPARE(ep->currentText(), QString("a"));
    QVERIFY(shows("LblErrEP"));
    QVERIFY(fen().endsWith(" w KQkq - 0 1"));
  }

  // The counters as a user types into them: a number in range goes into the
  // position at once, anything else waits for the end of the edit (Return,
  // the focus leaving, an arrow), which clamps it or answers with the message.
  void countersTakeWhatTheUserTyped() {
    struct Case {
      const char* name;
      const char* field;
      const char* typed;    // after selecting all
      const char* live;     // the FEN's counters before the edit ends
      const char* ending;   // "return", "leave" or "arrow"
      const char* text;     // the field afterwards
      const char* counters; // the FEN's counters afterwards
      int messages;
    };
    const Case cases[] = {
        {"leading zeros wait, then count", "EdtFullCount", "007", " 0 1", "return", "7", " 0 7", 0},
        {"zero becomes one", "EdtFullCount", "0", " 0 1", "leave", "1", " 0 1", 0},
        {"an empty field gets the message", "EdtFullCount", "", " 0 1", "return", "1", " 0 1", 1},
        {"a number in range counts at once", "EdtFullCount", "12", " 0 12", "leave", "12",
         " 0 12", 0},
        {"select all and one digit", "EdtFullCount", "5", " 0 5", "return", "5", " 0 5", 0},
        {"letters get the message", "EdtFullCount", "ab", " 0 1", "leave", "1", " 0 1", 1},
        {"an arrow ends the edit, then steps", "EdtFullCount", "", " 0 1", "arrow", "2", " 0 2", 1},
        {"an arrow after leading zeros", "EdtFullCount", "09", " 0 1", "arrow", "10", " 0 10", 0},
        {"too large is clamped", "EdtFullCount", "9999", " 0 999", "return", "999", " 0 999", 0},
        {"half moves: zero counts at once", "EdtHalfCount", "0", " 0 1", "return", "0", " 0 1", 0},
        {"half moves: a leading zero waits", "EdtHalfCount", "05", " 0 1", "leave", "5", " 5 1", 0},
        {"half moves: clamped to 99", "EdtHalfCount", "123", " 12 1", "return", "12", " 12 1", 0},
    };
    for (const Case& c : cases) {
      start();
      auto* field = child<QLineEdit>(c.field);
      showAndFocus(field);
      field->selectAll();
      if (*c.typed == 0) QTest::keyClick(field, Qt::Key_Delete);
      else QTest::keyClicks(field, c.typed);
      QVERIFY2(fen().endsWith(c.live), c.name);
      const std::string ending = c.ending;
      if (ending == "return") QTest::keyClick(field, Qt::Key_Return);
      else if (ending == "leave") child<QLineEdit>("EdtKopf1")->setFocus();
      else QTest::mouseClick(child<UpDown>(QString(c.field).replace("Edt", "Upd").toLatin1()),
                             Qt::LeftButton, {}, QPoint(7, 3));
      QVERIFY2(field->text() == c.text, qPrintable(QString(c.name) + ": " + field->text()));
      QVERIFY2(fen().endsWith(c.counters), qPrintable(QString(c.name) + ": " + fen()));
      QVERIFY2(platform_.messages.size() == std::size_t(c.messages), c.name);
      if (c.messages > 0) {
        QCOMPARE(platform_.messages[0].title, QString("Eingabe-Prüfung"));
        QCOMPARE(platform_.messages[0].text,
                 QString("Bitte geben Sie eine Zahl ein, \ndie zwischen 1 und 999 liegt."));
        if (ending == "leave") {  // the focus comes back to the field
          QTRY_COMPARE(QApplication::focusWidget(), field);
        }
        if (ending != "arrow") QVERIFY2(field->selectedText() == field->text(), c.name);
      }
      platform_.messages.clear();
    }
  }

  void counterMessageSpeaksTheInterfaceLanguage() {
    start();
    child<QAction>("MnuEnglish")->trigger();
    auto* half = child<QLineEdit>("EdtHalfCount");
    showAndFocus(half);
    half->selectAll();
    QTest::keyClicks(half, "x");
    QTest::keyClick(half, Qt::Key_Return);
    QCOMPARE(platform_.messages.size(), std::size_t(1));
    QCOMPARE(platform_.messages[0].title, QString("Input check"));
    QCOMPARE(platform_.messages[0].text, QString("Please enter a number\nbetween 0 and 99."));
    QCOMPARE(half->text(), QString("0"));
  }

  // Ctrl+Z in a counter is the window's undo; digits typed in a row are one
  // step until the focus leaves.
  void counterUndoIsTheWindowsUndo() {
    start();
    auto* full = child<QLineEdit>("EdtFullCount");
    showAndFocus(full);
    full->selectAll();
    QTest::keyClicks(full, "25");
    child<QLineEdit>("EdtKopf1")->setFocus();
    full->setFocus();
    full->selectAll();
    QTest::keyClicks(full, "30");
    QVERIFY(fen().endsWith(" 0 30"));
    QTest::keyClick(full, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY2(fen().endsWith(" 0 25"), qPrintable(fen()));
    QCOMPARE(full->text(), QString("25"));
    QTest::keyClick(full, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(fen().endsWith(" 0 30"));
    QTest::keyClick(full, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(full, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(fen().endsWith(" 0 1"));
    QTest::keyClick(full, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(fen().endsWith(" 0 25"));
    // After an arrow, Ctrl+Z takes back the arrow's step.
    QTest::mouseClick(child<UpDown>("UpdFullCount"), Qt::LeftButton, {}, QPoint(7, 3));
    QVERIFY(fen().endsWith(" 0 26"));
    QTest::keyClick(full, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(fen().endsWith(" 0 25"));
    QCOMPARE(full->text(), QString("25"));
  }

  void upDownArrowsStopAtTheLimits() {
    start();
    auto* up = child<UpDown>("UpdHalfCount");
    showAndFocus(child<QLineEdit>("EdtKopf1"));
    for (int i = 0; i < 120; ++i) QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(7, 3));
    QCOMPARE(child<QLineEdit>("EdtHalfCount")->text(), QString("99"));
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("EdtHalfCount"));
    for (int i = 0; i < 120; ++i) QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(7, 18));
    QCOMPARE(child<QLineEdit>("EdtHalfCount")->text(), QString("0"));
    QVERIFY(fen().endsWith(" 0 1"));
  }

  void sideButtonTogglesEverythingThatShowsTheSide() {
    start();
    auto* button = child<QPushButton>("ButColChange");
    button->click();
    QVERIFY(fen().contains(" b KQkq"));
    QCOMPARE(button->text(), QString("S / &W"));
    QCOMPARE(window_->position().activePiece(), 'q');
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(button->text(), QString("B / &W"));
    button->click();
    QCOMPARE(fen(), kStandard);
    QCOMPARE(button->text(), QString("W / &B"));
  }

  void startCommandsSetTheirHeadlines() {
    start();
    child<QAction>("ActAbLeer")->trigger();
    QCOMPARE(fen(), QString("8/8/8/8/8/8/8/8 w - - 0 1"));
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString());
    QVERIFY(shows("LblErrKing"));
    child<QAction>("MnuEnglish")->trigger();  // the headlines stay German
    child<QPushButton>("ButNew")->click();
    QCOMPARE(fen(), kStandard);
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString("Startposition"));
    QCOMPARE(child<QLineEdit>("EdtKopf2")->text(), QString());
    QVERIFY(!child<QCheckBox>("ChkKalmera")->isChecked());
  }

  void chess960CommandWithAScriptedDialog() {
    start();
    sharedRandom().seed(43200000);  // the offers are 363, 411, 740
    int offered = 0;
    platform_.dialogScript.push_back([&](QDialog* d) {
      offered = static_cast<Chess960Dialog*>(d)->number();
      return int(QDialog::Rejected);
    });
    child<QAction>("ActAbZufall")->trigger();
    QCOMPARE(offered, 363);
    QCOMPARE(fen(), kStandard);  // cancelled: nothing changed
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString());

    platform_.dialogScript.push_back([&](QDialog* d) {
      auto* dialog = static_cast<Chess960Dialog*>(d);
      offered = dialog->number();
      numberField(dialog)->setText("960");
      return int(QDialog::Accepted);
    });
    child<QAction>("ActAbZufall")->trigger();
    QCOMPARE(offered, 411);
    QCOMPARE(fen(), QString("bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1"));
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString("FRC Startposition"));
    QCOMPARE(child<QLineEdit>("EdtKopf2")->text(), QString("Position Nr . 960"));
    QVERIFY(child<QCheckBox>("ChkKalmera")->isChecked());
    QCOMPARE(child<QComboBox>("CbxRLeft")->currentText(), QString("f"));

    // 518 is the standard array: extended castling ends unticked.
    platform_.dialogScript.push_back([&](QDialog* d) {
      numberField(d)->setText("518");
      return int(QDialog::Accepted);
    });
    child<QAction>("ActAbZufall")->trigger();
    QCOMPARE(fen(), kStandard);
    QVERIFY(!child<QCheckBox>("ChkKalmera")->isChecked());
  }

  void positionNumberFieldChecksItsRange() {
    start();
    // Whatever the field shows when OK is pressed, checked.
    const auto confirm = [this](const char* typed) {
      platform_.dialogScript.push_back([typed](QDialog* d) {
        numberField(d)->setText(typed);
        return int(QDialog::Accepted);
      });
      return random_->askNumber(5, false);
    };
    QCOMPARE(confirm("999"), std::optional<int>(960));
    QCOMPARE(numberField(random_.get())->text(), QString("960"));
    QCOMPARE(confirm("007"), std::optional<int>(7));
    QCOMPARE(confirm("0"), std::optional<int>(1));
    QVERIFY(platform_.messages.empty());
    QCOMPARE(confirm("abc"), std::optional<int>(5));  // the number offered comes back
    QCOMPARE(platform_.messages.back().title, QString("Eingabe-Prüfung"));
    QCOMPARE(platform_.messages.back().text,
             QString("Bitte geben Sie eine Zahl ein, \ndie zwischen 1 und 960 liegt."));
    QCOMPARE(numberField(random_.get())->text(), QString("5"));
    random_->askNumber(5, true);
    numberField(random_.get())->setText("");
    random_->findChild<CounterField*>()->finishEdit();
    QCOMPARE(platform_.messages.back().text, QString("Please enter a number\nbetween 1 and 960."));
    random_->setLanguage(true);
    QCOMPARE(random_->windowTitle(), QString("Position Randomizer"));
    QCOMPARE(random_->findChild<QGroupBox*>("GrpRandom")->title(), QString(" Position to be built "));
  }

  void languageSwitchThereAndBackRestoresEveryText() {
    start();
    const auto snapshot = [this] {
      QStringList texts;
      for (QObject* o : window_->findChildren<QObject*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(o)) texts << b->text() << b->toolTip();
        else if (auto* l = qobject_cast<QLabel*>(o)) texts << l->text() << l->toolTip();
        else if (auto* g = qobject_cast<QGroupBox*>(o)) texts << g->title();
        else if (auto* m = qobject_cast<QMenu*>(o)) texts << m->title();
        else if (auto* a = qobject_cast<QAction*>(o)) texts << a->text() << a->toolTip();
        else if (auto* w = qobject_cast<QWidget*>(o)) texts << w->toolTip();
      }
      return texts << window_->windowTitle();
    };
    const QStringList german = snapshot();
    child<QAction>("MnuEnglish")->trigger();
    const QStringList english = snapshot();
    QVERIFY(english != german);
    QCOMPARE(child<QGroupBox>("GrpGenerate")->title(), QString(" HTM&L-Headers "));
    QCOMPARE(child<QWidget>("PbxBoard")->toolTip(),
             QString("set (click)\ntake (right click)\nmark (ctrl+click)"));
    QCOMPARE(child<QPushButton>("Button1")->toolTip(), QString("Copy FEN"));
    QCOMPARE(child<QPushButton>("ButRandom")->text(), QString("&Random"));
    child<QAction>("MnuDeutsch")->trigger();
    QCOMPARE(snapshot(), german);
    QCOMPARE(child<QPushButton>("ButOld")->toolTip(), QString("ursprünliches Brett"));
    QCOMPARE(child<QLabel>("LblHalfCount")->text(), QString("Anzahl &reversibler Halbzüge"));
  }

  // Qt's own dialogs and buttons speak the interface's language.
  void qtSpeaksTheInterfaceLanguage() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm")) {
      QSKIP("Qt's German catalogue is not installed (package qt6-translations-l10n)");
    }
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    start();  // German
    QCOMPARE(cancel(), QString("Abbrechen"));
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(cancel(), QString("Cancel"));
    child<QAction>("MnuDeutsch")->trigger();
    QCOMPARE(cancel(), QString("Abbrechen"));
    QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
             QString("Abbrechen"));
  }

  // Every kind of edit is one step that Undo takes back whole and Redo brings
  // again, the same state at each step.
  void undoAndRedoEveryKindOfEdit() {
    start();
    showAndFocus(child<QLineEdit>("EdtFenString"));
    auto* undo = child<QAction>("MnuUndo");
    auto* redo = child<QAction>("MnuRedo");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    std::vector<PositionState> states{window_->position().state()};
    const auto step = [&] { states.push_back(window_->position().state()); };
    auto* board = child<QWidget>("PbxBoard");
    const auto at = [](int file, int row) { return QPoint(32 + file * 34 + 17, 32 + row * 34 + 17); };
    QTest::mouseClick(board, Qt::LeftButton, {}, at(4, 4));  // set the queen on e4
    step();
    QTest::mouseClick(board, Qt::LeftButton, Qt::ControlModifier, at(4, 4));  // mark
    step();
    QTest::mouseClick(board, Qt::RightButton, {}, at(7, 0));  // take h8: Black to move
    step();
    QTest::mouseClick(child<QWidget>("PbxFigures"), Qt::LeftButton, {}, QPoint(195, 19));
    step();  // the active rook again: White's side
    child<QCheckBox>("ChkCaLeftW")->click();
    step();
    auto* ep = child<QComboBox>("CbxEnPassant");
    ep->setFocus();
    QTest::keyClick(ep, Qt::Key_Down);
    step();
    child<QLineEdit>("EdtFullCount")->setText("1");
    child<QLineEdit>("EdtFullCount")->setText("17");  // typed digit by digit: one step
    step();
    child<QPushButton>("ButColChange")->click();
    step();
    load("r3k2r/8/8/8/8/8/8/R3K1RR w KgQkq - 0 1");
    step();
    child<QAction>("MnuMirror")->trigger();
    step();
    child<QAction>("MnuTurn")->trigger();
    step();
    child<QAction>("ActAbLeer")->trigger();
    step();
    platform_.dialogScript.push_back([](QDialog*) { return int(QDialog::Accepted); });
    child<QAction>("ActAbZufall")->trigger();
    step();
    const auto same = [this](const PositionState& want) {
      const PositionState now = window_->position().state();
      return now.record == want.record && now.activeIndex == want.activeIndex &&
             fen().toStdString() == window_->position().fenLine();
    };
    for (std::size_t i = states.size() - 1; i > 0; --i) {
      QVERIFY(undo->isEnabled());
      undo->trigger();
      QVERIFY2(same(states[i - 1]), qPrintable(QString::number(i)));
    }
    QVERIFY(!undo->isEnabled());
    QCOMPARE(fen(), kStandard);
    for (std::size_t i = 1; i < states.size(); ++i) {
      redo->trigger();
      QVERIFY2(same(states[i]), qPrintable(QString::number(i)));
    }
    QVERIFY(!redo->isEnabled());
    // The picture follows: it equals what the state draws afresh.
    QImage fresh;
    BoardRenderer().redraw(fresh, 337, 337, window_->position().record(),
                           {window_->getColor(0), window_->getColor(1), window_->getColor(2)});
    QCOMPARE(window_->boardPicture(), fresh);
  }

  // A start command's step holds the headlines it set; other steps leave
  // what the user typed in them alone.
  void undoOfAStartCommandBringsBackTheHeadlines() {
    start();
    auto* head1 = child<QLineEdit>("EdtKopf1");
    auto* head2 = child<QLineEdit>("EdtKopf2");
    auto* undo = child<QAction>("MnuUndo");
    auto* redo = child<QAction>("MnuRedo");
    head1->setText("My game");
    head2->setText("Round 2");
    load("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    const struct {
      const char* command;
      QString first, second;
    } commands[] = {{"ActAbNormal", "Startposition", ""},
                    {"ActAbLeer", "", ""},
                    {"ActAbZufall", "FRC Startposition", "Position Nr . 7"}};
    for (const auto& c : commands) {
      platform_.dialogScript.push_back([](QDialog* d) {
        numberField(d)->setText("7");
        return int(QDialog::Accepted);
      });
      child<QAction>(c.command)->trigger();
      QCOMPARE(head1->text(), c.first);
      undo->trigger();
      QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
      QCOMPARE(head1->text(), QString("My game"));
      QCOMPARE(head2->text(), QString("Round 2"));
      redo->trigger();
      QCOMPARE(head1->text(), c.first);
      QCOMPARE(head2->text(), c.second);
      undo->trigger();
    }
    // A board edit's undo keeps what was typed in the headlines since.
    QTest::mouseClick(child<QWidget>("PbxBoard"), Qt::LeftButton, {}, QPoint(32 + 17, 32 + 17));
    head1->setText("typed later");
    undo->trigger();
    QCOMPARE(head1->text(), QString("typed later"));
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
  }

  // The legality line below the controls follows every edit, in the
  // interface's language; its hint lists every problem.
  void legalityLineFollowsEveryEdit() {
    start();
    auto* line = child<QLabel>("LblLegality");
    QCOMPARE(line->text(), QString("Legale Stellung."));
    QWidget* client = window_->centralWidget();
    QVERIFY(line->mapTo(client, QPoint(0, 0)).y() >= child<QGroupBox>("GrpFen")->geometry().bottom());
    load("4k3/8/8/8/8/8/8/4R1K1 w - - 0 1");
    const QString check = QString::fromUtf8(
        "Der schwarze König auf e8 steht im Schach durch den Turm auf e1, aber Weiß ist am Zug.");
    QCOMPARE(line->toolTip(), check);
    QCOMPARE(line->accessibleDescription(), check);
    QVERIFY(line->text().startsWith("Der schwarze König auf e8"));
    child<QPushButton>("ButColChange")->click();  // Black to move: in check, as may be
    QCOMPARE(line->text(), QString("Legale Stellung."));
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(line->text(), QString("Legal position."));
    // Two problems: the first, with how many more; the hint has both.
    load("4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 3 1");
    QVERIFY(line->text().startsWith("The en-passant target e6 says that Black"));
    QVERIFY(line->text().endsWith(" (+1)"));
    QCOMPARE(line->toolTip().count('\n'), 1);
    QVERIFY(line->toolTip().endsWith("but e7 is occupied."));
    // The whole sentence, on two lines where it needs them, inside the window.
    QCOMPARE(line->text(), line->toolTip().section('\n', 0, 0) + " (+1)");
    QVERIFY(line->height() >= line->heightForWidth(line->width()));
    QVERIFY(line->heightForWidth(line->width()) > QFontMetrics(line->font()).height());
    QVERIFY(line->mapTo(client, QPoint(0, line->height())).y() <= client->height());
    // A mouse edit: the king taken off the board.
    QTest::mouseClick(child<QWidget>("PbxBoard"), Qt::RightButton, {}, QPoint(32 + 4 * 34 + 17, 32 + 17));
    QVERIFY(line->text().startsWith("Black has no king."));
  }

  // What the reader changed of a pasted text shows above the legality line
  // while the position is the one the text gave, in the interface's language.
  void readingChangesShowWhileThePastedPositionStands() {
    start();
    auto* reading = child<QLabel>("LblReading");
    auto* legality = child<QLabel>("LblLegality");
    QVERIFY(reading->isHidden());
    load("4k3/8/8/8/8/8/8/K3K3 w - - 0 1");
    QVERIFY(!reading->isHidden());
    QCOMPARE(reading->text(), QString::fromUtf8("Mit Änderungen gelesen: der weiße König auf a1 "
                                                "wurde zugunsten des späteren auf e1 weggelassen."));
    QVERIFY(reading->geometry().bottom() < legality->geometry().top());
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(reading->text(),
             QString("Read with changes: the white king on a1 was left out for the later one on e1."));
    child<QPushButton>("ButColChange")->click();  // another position: nothing to say
    QVERIFY(reading->isHidden());
    child<QAction>("MnuUndo")->trigger();  // the pasted position again
    QVERIFY(!reading->isHidden());
    load("4k3/8/8/8/8/8/8/4K3 w - - 0 1");  // read as written
    QVERIFY(reading->isHidden());
  }

  // A legal position that ends the game says so on the legality line.
  void legalityLineSaysTheEndOfTheGame() {
    start();
    auto* line = child<QLabel>("LblLegality");
    const struct {
      const char* fen;
      const char* german;
      const char* english;
    } ends[] = {
        {"6rk/5Npp/8/8/8/8/8/K7 b - - 0 1", "Legale Stellung. Schwarz ist schachmatt.",
         "Legal position. Black is checkmated."},
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "Legale Stellung. Schwarz ist patt.",
         "Legal position. Black is stalemated."},
        {"k7/8/1QK5/8/8/8/8/8 b - - 0 1", "Legale Stellung. Schwarz ist patt.",
         "Legal position. Black is stalemated."},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "Legale Stellung.", "Legal position."},
    };
    for (const auto& end : ends) {
      child<QAction>("MnuDeutsch")->trigger();
      load(end.fen);
      QCOMPARE(line->text(), QString::fromUtf8(end.german));
      child<QAction>("MnuEnglish")->trigger();
      QCOMPARE(line->text(), QString(end.english));
    }
  }

  // With hints off the legality line still says the rest of its sentences.
  void legalityHintShowsWithHintsOff() {
    start();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    load("4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 3 1");
    child<QAction>("MnuHints")->trigger();
    QVERIFY(!window_->hintsOn());
    auto* line = child<QLabel>("LblLegality");
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), line->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(line, &help);
    QTRY_COMPARE(QToolTip::text(), line->toolTip());
    QToolTip::hideText();
  }

  // After every change the FEN line shows the FEN from its first character.
  void fenLineShowsItsStart() {
    start();
    auto* line = child<QLineEdit>("EdtFenString");
    load("r1bqk1nr/pppp1ppp/2n5/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 42 123");
    QCOMPARE(line->cursorPosition(), 0);
    child<QPushButton>("ButColChange")->click();
    QCOMPARE(line->cursorPosition(), 0);
    QVERIFY(line->text().contains(" b "));
  }

  // Ctrl+Z in a headline with nothing of its own to undo is the window's undo.
  void undoInAHeadlineWithNothingToUndoIsTheWindows() {
    start();
    child<QPushButton>("ButColChange")->click();
    QVERIFY(fen().contains(" b "));
    auto* head = child<QLineEdit>("EdtKopf2");
    showAndFocus(head);
    QTest::keyClick(head, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(fen().contains(" w "));
    QTest::keyClick(head, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(fen().contains(" b "));
    QTest::keyClicks(head, "x");  // now the headline has its own step
    QTest::keyClick(head, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(head->text(), QString());
    QVERIFY(fen().contains(" b "));
  }

  void undoKeepsAThousandStepsAndHeadlinesKeepTheirOwn() {
    start();
    auto* side = child<QPushButton>("ButColChange");
    for (int i = 0; i < 1005; ++i) side->click();
    auto* steps = window_->findChild<QUndoStack*>("EditSteps");
    QCOMPARE(steps->count(), 1000);
    auto* head = child<QLineEdit>("EdtKopf1");
    showAndFocus(head);
    QTest::keyClicks(head, "abc");
    QTest::keyClick(head, Qt::Key_Z, Qt::ControlModifier);  // the line edit's own undo
    QCOMPARE(head->text(), QString());
    QVERIFY(fen().contains(" b "));  // the position is untouched
    QCOMPARE(steps->index(), 1000);
    child<QLineEdit>("EdtFenString")->setFocus();
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(fen().contains(" w "));
    QTest::keyClick(window_.get(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(fen().contains(" b "));
  }

  // A label's key moves the focus to its control and never clicks it.
  void labelKeysMoveTheFocusOnly() {
    start();
    showAndFocus(child<QLineEdit>("EdtFenString"));
    auto* blackASide = child<QCheckBox>("ChkCaLeftB");
    QTest::keyClick(window_.get(), Qt::Key_A, Qt::AltModifier);  // "&a - Seite"
    QCOMPARE(QApplication::focusWidget(), blackASide);
    QTest::qWait(300);  // a label clicks its button buddy after a short animation
    QVERIFY(blackASide->isChecked());
    QCOMPARE(fen(), kStandard);
    QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), child<QCheckBox>("ChkCaRightB"));
    QTest::qWait(300);
    QCOMPARE(fen(), kStandard);
    child<QCheckBox>("ChkKalmera")->click();
    QTest::keyClick(window_.get(), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), child<QComboBox>("CbxRLeft"));
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::AltModifier);  // "Anzahl &reversibler Halbzüge"
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("EdtHalfCount"));
  }

  // Hovering a "?" tells why, in the interface's language.
  void errorLabelsTellWhy() {
    start();
    load("4k3/8/8/4p3/8/8/8/R3K3 w Q e6 0 1");
    auto* label = child<QLabel>("LblErrEP");
    QVERIFY(shows("LblErrEP"));
    QCOMPARE(label->toolTip(), QString("Kein weißer Bauer neben e5, der en passant schlagen könnte."));
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(label->toolTip(), QString("No white pawn beside e5 to take en passant."));
    child<QPushButton>("ButColChange")->click();
    QCOMPARE(label->toolTip(), QString("No white pawn on e4 that could have made the double step."));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &help);
    QTRY_COMPARE(QToolTip::text(), label->toolTip());
    QToolTip::hideText();
    QVERIFY(child<QLabel>("LblErrCaLeftW")->toolTip().isEmpty());  // no flag, no reason
  }

  void hintsOffHidesEveryTooltip() {
    start();
    auto* board = child<QWidget>("PbxBoard");
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    const auto askForHint = [board] {
      QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), board->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(board, &help);
    };
    child<QAction>("MnuHints")->trigger();
    QVERIFY(!window_->hintsOn());
    askForHint();
    QVERIFY(!QToolTip::isVisible());
    child<QAction>("MnuHints")->trigger();
    askForHint();
    QTRY_VERIFY(QToolTip::isVisible());
    QToolTip::hideText();
  }

  void settingsAreReadWithTheirRules() {
    writeIni(
        "[Color]\r\nBoard=$FF\r\nBright=0xFF\r\nDark=word\r\n[Mode]\r\nHints=yes\r\nLanguage=2\r\n"
        "[Path]\r\nBMP=/pictures\r\nWeb=www-folder\r\n[Position]\r\nHead1=Gr\xF6\xDF" "e\r\n"
        "FEN=4k3/8/8/8/8/8/8/4K3 b - - 0 1\r\n[Positions]\r\nMarked=*------*\r\n");
    start();
    QCOMPARE(window_->getColor(0), 255);
    QCOMPARE(window_->getColor(1), 255);
    QCOMPARE(window_->getColor(2), 0xA5BDE7);
    QVERIFY(window_->hintsOn());
    QVERIFY(!window_->english());
    QCOMPARE(window_->paths().bmp, QString("/pictures/"));
    QCOMPARE(window_->paths().web, QString("www-folder/"));
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString("Größe"));
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/4K3 b - - 0 1"));
    QCOMPARE(window_->position().getMark(0), '*');
    QCOMPARE(window_->position().getMark(7), '*');
    QCOMPARE(window_->position().getMark(1), 0);
  }

  void settingsRoundTripAndTheStartOfTheRun() {
    writeIni("; kept\n[Mode]\nLanguage=1\nHints=0\n[Other]\nx=1\n");
    start();
    QVERIFY(window_->english());
    QVERIFY(!window_->hintsOn());
    // Changes during the run ...
    load("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    window_->position().setMark(63, 'x');
    child<QAction>("MnuDeutsch")->trigger();
    child<QLineEdit>("EdtKopf2")->setText("zwei");
    window_->setColor(2, 0x123456);
    // ... are undone by the command that reads the file again.
    child<QAction>("ActAbOld")->trigger();
    QVERIFY(window_->english());
    QCOMPARE(fen(), kStandard);
    QCOMPARE(window_->getColor(2), 0xA5BDE7);
    QCOMPARE(child<QLineEdit>("EdtKopf2")->text(), QString());
    QCOMPARE(readIni(), QByteArray("; kept\n[Mode]\nLanguage=1\nHints=0\n[Other]\nx=1\n"));

    load("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    window_->position().setMark(63, 'x');
    child<QLineEdit>("EdtKopf1")->setText("eins");
    QVERIFY(window_->close());
    const QByteArray written = readIni();
    QVERIFY(written.startsWith("; kept\n[Mode]\nLanguage=1\nHints=0\n[Other]\nx=1\n[Color]\n"));
    QVERIFY(written.contains("FEN=4k3/8/8/8/8/8/8/4K3 w - - 0 1\n"));
    QVERIFY(written.contains("Head1=eins\n"));
    QVERIFY(written.contains("Marked=" + QByteArray(63, '-') + "*\n"));

    start();  // the next run comes back with it all
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
    QCOMPARE(window_->position().getMark(63), '*');
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString("eins"));
    QVERIFY(window_->english());
  }

  // A program in a folder it cannot write to keeps its settings in the user's
  // config folder and proposes the user's folders.
  void installedProgramKeepsItsSettingsInTheConfigFolder() {
    platform_.program = dir_->filePath("usr/bin/kalmera");  // no such folder: not writable
    QVERIFY(QDir().mkpath(dir_->filePath("home/Pictures")));
    start();
    QCOMPARE(window_->settingsPath(), dir_->filePath("config/kalmera/kalmera.ini"));
    QCOMPARE(window_->paths().bmp, dir_->filePath("home/Pictures") + "/");
    QCOMPARE(window_->paths().html, dir_->filePath("cache/kalmera") + "/");
    child<QLineEdit>("EdtKopf1")->setText("eins");
    QVERIFY(window_->close());
    QVERIFY(platform_.messages.empty());
    QFile ini(dir_->filePath("config/kalmera/kalmera.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("Head1=eins\n"));
  }

  void unwritableSettingsAreReportedAndTheProgramStillEnds() {
    platform_.program = dir_->filePath("gone/kalmera");
    QFile blocker(dir_->filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_->filePath("file/config")));
    start();
    QVERIFY(window_->close());
    QCOMPARE(platform_.messages.size(), size_t(1));
    QCOMPARE(platform_.messages[0].text, "In " + dir_->filePath("file/config/kalmera/kalmera.ini") +
                                             " kann nicht geschrieben werden");
  }

  // A settings file that is there but cannot be read is reported at the start
  // and left as it is at the end; a byte-order mark is passed over and kept.
  void settingsFilesThatCannotBeRead_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << "folder" << "Is a directory";
    QTest::newRow("fifo") << "fifo" << "Not a regular file (a FIFO)";
    QTest::newRow("link to /dev/zero") << "zero" << "Not a regular file (a device)";
    QTest::newRow("larger than 16 MiB") << "large" << "Larger than 16 MiB";
  }

  void settingsFilesThatCannotBeRead() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QByteArray path = QFile::encodeName(iniPath());
    if (kind == "folder") QVERIFY(QDir().mkdir(iniPath()));
    if (kind == "fifo") QCOMPARE(::mkfifo(path.constData(), 0644), 0);
    if (kind == "zero") QVERIFY(QFile::link("/dev/zero", iniPath()));
    if (kind == "large") {
      writeIni("[Position]\nFEN=8/8/8/8/8/8/8/8 w - - 0 1\n");
      QVERIFY(QFile(iniPath()).resize((16 << 20) + 1));
    }
    start();
    QCOMPARE(fen(), kStandard);  // the defaults
    QCOMPARE(platform_.messages.size(), size_t(1));
    QCOMPARE(platform_.messages[0].text,
             "Die Einstellungsdatei " + iniPath() + " kann nicht gelesen werden (" + reason +
                 "). Das Programm startet mit den Voreinstellungen und ersetzt die Datei am Ende "
                 "nicht.");
    QVERIFY(window_->close());
    QCOMPARE(platform_.messages.size(), size_t(2));
    QVERIFY(platform_.messages[1].text.contains(iniPath() + " konnte nicht gelesen werden"));
    const QFileInfo after(iniPath());
    QCOMPARE(after.isDir(), kind == "folder");
    QCOMPARE(after.isSymLink(), kind == "zero");
    if (kind == "large") QCOMPARE(after.size(), qint64((16 << 20) + 1));
    if (kind == "fifo") QVERIFY(!after.isFile());
  }

  void byteOrderMarkIsPassedOverAndKept() {
    writeIni("\xEF\xBB\xBF[Color]\nBoard=$FF\n");
    start();
    QCOMPARE(window_->getColor(0), 255);
    QVERIFY(window_->close());
    QVERIFY(platform_.messages.empty());
    const QByteArray written = readIni();
    QVERIFY(written.startsWith("\xEF\xBB\xBF[Color]\nBoard=255\n"));
    QCOMPARE(written.count("[Color]"), qsizetype(1));
  }

  void copyAndPasteFollowTheFocus() {
    start();
    auto* head = child<QLineEdit>("EdtKopf1");
    head->setText("Startposition");
    showAndFocus(head);
    head->setSelection(0, 5);
    QTest::keyClick(head, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(platform_.clipboard, std::optional<QString>("Start"));
    platform_.clipboard = "X\nsecond line";
    QTest::keyClick(head, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(head->text(), QString("Xposition"));
    QCOMPARE(fen(), kStandard);

    auto* counter = child<QLineEdit>("EdtFullCount");
    counter->setFocus();
    counter->selectAll();
    QTest::keyClick(counter, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(platform_.clipboard, std::optional<QString>(kStandard));
    QCOMPARE(child<QLineEdit>("EdtFenString")->selectedText(), kStandard);
    platform_.clipboard = "  8/8/8/8/8/8/8/8 b - - 3 4\r\nmore";
    QTest::keyClick(counter, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(fen(), QString("8/8/8/8/8/8/8/8 b - - 3 4"));
    QCOMPARE(counter->text(), QString("4"));
  }

  // FENs of other programs come in by paste and go out through "Copy as".
  void otherCastlingNotationsInAndOut() {
    start();
    load("bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9");
    const QString native = "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w KQkq - 2 9";
    QCOMPARE(fen(), native);
    QCOMPARE(child<QComboBox>("CbxRLeft")->currentText(), QString("f"));
    QCOMPARE(child<QComboBox>("CbxRRight")->currentText(), QString("h"));
    child<QAction>("MnuCopyShredderFen")->trigger();
    QCOMPARE(*platform_.clipboard,
             QString("bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9"));
    load("r3k2r/8/8/8/8/8/8/R3K1RR w GQkq - 0 1");
    child<QAction>("MnuCopyXFen")->trigger();
    QCOMPARE(*platform_.clipboard, QString("r3k2r/8/8/8/8/8/8/R3K1RR w GQq - 0 1"));
    QCOMPARE(fen(), QString("r3k2r/8/8/8/8/8/8/R3K1RR w KgQq - 0 1"));  // the line keeps its own
    QCOMPARE(child<QAction>("MnuCopyXFen")->text(), QString("&X-FEN"));
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(child<QAction>("MnuCopyXFen")->text(), QString("&X-FEN"));
  }

  void pasteWithoutTextReloadsTheLineAndClearsMarks() {
    start();
    window_->position().setMark(10, 'x');
    platform_.clipboard.reset();
    child<QAction>("MnuPaste")->trigger();
    QCOMPARE(fen(), kStandard);
    QCOMPARE(window_->position().getMark(10), 0);
  }

  void badSettingsFilesStartAndKeepTheirLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("want");
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919) % 256));
    QTest::newRow("binary junk") << junk << kStandard;
    QTest::newRow("binary junk before the keys")
        << junk + "\n[Position]\nFEN=8/8/8/8/8/8/8/8 b - - 0 1\n"
        << QString("8/8/8/8/8/8/8/8 b - - 0 1");
    QTest::newRow("very long lines")
        << "[Position]\nHead1=" + QByteArray(3000000, 'h') + "\n; " + QByteArray(2000000, 'c') + "\n"
        << kStandard;
    QTest::newRow("duplicated sections and keys")
        << QByteArray("[Position]\nFEN=4k3/8/8/8/8/8/8/4K3 w - - 0 1\nFEN=8/8/8/8/8/8/8/8 w - - 0 1\n"
                      "[position]\nFEN=k7/8/8/8/8/8/8/7K w - - 0 1\n")
        << QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    QTest::newRow("CRLF and no final line break")
        << QByteArray("; mine\r\n[Position]\r\nFEN=4k3/8/8/8/8/8/8/4K3 b - - 0 1") << QString("4k3/8/8/8/8/8/8/4K3 b - - 0 1");
    // The NUL ends the placement; "/" then ends side and castling, "8" is the clock.
    QTest::newRow("NUL bytes") << QByteArray("[Position]\nFEN=4k3\0/8\n", 22)
                               << QString("4k3/8/8/8/8/8/8/8 w - - 8 1");
  }

  void badSettingsFilesStartAndKeepTheirLines() {
    QFETCH(QByteArray, file);
    QFETCH(QString, want);
    writeIni(file);
    start();
    QCOMPARE(fen(), want);
    QVERIFY(window_->close());
    QVERIFY(platform_.messages.empty());
    // Every line that holds none of our keys is still there, byte for byte.
    const QByteArray written = readIni();
    static const QRegularExpression ours(
        "^\\s*(Board|Bright|Dark|BMP|HTML|Web|Head1|Head2|FEN|Hints|Language|Marked)\\s*=",
        QRegularExpression::CaseInsensitiveOption);
    for (QByteArray line : file.split('\n')) {
      if (line.endsWith('\r')) line.chop(1);
      if (ours.match(QString::fromLatin1(line)).hasMatch()) continue;
      QVERIFY2(written.contains(line), line.left(40).constData());
    }
    start();  // and reads again
    QCOMPARE(fen(), want);
  }

  void headlinesOutsideLatin1SurviveTheSettingsFile() {
    start();
    child<QLineEdit>("EdtKopf1")->setText(QString("Springer ") + QChar(0x265E));
    QVERIFY(window_->close());
    QVERIFY(readIni().contains("Head1=Springer &#9822;\n"));
    start();
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString("Springer ") + QChar(0x265E));
    window_->copyHtml();
    QVERIFY(platform_.clipboard->startsWith("<font size=\"+2\"><strong>Springer &#9822;</strong>"));
  }

  // What the user typed comes back after a restart, and the file keeps its bytes.
  void headlinesComeBackAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Polish") << QString::fromUtf8("Łódź") << QByteArray("&#321;\xf3" "d&#378;")
                            << QString::fromUtf8("Łódź");
    QTest::newRow("Cyrillic") << QString::fromUtf8("Путь")
                              << QByteArray("&#1055;&#1091;&#1090;&#1100;")
                              << QString::fromUtf8("Путь");
    QTest::newRow("emoji") << QString::fromUtf8("Matt \U0001F600") << QByteArray("Matt &#128512;")
                           << QString::fromUtf8("Matt \U0001F600");
    // Only the references the writer makes are read back: Latin-1 ones stay text.
    QTest::newRow("latin-1 reference") << QString("a &#38; b &#228;")
                                       << QByteArray("a &#38; b &#228;")
                                       << QString("a &#38; b &#228;");
    QTest::newRow("typed reference") << QString("&#9822;") << QByteArray("&#9822;")
                                     << QString(QChar(0x265E));
    QTest::newRow("broken references") << QString("&#; &#12 &#x41;")
                                       << QByteArray("&#; &#12 &#x41;")
                                       << QString("&#; &#12 &#x41;");
  }
  void headlinesComeBackAsTyped() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    start();
    child<QLineEdit>("EdtKopf2")->setText(typed);
    QVERIFY(window_->close());
    const QByteArray first = readIni();
    QVERIFY2(first.contains("Head2=" + stored + "\n"), first.constData());
    start();
    QCOMPARE(child<QLineEdit>("EdtKopf2")->text(), shown);
    QVERIFY(window_->close());
    QCOMPARE(readIni(), first);
  }

  void pasteTakesLatin1AndAnyJunk() {
    start();
    load(QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1") + QChar(0x20AC) + QString(5000000, 'x'));
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
    load(QString(QChar(0)) + "garbage");
    QCOMPARE(fen(), QString("8/8/8/8/8/8/8/8 w - - 0 1"));
  }

  void mirrorAndTurnFromTheMenu() {
    start();
    child<QAction>("MnuTurn")->trigger();
    QCOMPARE(fen(), QString("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"));
    QCOMPARE(child<QPushButton>("ButColChange")->text(), QString("S / &W"));
    child<QAction>("MnuMirror")->trigger();
    QCOMPARE(fen(), QString("rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR b - - 0 1"));
    QVERIFY(shows("LblErrCaLeftW") && shows("LblErrCaRightB"));
  }

  void blinkTimerRunsExactlyWhileAnErrorShows() {
    start();
    auto* timer = window_->findChild<QTimer*>("Timer1");
    QVERIFY(timer != nullptr);
    QVERIFY(!timer->isActive());
    child<QAction>("ActAbLeer")->trigger();
    QVERIFY(timer->isActive());
    auto* label = child<QLabel>("LblErrKing");
    const QColor before = label->palette().color(QPalette::WindowText);
    window_->blinkStep();
    QVERIFY(label->palette().color(QPalette::WindowText) != before);
    child<QAction>("ActAbNormal")->trigger();
    QVERIFY(!timer->isActive());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
