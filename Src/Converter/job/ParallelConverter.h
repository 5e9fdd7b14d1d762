// ParallelConverter: an ImageConverter that can also run a list with a pool of workers.
// Everything order-dependent stays on the calling thread, item by item in list order:
// the destination folder, the destination path, the existence check, the override rule
// and the collisions inside the run. Workers only load, transform and encode into a
// temporary file; the calling thread renames the results into place and calls
// OnItemDone in list order. So statuses, log texts, counters and files are those of Run.
//
// Two items whose destinations are the same entry never run at once: the later one is
// decided only after every earlier item has been published, as is an item whose
// destination folder must first be created. A signal (see DeferSignals) stops the
// starting of new items; those in flight are finished and reported, and the process then
// ends by that signal.
#pragma once

#include <string>
#include <vector>

#include "job/ImageConverter.h"
#include "job/RunCollisions.h"

class ParallelConverter : public ImageConverter {
 public:
  // Converts the items with `workers` threads; 1 or less is Run itself. Returns 0.
  HRESULT RunParallel(const std::vector<ConversionItem*>& items, const ConversionSettings& settings,
                      int workers);

 private:
  struct Task;
  struct Pool;
  // Decides one item on this thread; returns its task, which may need no worker.
  Task Decide(ConversionItem& item, const ConversionSettings& settings, Pool& pool);
  // Renames a finished task's picture into place, fills the item and reports it.
  void Publish(Task& task, const ConversionSettings& settings);
  // Publishes finished tasks from the front of the pool's window; with `all`, waits for
  // every task in it first.
  void PublishReady(Pool& pool, const ConversionSettings& settings, bool all);

  RunCollisions runCollisions_;
};
