#include "job/ParallelConverter.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include "image/ImageResult.h"
#include "job/DestinationNaming.h"
#include "job/PathFunctions.h"
#include "job/SafeSave.h"
#include "platform/PathStatus.h"
#include "platform/TempFileCleanup.h"
#include "strings/StringTable.h"

namespace {

// A destination entry: the folder that holds it and its name.
using DestinationKey = std::pair<FileIdentity, std::string>;

// The folder that holds the entry: a prefix or suffix may itself hold a "/".
std::string ParentOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// How many decided items may wait ahead of the oldest unpublished one, per worker. Each
// waits as an encoded temporary file, not in memory.
constexpr std::size_t kWindowPerWorker = 4;

}  // namespace

struct ParallelConverter::Task {
  ConversionItem* item = nullptr;
  bool needsWork = false;  // false: decided on the calling thread (refused, no folder)
  bool done = false;       // the worker finished (guarded by the pool's mutex)
  bool cancelled = false;  // the run stopped before a worker took it
  std::optional<DestinationKey> key;
  // The worker's results.
  HRESULT code = S_OK;
  std::vector<int> progress;  // OnProgress percents reached, replayed in order
  EncodedTemp encoded;
};

struct ParallelConverter::Pool {
  std::mutex mutex;
  std::condition_variable workReady;  // a task was queued, or the pool is closing
  std::condition_variable taskDone;
  std::deque<Task> window;  // decided, not yet published, in list order
  std::deque<Task*> queue;  // tasks waiting for a worker
  std::multiset<DestinationKey> inFlight;
  bool closing = false;
  std::vector<std::thread> threads;
};

namespace {

// Load, transform and encode one item, as ConvertFile does between its check and its
// save; the item's sizes and log are filled here, the rename is left to the caller.
void Work(ConversionItem& item, const ConversionSettings& settings, ImageBuffer& image,
          HRESULT& code, std::vector<int>& progress, EncodedTemp& encoded) {
  image.Release();
  image.SetCameraOptions(settings.autoRotate, settings.keepMetadata);
  const HRESULT loaded = image.Load(item.sourcePath, item.pageIndex);
  progress.push_back(30);
  if (Failed(loaded)) {
    item.log = LoadFailureText(item.sourcePath, loaded);
    code = loaded;
    return;
  }
  item.width = image.Width();
  item.height = image.Height();
  item.bitDepth = image.Bpp();
  if (Failed(image.ApplySettings(settings))) {
    item.log = FormatText(Ids::ResizeFailed, item.sourcePath);
    code = E_FAIL;
    image.Release();
    return;
  }
  progress.push_back(70);
  code = EncodeToTemp(image, item.destPath, EncoderOptionsFor(settings), encoded);
  item.newBitDepth = image.Bpp();
  item.newWidth = image.Width();
  item.newHeight = image.Height();
  progress.push_back(90);
  if (Failed(code)) item.log = FormatText(Ids::SaveFailed, item.destPath);
  image.Release();  // the picture is done with: memory stays bounded by the workers
}

}  // namespace

ParallelConverter::Task ParallelConverter::Decide(ConversionItem& item,
                                                  const ConversionSettings& settings, Pool& pool) {
  Task task;
  task.item = &item;
  OnItemStart(item, {});
  ++processed;
  item.destPath.clear();
  const std::string folder = DestinationFolderFor(item, settings);
  if (!FolderExists(folder)) {
    // Creating a folder may meet a file an earlier item writes: decide it after them.
    PublishReady(pool, settings, true);
    if (!CreateFolderPath(folder)) {
      item.log = FormatText(Ids::CreateFolderFailed, folder);
      item.status = ItemStatus::Failed;
      return task;
    }
  }
  item.destPath = BuildDestinationPath(item, settings, item.pageIndex, item.pageCount);
  OnItemStart(item, item.destPath);
  if (auto id = TargetIdentity(ParentOf(item.destPath)))
    task.key = DestinationKey{*id, FileNameOf(item.destPath)};
  // Whether the destination exists or was written by this run depends on every earlier
  // item with the same destination: those are published first.
  bool wait = !task.key;
  {
    std::lock_guard<std::mutex> lock(pool.mutex);
    if (task.key && pool.inFlight.count(*task.key)) wait = true;
  }
  if (wait) PublishReady(pool, settings, true);
  const bool refused = settings.override ? runCollisions_.Forbidden(item, item.destPath)
                                         : EntryExists(item.destPath);
  if (refused) {
    item.log = FormatText(Ids::FileExists, item.destPath);
    item.status = ItemStatus::Failed;
    return task;
  }
  task.needsWork = true;
  return task;
}

void ParallelConverter::Publish(Task& task, const ConversionSettings& settings) {
  ConversionItem& item = *task.item;
  if (task.needsWork) {
    for (int percent : task.progress) OnProgress(item, percent);
    bool ok = Succeeded(task.code);
    if (ok) {
      const SafeSaveResult saved = PublishTemp(task.encoded, item.destPath, settings.override);
      ok = !saved.destinationExists && Succeeded(saved.code);
      if (saved.destinationExists) {  // appeared after the check: still never overwritten
        item.log = FormatText(Ids::FileExists, item.destPath);
      } else if (!ok) {
        item.log = FormatText(Ids::SaveFailed, item.destPath);
      } else {
        runCollisions_.Written(item.destPath);
        item.log = FormatText(Ids::Converted, item.sourcePath, item.destPath);
      }
    }
    item.status = ok ? ItemStatus::Succeeded : ItemStatus::Failed;
  }
  if (item.status == ItemStatus::Succeeded) {
    ++succeeded;
  } else {
    ++failed;
  }
  OnItemDone(item);
}

void ParallelConverter::PublishReady(Pool& pool, const ConversionSettings& settings, bool all) {
  for (;;) {
    Task task;
    {
      std::unique_lock<std::mutex> lock(pool.mutex);
      if (all)
        pool.taskDone.wait(lock, [&] { return pool.window.empty() || pool.window.front().done; });
      if (pool.window.empty() || !pool.window.front().done || pool.window.front().cancelled) return;
      task = std::move(pool.window.front());
      pool.window.pop_front();
      if (task.key && task.needsWork) pool.inFlight.erase(pool.inFlight.find(*task.key));
    }
    Publish(task, settings);
  }
}

HRESULT ParallelConverter::RunParallel(const std::vector<ConversionItem*>& items,
                                       const ConversionSettings& settings, int workers) {
  if (workers <= 1) return Run(items, settings);
  total = static_cast<int>(items.size());
  runCollisions_.Begin(items);
  Pool pool;
  for (int i = 0; i < workers; ++i) {
    pool.threads.emplace_back([&pool, &settings] {
      ImageBuffer image;
      std::unique_lock<std::mutex> lock(pool.mutex);
      for (;;) {
        pool.workReady.wait(lock, [&] { return pool.closing || !pool.queue.empty(); });
        if (pool.queue.empty()) return;
        Task* task = pool.queue.front();
        pool.queue.pop_front();
        lock.unlock();
        Work(*task->item, settings, image, task->code, task->progress, task->encoded);
        lock.lock();
        task->done = true;
        pool.taskDone.notify_all();
      }
    });
  }
  const std::size_t window = kWindowPerWorker * static_cast<std::size_t>(workers);
  for (ConversionItem* item : items) {
    if (stop || PendingSignal()) break;
    {
      // Keep the window bounded: wait for the oldest task when it is full.
      std::unique_lock<std::mutex> lock(pool.mutex);
      if (pool.window.size() >= window) {
        lock.unlock();
        PublishReady(pool, settings, false);
        lock.lock();
        pool.taskDone.wait(lock,
                           [&] { return pool.window.size() < window || pool.window.front().done; });
      }
    }
    PublishReady(pool, settings, false);
    Task task = Decide(*item, settings, pool);
    std::lock_guard<std::mutex> lock(pool.mutex);
    if (!task.needsWork) task.done = true;
    pool.window.push_back(std::move(task));
    Task& placed = pool.window.back();  // deque elements stay put when others are added
    if (placed.needsWork) {
      if (placed.key) pool.inFlight.insert(*placed.key);
      pool.queue.push_back(&placed);
      pool.workReady.notify_one();
    }
  }
  if (stop || PendingSignal()) {
    // Items no worker has taken are not started after all, as in a run that stopped before
    // them; neither is any item decided after the first of them.
    std::lock_guard<std::mutex> lock(pool.mutex);
    for (Task* task : pool.queue) task->cancelled = task->done = true;
    pool.queue.clear();
  }
  PublishReady(pool, settings, true);
  for (Task& task : pool.window) {  // what is left was never started
    ConversionItem& item = *task.item;
    item.status = ItemStatus::NotStarted;
    item.log.clear();
    item.destPath.clear();
    --processed;
  }
  {
    std::lock_guard<std::mutex> lock(pool.mutex);
    pool.closing = true;
    pool.workReady.notify_all();
  }
  for (std::thread& thread : pool.threads) thread.join();
  runCollisions_.Clear();
  if (PendingSignal()) EndByPendingSignal();
  return S_OK;
}
