// One item on its way through a run's pipeline: what was decided for it, where its work
// stands, and what the worker reported. The item itself is written only when the task is
// published, so the rest of the program sees items finish in list order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "job/ConversionItem.h"
#include "job/SafeSave.h"
#include "job/WorkMessages.h"
#include "platform/FolderListing.h"

// A destination entry: the folder that holds it and its name.
using DestinationKey = std::pair<FileIdentity, std::string>;

struct PipelineTask {
  enum class State {
    Queued,     // waiting for a worker
    Running,    // a worker has it
    Done,       // finished, or decided without work
    Cancelled,  // the run stopped before a worker took it
  };

  ConversionItem* item = nullptr;
  std::uint32_t id = 0;
  State state = State::Queued;

  // Decided.
  bool hasDestination = false;  // false when the destination folder could not be made
  std::string destPath;
  std::optional<DestinationKey> key;
  bool needsWork = false;
  std::string refusal;  // the log text of an item failed while deciding

  // Work.
  int worker = -1;
  EncodedTemp temp;
  std::int64_t startedMs = 0;
  std::int64_t limitMs = -1;  // -1: no time limit
  std::vector<int> percents;  // OnProgress values reached, in order
  WorkReport loaded;          // the report at 30: the loaded picture's size
  WorkReport outcome;         // the report at 100
  std::string deathText;      // the log text when the worker died with the item

  // Publication.
  bool presented = false;  // its hooks have started
  std::size_t percentsShown = 0;
};
