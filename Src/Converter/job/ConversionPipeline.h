// The pipeline behind ImageConverter::Run (see ImageConverter.h for what a run promises).
// It keeps a window of decided items in list order, hands their work to a pool of worker
// processes, waits for reports and time limits on this thread, and publishes the front of
// the window as it finishes. The window holds at most kWindowPerWorker items per worker:
// each waits as a temporary file on disk, not in memory.
//
// Two items whose destinations are the same entry never run at once: the later one is
// decided only after every earlier item has been published, as is an item whose
// destination folder must first be created.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "job/ImageConverter.h"
#include "job/PipelineTask.h"
#include "job/RunCollisions.h"
#include "job/WorkerCount.h"
#include "job/WorkerProcess.h"
#include "settings/ConversionSettings.h"

class ConversionPipeline {
 public:
  static constexpr std::size_t kWindowPerWorker = 4;
  // The longest single wait for a report, so stop requests and time limits are seen soon.
  static constexpr int kWaitTickMs = 50;

  ConversionPipeline(ImageConverter& converter, const ConversionSettings& settings,
                     const RunBudget& budget);
  ~ConversionPipeline();
  void Run(const std::vector<ConversionItem*>& items);

 private:
  bool Stopping() const;
  // Decide stage.
  PipelineTask Decide(ConversionItem& item);
  // Work stage: hands queued tasks to idle workers.
  void Dispatch();
  int WorkerFor(const PipelineTask& task) const;
  void StartWork(PipelineTask& task, int worker);
  // Waits up to one tick for a report or a time limit, handles it, publishes what is ready.
  void Pump();
  void Receive(int worker);
  void WorkerDied(int worker, bool timedOut);
  void EnforceTimeLimits();
  // After `abandon`: every worker is killed and every item not finished fails.
  void AbandonWork();
  // Publish stage.
  void PublishReady();
  void DrainAll();
  void Present(PipelineTask& task);
  void Publish(PipelineTask& task);
  // After a stop: every item whose hooks have not started is dropped, also one a worker
  // has or has finished, so the run ends as a one-at-a-time run stopped there would.
  void CancelUnpresented();
  void RevertUnstarted();

  ImageConverter& converter_;
  const ConversionSettings& settings_;
  const std::string settingsText_;
  const RunBudget budget_;
  RunCollisions collisions_;
  std::deque<PipelineTask> window_;  // decided, not yet published, in list order
  std::multiset<DestinationKey> inFlight_;
  std::vector<std::unique_ptr<WorkerProcess>> workers_;
  std::vector<PipelineTask*> busy_;  // the task each worker has, or nullptr
  std::uint32_t nextId_ = 1;
};
