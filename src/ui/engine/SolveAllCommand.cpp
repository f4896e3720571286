#include "ui/engine/SolveAllCommand.h"

#include <QAction>
#include <QMenu>
#include <QProgressDialog>
#include <QWidget>

#include "ui/collection/CollectionWorkspace.h"
#include "ui/engine/EngineCommands.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"

namespace kalmera {

SolveAllCommand::SolveAllCommand(QWidget* window, Platform& platform, EngineCommands& engine,
                                 CollectionWorkspace& collections, std::function<bool()> english)
    : QObject(window),
      window_(window),
      platform_(platform),
      engine_(engine),
      collections_(collections),
      english_(std::move(english)) {
  action_ = new QAction(window);
  action_->setObjectName("ActSolveAll");
  connect(action_, &QAction::triggered, this, &SolveAllCommand::run);
  if (QMenu* menu = collections_.listMenu()) {
    menu->addSeparator();
    menu->addAction(action_);
  }
  setLanguage();
}

QString SolveAllCommand::text(std::string_view english, std::string_view german) const {
  return uiText(english_() ? english : german);
}

void SolveAllCommand::setLanguage() { action_->setText(text("Solve all ...", "Alle lösen ...")); }

void SolveAllCommand::run() {
  if (running() || !collections_.isOpen()) return;
  std::vector<PositionRecord> positions;
  rows_.clear();
  const Collection& c = collections_.collection();
  for (std::size_t row = 0; row < c.size(); ++row) {
    if (!c.entry(row).isPosition()) continue;
    rows_.push_back(int(row));
    positions.push_back(c.entry(row).record());
  }
  if (positions.empty()) return;
  solver_ = engine_.makeCollectionSolver(this);
  progress_ = new QProgressDialog(window_);
  progress_->setObjectName("solveProgress");
  progress_->setWindowTitle(text("Solve all", "Alle lösen"));
  progress_->setLabelText(text("The engine searches every position of the collection.",
                               "Die Engine durchsucht jede Stellung der Sammlung."));
  progress_->setCancelButtonText(text("Cancel", "Abbrechen"));
  progress_->setRange(0, int(positions.size()));
  progress_->setMinimumDuration(0);
  progress_->setWindowModality(Qt::WindowModal);
  connect(progress_, &QProgressDialog::canceled, solver_, &CollectionSolver::cancel);
  connect(solver_, &CollectionSolver::progressed, progress_, [this](int done, int) {
    if (progress_ != nullptr) progress_->setValue(done);
  });
  connect(solver_, &CollectionSolver::finished, this, &SolveAllCommand::finished);
  progress_->show();
  solver_->start(std::move(positions), engine_.checkLimit(),
                 english_() ? Language::English : Language::German);
}

void SolveAllCommand::finished(const std::vector<EntrySolution>& solutions, bool cancelled) {
  std::vector<std::pair<int, Entry>> changed;
  QStringList problems;
  const Collection& c = collections_.collection();
  for (std::size_t i = 0; i < solutions.size() && i < rows_.size(); ++i) {
    const int row = rows_[i];
    if (row >= int(c.size())) continue;
    if (solutions[i].operations.empty()) {
      if (!solutions[i].problem.isEmpty()) problems << QString("%1. %2").arg(row + 1).arg(solutions[i].problem);
      continue;
    }
    Entry entry = c.entry(std::size_t(row));
    for (const EpdOperation& op : solutions[i].operations) entry.setOperation(op);
    changed.emplace_back(row, std::move(entry));
  }
  collections_.changeEntries(std::move(changed));
  if (progress_ != nullptr) progress_->deleteLater();
  progress_ = nullptr;
  solver_->deleteLater();
  solver_ = nullptr;
  if (!problems.isEmpty() && !cancelled) {
    platform_.showMessage(window_, window_->windowTitle(),
                          text("Not every position was solved:", "Nicht jede Stellung wurde gelöst:") +
                              "\n" + problems.mid(0, 20).join('\n'),
                          Platform::Icon::Information);
  }
}

}  // namespace kalmera
