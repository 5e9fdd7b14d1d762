#include "job/ConversionPipeline.h"

#include <algorithm>
#include <chrono>
#include <csignal>

#include "image/ImageResult.h"
#include "job/DestinationNaming.h"
#include "job/ItemTimeLimit.h"
#include "job/PathFunctions.h"
#include "job/WorkerEntry.h"
#include "platform/process/FrameChannel.h"
#include "platform/PathStatus.h"
#include "platform/TempFileCleanup.h"
#include "strings/StringTable.h"

namespace {

using State = PipelineTask::State;

constexpr const char* kAbandoned = "the conversion was given up";

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The folder that holds the entry: a prefix or suffix may itself hold a "/".
std::string ParentOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

PipelineTask Cancelled(PipelineTask& task) {
  task.state = State::Cancelled;
  return std::move(task);
}

bool Reached(const PipelineTask& task, int percent) {
  return std::find(task.percents.begin(), task.percents.end(), percent) != task.percents.end();
}

// The log text of an item whose worker died: by the stage it had reached and the cause.
std::string DeathText(const PipelineTask& task, bool timedOut, const ChildEnd& end) {
  // SIGKILL that the run did not send comes from the kernel's out-of-memory killer.
  const bool outOfMemory =
      (end.exited && end.code == kWorkerOutOfMemoryExit) || (!timedOut && end.signal == SIGKILL);
  const bool loaded = Reached(task, 30);
  int id = loaded ? Ids::WorkCrashed : Ids::LoadCrashed;
  if (timedOut) id = loaded ? Ids::WorkTimedOut : Ids::LoadTimedOut;
  if (outOfMemory) id = loaded ? Ids::WorkOutOfMemory : Ids::LoadOutOfMemory;
  return FormatText(id, task.item->sourcePath);
}

}  // namespace

ConversionPipeline::ConversionPipeline(ImageConverter& converter,
                                       const ConversionSettings& settings, const RunBudget& budget)
    : converter_(converter),
      settings_(settings),
      settingsText_(EncodeSettings(settings)),
      budget_(budget) {
  for (int i = 0; i < std::max(budget.workers, 1); ++i)
    workers_.push_back(std::make_unique<WorkerProcess>());
  busy_.assign(workers_.size(), nullptr);
}

ConversionPipeline::~ConversionPipeline() {
  for (PipelineTask& task : window_) DiscardTemp(task.temp);
}

bool ConversionPipeline::Stopping() const {
  return converter_.stop || converter_.abandon || PendingSignal();
}

void ConversionPipeline::Run(const std::vector<ConversionItem*>& items) {
  collisions_.Begin(items);
  const std::size_t windowSize = kWindowPerWorker * workers_.size();
  for (ConversionItem* item : items) {
    if (Stopping()) break;
    while (window_.size() >= windowSize && !Stopping()) Pump();
    if (Stopping()) break;
    window_.push_back(Decide(*item));
    Dispatch();
    PublishReady();
  }
  DrainAll();
  RevertUnstarted();
  for (auto& worker : workers_) worker->Stop();
  collisions_.Clear();
  if (PendingSignal()) EndByPendingSignal();
}

PipelineTask ConversionPipeline::Decide(ConversionItem& item) {
  PipelineTask task;
  task.item = &item;
  task.id = nextId_++;
  task.state = State::Done;
  const std::string folder = DestinationFolderFor(item, settings_);
  if (!FolderExists(folder)) {
    // Creating a folder may meet a file an earlier item writes: decide it after them.
    DrainAll();
    if (Stopping()) return Cancelled(task);
    if (!ImageConverter::CreateFolderPath(folder)) {
      task.refusal = FormatText(Ids::CreateFolderFailed, folder);
      return task;
    }
  }
  task.hasDestination = true;
  task.destPath = BuildDestinationPath(item, settings_, item.pageIndex, item.pageCount);
  if (auto id = TargetIdentity(ParentOf(task.destPath)))
    task.key = DestinationKey{*id, FileNameOf(task.destPath)};
  // Whether the destination exists or was written by this run depends on every earlier
  // item with the same destination: those are published first.
  if (!task.key || inFlight_.count(*task.key)) DrainAll();
  if (Stopping()) return Cancelled(task);
  // Any entry counts as existing, also one that cannot be read or a dangling link. With
  // override, a file that another item reads or that this run wrote is still kept.
  const bool refused =
      settings_.override ? collisions_.Forbidden(item, task.destPath) : EntryExists(task.destPath);
  if (refused) {
    task.refusal = FormatText(Ids::FileExists, task.destPath);
    return task;
  }
  task.needsWork = true;
  task.state = State::Queued;
  if (task.key) inFlight_.insert(*task.key);
  return task;
}

int ConversionPipeline::WorkerFor(const PipelineTask& task) const {
  // The worker that had this file last keeps it: its next page loads without reopening
  // the document. Wait for that worker rather than give the page to another.
  for (std::size_t w = 0; w < workers_.size(); ++w)
    if (workers_[w]->Running() && workers_[w]->lastSource == task.item->sourcePath)
      return busy_[w] ? -1 : static_cast<int>(w);
  // Otherwise an idle worker, preferring one already running.
  int idle = -1;
  for (std::size_t w = 0; w < workers_.size(); ++w) {
    if (busy_[w]) continue;
    if (workers_[w]->Running()) return static_cast<int>(w);
    if (idle < 0) idle = static_cast<int>(w);
  }
  return idle;
}

void ConversionPipeline::Dispatch() {
  for (PipelineTask& task : window_) {
    if (std::find(busy_.begin(), busy_.end(), nullptr) == busy_.end()) return;
    if (task.state != State::Queued || (Stopping() && !task.presented)) continue;
    const int worker = WorkerFor(task);
    if (worker >= 0) StartWork(task, worker);
  }
}

void ConversionPipeline::StartWork(PipelineTask& task, int worker) {
  WorkerProcess& process = *workers_[worker];
  task.state = State::Running;
  task.worker = worker;
  busy_[worker] = &task;
  // A failed creation leaves the path empty; the worker then fails the save, as a save
  // into a folder that refuses files would.
  PrepareTemp(task.destPath, task.temp);
  task.startedMs = NowMs();
  task.limitMs = ItemTimeLimitMs(settings_.timeoutSeconds, task.item->fileSize, 0);
  const WorkOrder order{task.id, task.item->sourcePath, task.item->pageIndex, task.temp.path};
  if (Failed(process.EnsureStarted(settingsText_, budget_.workerMemoryBytes)) ||
      !process.Send(order))
    WorkerDied(worker, false);
}

void ConversionPipeline::Pump() {
  if (converter_.abandon) return AbandonWork();
  Dispatch();
  std::vector<int> fds;
  std::vector<int> owners;
  std::int64_t wait = kWaitTickMs;
  const std::int64_t now = NowMs();
  for (std::size_t w = 0; w < workers_.size(); ++w) {
    if (!busy_[w]) continue;
    fds.push_back(workers_[w]->ReplyFd());
    owners.push_back(static_cast<int>(w));
    if (busy_[w]->limitMs >= 0)
      wait =
          std::min(wait, std::max<std::int64_t>(busy_[w]->startedMs + busy_[w]->limitMs - now, 0));
  }
  if (!fds.empty()) {
    const int ready =
        WaitReadable(fds.data(), static_cast<int>(fds.size()), static_cast<int>(wait));
    if (ready >= 0) Receive(owners[ready]);
    EnforceTimeLimits();
  }
  if (converter_.abandon) return AbandonWork();
  PublishReady();
}

void ConversionPipeline::AbandonWork() {
  for (std::size_t w = 0; w < workers_.size(); ++w) {
    PipelineTask* task = busy_[w];
    if (!task) continue;
    workers_[w]->Kill();
    WorkerDied(static_cast<int>(w), false);
    task->deathText = kAbandoned;
  }
  for (PipelineTask& task : window_) {
    if (task.state != State::Queued) continue;
    task.deathText = kAbandoned;
    task.state = State::Done;
  }
  PublishReady();
}

void ConversionPipeline::Receive(int worker) {
  PipelineTask* task = busy_[worker];
  WorkReport report;
  if (!workers_[worker]->Receive(report) || report.id != task->id) {
    workers_[worker]->Kill();  // dead, or no longer speaking the protocol
    WorkerDied(worker, false);
    return;
  }
  if (report.percent == 30) {
    task->loaded = report;
    task->limitMs =
        ItemTimeLimitMs(settings_.timeoutSeconds, task->item->fileSize,
                        std::int64_t{std::max(report.width, 0)} * std::max(report.height, 0));
  }
  if (report.percent == 100) {
    task->outcome = report;
    // A save was attempted: the item reached 90 whether or not it succeeded.
    if (report.failedAt == WorkStage::None || report.failedAt == WorkStage::Save)
      task->percents.push_back(90);
    task->state = State::Done;
    busy_[worker] = nullptr;
  } else {
    task->percents.push_back(report.percent);
  }
  if (task->presented) Present(*task);  // the oldest item shows its progress as it goes
}

void ConversionPipeline::WorkerDied(int worker, bool timedOut) {
  const ChildEnd end = workers_[worker]->Reap();
  PipelineTask* task = busy_[worker];
  busy_[worker] = nullptr;
  if (!task) return;
  task->deathText = DeathText(*task, timedOut, end);
  task->state = State::Done;
}

void ConversionPipeline::EnforceTimeLimits() {
  const std::int64_t now = NowMs();
  for (std::size_t w = 0; w < workers_.size(); ++w) {
    const PipelineTask* task = busy_[w];
    if (!task || task->limitMs < 0 || now < task->startedMs + task->limitMs) continue;
    workers_[w]->Kill();
    WorkerDied(static_cast<int>(w), true);
  }
}

void ConversionPipeline::PublishReady() {
  while (!window_.empty() && window_.front().state != State::Cancelled) {
    PipelineTask& front = window_.front();
    if (!front.presented && Stopping()) return CancelUnpresented();
    Present(front);
    if (front.state != State::Done) return;
    Publish(front);
    if (front.key && front.needsWork) inFlight_.erase(inFlight_.find(*front.key));
    window_.pop_front();
  }
}

void ConversionPipeline::DrainAll() {
  while (!window_.empty() && window_.front().state != State::Cancelled) {
    PublishReady();
    if (!window_.empty() && window_.front().state != State::Cancelled) Pump();
  }
}

void ConversionPipeline::Present(PipelineTask& task) {
  ConversionItem& item = *task.item;
  if (!task.presented) {
    task.presented = true;
    ++converter_.processed;
    item.destPath.clear();  // a failure before the path is built reports no destination
    converter_.OnItemStart(item, {});
    if (task.hasDestination) {
      item.destPath = task.destPath;
      converter_.OnItemStart(item, item.destPath);
    }
  }
  while (task.percentsShown < task.percents.size())
    converter_.OnProgress(item, task.percents[task.percentsShown++]);
}

void ConversionPipeline::Publish(PipelineTask& task) {
  ConversionItem& item = *task.item;
  bool ok = false;
  if (!task.needsWork) {
    item.log = task.refusal;
  } else if (!task.deathText.empty()) {
    item.log = task.deathText;
  } else {
    const WorkReport& r = task.outcome;
    if (r.failedAt != WorkStage::Load) {
      item.width = r.width;
      item.height = r.height;
      item.bitDepth = r.bitDepth;
    }
    if (r.failedAt == WorkStage::None || r.failedAt == WorkStage::Save) {
      item.newWidth = r.newWidth;
      item.newHeight = r.newHeight;
      item.newBitDepth = r.newBitDepth;
    }
    switch (r.failedAt) {
      case WorkStage::Load: item.log = LoadFailureText(item.sourcePath, r.code); break;
      case WorkStage::Steps: item.log = FormatText(Ids::ResizeFailed, item.sourcePath); break;
      case WorkStage::Save: item.log = FormatText(Ids::SaveFailed, item.destPath); break;
      case WorkStage::None: {
        const SafeSaveResult saved = PublishTemp(task.temp, item.destPath, settings_.override);
        ok = !saved.destinationExists && Succeeded(saved.code);
        if (saved.destinationExists) {  // appeared after the check: still never overwritten
          item.log = FormatText(Ids::FileExists, item.destPath);
        } else if (!ok) {
          item.log = FormatText(Ids::SaveFailed, item.destPath);
        } else {
          collisions_.Written(item.destPath);
          item.log = FormatText(Ids::Converted, item.sourcePath, item.destPath);
        }
        break;
      }
    }
  }
  DiscardTemp(task.temp);
  // A worker that died after the load still tells the loaded size.
  if (!task.deathText.empty() && Reached(task, 30) && task.loaded.width >= 0) {
    item.width = task.loaded.width;
    item.height = task.loaded.height;
    item.bitDepth = task.loaded.bitDepth;
  }
  item.status = ok ? ItemStatus::Succeeded : ItemStatus::Failed;
  ++(ok ? converter_.succeeded : converter_.failed);
  converter_.OnItemDone(item);
}

void ConversionPipeline::CancelUnpresented() {
  for (PipelineTask& task : window_) {
    if (task.presented) continue;
    if (task.state == State::Running) {
      workers_[task.worker]->Kill();
      workers_[task.worker]->Reap();
      busy_[task.worker] = nullptr;
    }
    task.state = State::Cancelled;
  }
}

void ConversionPipeline::RevertUnstarted() {
  for (PipelineTask& task : window_) {  // what is left was never started
    DiscardTemp(task.temp);
    if (task.key && task.needsWork) inFlight_.erase(inFlight_.find(*task.key));
  }
  window_.clear();
}
