#include "ui/frame/AppSession.h"

#include "settings/SettingsSerializer.h"

void AppSession::Load() { LoadAll(store, settings); }

void AppSession::Save() { SaveAll(store, settings); }
