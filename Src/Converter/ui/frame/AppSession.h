// AppSession: what the windowed program keeps for its whole session: the settings store,
// the AppSettings record loaded from it, and the ConversionList model. The application
// object owns one; tests make their own over a store file of their choosing.
#pragma once

#include <memory>
#include <string>

#include "platform/RegistryStore.h"
#include "settings/AppSettings.h"
#include "ui/list/ConversionList.h"

struct AppSession {
  explicit AppSession(std::string storePath) : store(std::move(storePath)) {}

  // Reads the settings from the store file (creating its keys on a first start).
  void Load();
  // Writes the settings, with the bar state recorded at close, to the store file.
  void Save();

  RegistryStore store;
  AppSettings settings;
  std::unique_ptr<ConversionList> list = std::make_unique<ConversionList>();
};
