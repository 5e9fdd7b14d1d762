// Conversion items for the list tests, with and without a window.
#pragma once

#include <memory>
#include <string>

#include "job/ConversionItem.h"

// An item with the given status: /pictures/<name>.png converted to /converted/<name>.jpg.
inline std::unique_ptr<ConversionItem> MakeItem(const std::string& name, int status) {
  auto item = std::make_unique<ConversionItem>();
  item->sourcePath = "/pictures/" + name + ".png";
  item->destPath = "/converted/" + name + ".jpg";
  item->status = status;
  return item;
}
