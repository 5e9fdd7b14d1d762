// The messages between a run and its worker processes, and their bytes on the pipe.
// A worker first receives the run's settings, then one WorkOrder at a time; for each order
// it answers with WorkReports: one when the page is loaded (percent 30, with the loaded
// size), one when the steps are done (70), and the final one (percent 100) with the
// outcome. Every field is written as little-endian 32-bit numbers or length-prefixed
// text; a message that does not decode whole is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Result.h"
#include "settings/ConversionSettings.h"

// One page to convert: read `sourcePath` page `pageIndex`, write the picture into
// `tempPath` (a file the run created beside the destination; empty when it could not be
// created, which fails the save).
struct WorkOrder {
  std::uint32_t id = 0;
  std::string sourcePath;
  int pageIndex = 0;
  std::string tempPath;
};

// Where an order failed; None when it succeeded.
enum class WorkStage : int { None = 0, Load = 1, Steps = 2, Save = 3 };

struct WorkReport {
  std::uint32_t id = 0;
  int percent = 0;  // 30, 70, or 100 for the outcome
  WorkStage failedAt = WorkStage::None;
  HRESULT code = S_OK;
  int width = -1, height = -1, bitDepth = -1;           // as loaded (from 30 on)
  int newWidth = -1, newHeight = -1, newBitDepth = -1;  // as saved (at 100)
};

std::string EncodeOrder(const WorkOrder& order);
std::optional<WorkOrder> DecodeOrder(const std::string& bytes);
std::string EncodeReport(const WorkReport& report);
std::optional<WorkReport> DecodeReport(const std::string& bytes);

// The settings as text (the store's format); the overlay picture is not part of it.
std::string EncodeSettings(const ConversionSettings& settings);
// The settings from that text, every field that travelled; the overlay is not loaded.
ConversionSettings DecodeSettings(const std::string& text);
