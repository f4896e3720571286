// The editor's engine room offscreen, with the fake engines of
// tests/engine/fakes/: the engine process (started when asked, each fault
// said, the process ended and a new one started at the next request, the
// event loop never held up), the analysis line, "Check puzzle", the commands
// with their settings, the dialog, and "Solve all".
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "FakePlatform.h"
#include "model/FenRecord.h"
#include "ui/engine/AnalysisController.h"
#include "ui/engine/CollectionSolver.h"
#include "ui/engine/EngineCommands.h"
#include "ui/engine/EngineDialog.h"
#include "ui/engine/EngineProcess.h"

using namespace kalmera;

Q_DECLARE_METATYPE(kalmera::FailureKind)

namespace {

QString fake(const char* name) { return QString(KALMERA_FAKE_ENGINES "/") + name; }

constexpr SessionTimeouts kQuick{500, 300, 1000};
constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* kBackRank = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1";

PositionRecord record(const char* fen) {
  PositionRecord r;
  readFenFresh(fen, r);
  return r;
}

SearchRequest request(const char* fen, SearchLimit limit = {5, 0}) {
  return {preparePosition(record(fen)).position, limit, 1, true, {}};
}

// What an engine process said, and whether the event loop kept running while
// it was waited for: the longest pause between the ticks of a 10 ms timer.
struct Listener {
  std::vector<SearchInfo> evaluations;
  std::optional<SearchResult> result;
  std::optional<EngineFailure> failure;
  QTimer heartbeat;
  QElapsedTimer sinceBeat;
  qint64 longestPause = 0;

  explicit Listener(EngineProcess& engine) {
    QObject::connect(&engine, &EngineProcess::evaluated,
                     [this](const SearchInfo& i) { evaluations.push_back(i); });
    QObject::connect(&engine, &EngineProcess::finished,
                     [this](const SearchResult& r) { result = r; });
    QObject::connect(&engine, &EngineProcess::failed,
                     [this](const EngineFailure& f) { failure = f; });
    heartbeat.setInterval(10);
    QObject::connect(&heartbeat, &QTimer::timeout, [this] {
      longestPause = std::max(longestPause, sinceBeat.restart());
    });
    sinceBeat.start();
    heartbeat.start();
  }
  bool heard() const { return result.has_value() || failure.has_value(); }
  void reset() {
    evaluations.clear();
    result.reset();
    failure.reset();
  }
};

}  // namespace

class EngineProcessTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;

  QString logFile() const { return dir_->filePath("sent.log"); }
  QString sent() const {
    QFile f(logFile());
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    qputenv("FAKE_ENGINE_LOG", QFile::encodeName(logFile()));
    qputenv("FAKE_ENGINE_STATE", QFile::encodeName(dir_->path()));
  }

  void startsOnlyWhenAskedAndKeepsRunning() {
    EngineProcess engine;
    engine.setProgram(fake("good.sh"), EngineSetup{2, 32});
    Listener listener(engine);
    QVERIFY(!engine.running());
    QCOMPARE(engine.processId(), 0);
    engine.search(request(kStart));
    QVERIFY(engine.running());
    const qint64 pid = engine.processId();
    QTRY_VERIFY(listener.heard());
    QVERIFY(!listener.failure);
    QCOMPARE(listener.result->bestMove, std::string("e2e4"));
    QCOMPARE(listener.evaluations.size(), std::size_t(2));
    QVERIFY(sent().contains("setoption name Threads value 2\nsetoption name Hash value 32\n"));

    listener.reset();
    engine.search(request(kBackRank));
    QTRY_VERIFY(listener.heard());
    QCOMPARE(listener.result->bestMove, std::string("a1a8"));
    QCOMPARE(engine.processId(), pid);
  }

  void faults_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("moveTime");
    QTest::addColumn<FailureKind>("kind");
    QTest::newRow("dies") << "dies.sh" << 0 << FailureKind::Ended;
    QTest::newRow("hangs") << "hangs.sh" << 100 << FailureKind::NoBestMove;
    QTest::newRow("hangs at a depth") << "hangs.sh" << 0 << FailureKind::Silent;
    QTest::newRow("writes nonsense") << "nonsense.sh" << 0 << FailureKind::Nonsense;
    QTest::newRow("never says uciok") << "no-uciok.sh" << 0 << FailureKind::NoUciOk;
    QTest::newRow("is no program") << "missing.sh" << 0 << FailureKind::CannotStart;
  }

  void faults() {
    QFETCH(QString, engine);
    QFETCH(int, moveTime);
    QFETCH(FailureKind, kind);
    EngineProcess process;
    process.setProgram(fake(engine.toLatin1().constData()), EngineSetup{});
    process.setTimeouts(kQuick);
    Listener listener(process);
    process.search(request(kStart, {moveTime > 0 ? 0 : 5, moveTime}));
    QTRY_VERIFY_WITH_TIMEOUT(listener.heard(), 5000);
    QVERIFY(listener.failure);
    QCOMPARE(listener.failure->kind, kind);
    QVERIFY(!process.running());
    // The window's loop ran on while the engine was waited for.
    QVERIFY2(listener.longestPause < 250, QByteArray::number(listener.longestPause));
  }

  void startsANewEngineAfterAFailure() {
    EngineProcess engine;
    engine.setProgram(fake("dies-once.sh"), EngineSetup{});
    engine.setTimeouts(kQuick);
    Listener listener(engine);
    engine.search(request(kStart));
    const qint64 first = engine.processId();
    QTRY_VERIFY(listener.heard());
    QVERIFY(listener.failure);
    listener.reset();
    engine.search(request(kStart));
    QVERIFY(engine.processId() != first);
    QTRY_VERIFY(listener.heard());
    QVERIFY(listener.result);
    QCOMPARE(listener.result->bestMove, std::string("e2e4"));
  }

  void analysisShowsTheLineAndNeverSendsAnIllegalPosition() {
    EngineProcess engine;
    engine.setProgram(fake("good.sh"), EngineSetup{});
    bool english = true;
    AnalysisController analysis(engine, [&] { return english; });
    analysis.startAnalysis(record(kStart));
    QCOMPARE(analysis.work(), AnalysisController::Work::Analysis);
    QCOMPARE(analysis.line(), QString("Analysing ..."));
    QTRY_COMPARE(analysis.line(), QString("+0.35  depth 2  1. e4 e5 2. Nf3"));
    english = false;
    analysis.languageChanged();
    QCOMPARE(analysis.line(), QString("+0.35  Tiefe 2  1. e4 e5 2. Sf3"));
    english = true;

    analysis.positionChanged(record("8/8/8/8/8/8/8/8 w - - 0 1"));
    QCOMPARE(analysis.line(), QString("Not analysed: White and Black have no king."));
    QCOMPARE(analysis.tone(), AnalysisController::Tone::Problem);
    QCOMPARE(analysis.work(), AnalysisController::Work::Analysis);
    QTRY_VERIFY(sent().endsWith("stop\n"));
    QVERIFY(!sent().contains("position fen 8/8/8/8/8/8/8/8"));

    analysis.positionChanged(record(kBackRank));
    QTRY_COMPARE(analysis.line(), QString("#1  depth 1  1. Ra8#"));
    analysis.stop();
    QCOMPARE(analysis.work(), AnalysisController::Work::None);
    QTRY_VERIFY(sent().endsWith("stop\n"));
    QCOMPARE(analysis.line(), QString("#1  depth 1  1. Ra8#"));  // the last finding stays
  }

  void aMatedPositionNeedsNoEngine() {
    EngineProcess engine;
    engine.setProgram(fake("good.sh"), EngineSetup{});
    AnalysisController analysis(engine, [] { return true; });
    analysis.startAnalysis(
        record("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"));
    QCOMPARE(analysis.line(), QString("White is checkmated."));
    QCOMPARE(analysis.tone(), AnalysisController::Tone::Plain);
    QVERIFY(!engine.running());
  }

  void checkPuzzleSaysWhetherTheKeyIsUnique() {
    EngineProcess engine;
    engine.setProgram(fake("good.sh"), EngineSetup{});
    bool english = true;
    AnalysisController analysis(engine, [&] { return english; });
    analysis.checkPuzzle(record(kBackRank), {12, 0});
    QCOMPARE(analysis.work(), AnalysisController::Work::Check);
    QTRY_COMPARE(analysis.work(), AnalysisController::Work::None);
    QCOMPARE(analysis.line(), QString("Unique: 1. Ra8# mates in 1"));
    english = false;
    analysis.languageChanged();
    QCOMPARE(analysis.line(), QString::fromUtf8("Eindeutig: 1. Ta8# setzt in 1 Zug matt"));
    // The key was searched with a second line, then the other moves alone.
    QVERIFY(sent().contains("setoption name MultiPV value 2\n"));
    QVERIFY(sent().contains("go depth 12 searchmoves "));
    QVERIFY(!sent().contains("searchmoves a1a8"));
    // A change of the position takes the verdict away.
    analysis.positionChanged(record(kStart));
    QCOMPARE(analysis.line(), QString());
  }

  void commandsRunTheEngineOfTheSettings() {
    QWidget window;
    auto* line = new QLabel(&window);
    FakePlatform platform;
    const QString settings = dir_->filePath("kalmera.ini");
    {
      QFile f(settings);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(QByteArray("[Mode]\nLanguage=1\n[Engine]\nProgram=") +
              QFile::encodeName(fake("dies.sh")) + "\n");
    }
    PositionRecord position = record(kStart);
    EngineCommands commands(&window, platform, [&] { return position; }, line, [] {
      return true;
    });
    commands.setSettingsFile(settings);
    QCOMPARE(commands.analyse()->text(), QString("&Analyse"));
    QCOMPARE(commands.analyse()->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(commands.stop()->shortcut(), QKeySequence(Qt::Key_Escape));
    QVERIFY(!commands.stop()->isEnabled());
    QVERIFY(line->isHidden());

    commands.analyse()->trigger();
    QVERIFY(commands.analyse()->isChecked());
    QVERIFY(commands.stop()->isEnabled());
    // The engine dies at its search: the line says so and analysis is off.
    QTRY_COMPARE(line->text(), QString("The engine ended unexpectedly (exit status 3)."));
    QVERIFY(!commands.analyse()->isChecked());
    QVERIFY(!commands.stop()->isEnabled());
    QVERIFY(!line->isHidden());
    QVERIFY(!commands.engine().running());
  }

  void dialogEditsAndStoresTheSettings() {
    QWidget window;
    auto* line = new QLabel(&window);
    FakePlatform platform;
    const QString settings = dir_->filePath("kalmera.ini");
    {
      QFile f(settings);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("[Mode]\nLanguage=1\n");
    }
    EngineCommands commands(&window, platform, [] { return record(kStart); }, line,
                            [] { return true; });
    commands.setSettingsFile(settings);
    QCOMPARE(commands.settings(), EngineSettings{});
    platform.fileAnswers.push_back(fake("good.sh"));
    platform.dialogScript.push_back([](QDialog* d) {
      auto* dialog = static_cast<EngineDialog*>(d);
      // Its start values are the settings'.
      if (dialog->threadsBox()->value() != 1 || !dialog->programEdit()->text().isEmpty()) {
        return int(QDialog::Rejected);
      }
      dialog->chooseProgram();
      dialog->findChild<QSpinBox*>("SpnEngineThreads")->setValue(3);
      dialog->findChild<QSpinBox*>("SpnEngineHash")->setValue(128);
      dialog->findChild<QSpinBox*>("SpnCheckDepth")->setValue(15);
      dialog->findChild<QSpinBox*>("SpnCheckSeconds")->setValue(20);
      return int(QDialog::Accepted);
    });
    commands.engineSettings()->trigger();
    EngineSettings expected;
    expected.program = fake("good.sh").toStdString();
    expected.threads = 3;
    expected.hashMb = 128;
    expected.checkDepth = 15;
    expected.checkSeconds = 20;
    QCOMPARE(commands.settings(), expected);
    QFile f(settings);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.startsWith("[Mode]\nLanguage=1\n"));
    QVERIFY(text.contains("[Engine]\nProgram=" + QFile::encodeName(fake("good.sh")) +
                          "\nThreads=3\nHash=128\nCheckDepth=15\nCheckSeconds=20\n"));

    // Cancel changes nothing.
    platform.dialogScript.push_back([](QDialog* d) {
      d->findChild<QSpinBox*>("SpnEngineThreads")->setValue(7);
      return int(QDialog::Rejected);
    });
    commands.engineSettings()->trigger();
    QCOMPARE(commands.settings().threads, 3);
  }

  void dialogHasItsControlsAndTexts() {
    FakePlatform platform;
    EngineDialog dialog(platform);
    for (const char* name : {"EdtEnginePath", "ButEnginePath", "SpnEngineThreads",
                             "SpnEngineHash", "SpnCheckDepth", "SpnCheckSeconds", "ButOK",
                             "ButCancel"}) {
      QVERIFY2(dialog.findChild<QWidget*>(name) != nullptr, name);
    }
    dialog.setLanguage(true);
    QCOMPARE(dialog.windowTitle(), QString("Chess Engine"));
    dialog.setLanguage(false);
    QCOMPARE(dialog.windowTitle(), QString("Schach-Engine"));
    QCOMPARE(dialog.findChild<QSpinBox*>("SpnEngineThreads")->minimum(), 1);
    QCOMPARE(dialog.findChild<QSpinBox*>("SpnCheckSeconds")->minimum(), 0);
  }

  void solveAllGivesEachEntryItsOperations() {
    CollectionSolver solver;
    solver.setProgram(fake("good.sh"), 2, 16);
    std::vector<EntrySolution> solutions;
    bool cancelled = true;
    int lastDone = 0;
    connect(&solver, &CollectionSolver::progressed, [&](int done, int) { lastDone = done; });
    connect(&solver, &CollectionSolver::finished,
            [&](const std::vector<EntrySolution>& s, bool c) {
              solutions = s;
              cancelled = c;
            });
    solver.start({record(kStart), record("8/8/8/8/8/8/8/8 w - - 0 1"), record(kBackRank)},
                 {8, 0}, Language::English);
    QVERIFY(solver.running());
    QTRY_VERIFY(!solver.running());
    QVERIFY(!cancelled);
    QCOMPARE(lastDone, 3);
    QCOMPARE(solutions.size(), std::size_t(3));
    QCOMPARE(solutions[0].operations.front().text(), std::string_view("bm e4;"));
    QVERIFY(solutions[1].operations.empty());
    QCOMPARE(solutions[1].problem, QString("White and Black have no king."));
    QCOMPARE(solutions[2].operations.back().text(), std::string_view("dm 1;"));
  }

  void solveAllCanBeCancelled() {
    CollectionSolver solver;
    solver.setProgram(fake("hangs.sh"), 1, 16);
    bool cancelled = false;
    std::size_t count = 0;
    connect(&solver, &CollectionSolver::finished,
            [&](const std::vector<EntrySolution>& s, bool c) {
              cancelled = c;
              count = s.size();
            });
    solver.start({record(kStart), record(kBackRank)}, {0, 0}, Language::English);
    QTest::qWait(200);
    solver.cancel();
    QVERIFY(cancelled);
    QCOMPARE(count, std::size_t(2));
    QVERIFY(!solver.running());
  }

  void solveAllWithoutAnEngineSaysSoForEveryEntry() {
    CollectionSolver solver;
    solver.setProgram(fake("missing.sh"), 2, 16);
    std::vector<EntrySolution> solutions;
    connect(&solver, &CollectionSolver::finished,
            [&](const std::vector<EntrySolution>& s, bool) { solutions = s; });
    std::vector<PositionRecord> positions(50, record(kStart));
    solver.start(positions, {5, 0}, Language::English);
    QTRY_VERIFY(!solver.running());
    QCOMPARE(solutions.size(), std::size_t(50));
    for (const EntrySolution& s : solutions) {
      QVERIFY(s.operations.empty());
      QVERIFY2(s.problem.startsWith("The engine could not be started"), qPrintable(s.problem));
    }
  }
};

QTEST_MAIN(EngineProcessTest)
#include "EngineProcessTest.moc"
