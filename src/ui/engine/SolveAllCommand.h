// "Solve all" in the Collection menu: every position of the open collection
// searched by the engine (to the depth or time of "Check puzzle", several
// engines side by side), with a progress dialog and Cancel. What was found
// (bm, pv, ce, acd and, for a mate, dm; every other operation kept) goes into
// the entries as one undo step, also when the run was cancelled part-way.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "ui/engine/CollectionSolver.h"

class QAction;
class QProgressDialog;
class QWidget;

namespace kalmera {

class CollectionWorkspace;
class EngineCommands;
class Platform;

class SolveAllCommand : public QObject {
 public:
  SolveAllCommand(QWidget* window, Platform& platform, EngineCommands& engine,
                  CollectionWorkspace& collections, std::function<bool()> english);

  QAction* action() const { return action_; }
  void run();
  bool running() const { return solver_ != nullptr; }
  void setLanguage();

 private:
  void finished(const std::vector<EntrySolution>& solutions, bool cancelled);
  QString text(std::string_view english, std::string_view german) const;

  QWidget* window_;
  Platform& platform_;
  EngineCommands& engine_;
  CollectionWorkspace& collections_;
  std::function<bool()> english_;
  QAction* action_ = nullptr;
  CollectionSolver* solver_ = nullptr;
  QProgressDialog* progress_ = nullptr;
  std::vector<int> rows_;  // the collection's row of each position searched
};

}  // namespace kalmera
