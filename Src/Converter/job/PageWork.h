// The work stage of a conversion, the one place a page is decoded, transformed and
// encoded: it runs inside a worker process (see WorkerEntry), never in the process that
// decides and publishes. `image` is the worker's one ImageBuffer, kept across orders so
// that consecutive pages of one document load cheaply.
#pragma once

#include <functional>

#include "image/ImageBuffer.h"
#include "job/WorkMessages.h"
#include "settings/ConversionSettings.h"

// Loads the order's page (a source that is no longer a regular file fails the load
// without opening it in blocking mode), applies the settings and saves into the order's
// temporary file. `progress` hears the reports at 30 and 70; the outcome is returned.
// The picture is released afterwards; the temporary file is left for the run to publish
// or remove.
WorkReport ConvertPage(const WorkOrder& order, const ConversionSettings& settings,
                       ImageBuffer& image, const std::function<void(const WorkReport&)>& progress);
