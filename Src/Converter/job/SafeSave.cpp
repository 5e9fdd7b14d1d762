#include "job/SafeSave.h"

#include <limits.h>

#include "job/PathFunctions.h"
#include "platform/TempFile.h"
#include "platform/TempFileCleanup.h"

HRESULT PrepareTemp(const std::string& dest, EncodedTemp& out) {
  out = {};
  const std::string name = FileNameOf(dest);
  if (name.empty() || name.size() > NAME_MAX || dest.size() >= PATH_MAX) return E_FAIL;
  const auto slash = dest.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : dest.substr(0, slash + 1);
  const std::string extension = ExtensionOf(name);
  const std::string temp =
      CreateTempFile(folder, TitleOf(name), extension.empty() ? "" : "." + extension);
  if (temp.empty()) return E_FAIL;
  out = {temp, NoteTempFileNote(temp)};
  return S_OK;
}

SafeSaveResult PublishTemp(EncodedTemp& temp, const std::string& dest, bool replace) {
  const MoveResult moved = MoveIntoPlace(temp.path, dest, replace);
  ForgetTempFileNote(temp.note);
  temp = {};
  switch (moved) {
    case MoveResult::Moved: return {S_OK, false};
    case MoveResult::DestinationExists: return {E_FAIL, true};
    case MoveResult::Failed: break;
  }
  return {E_FAIL, false};
}

void DiscardTemp(EncodedTemp& temp) {
  if (temp.path.empty()) return;
  RemoveFileEntry(temp.path);
  ForgetTempFileNote(temp.note);
  temp = {};
}
