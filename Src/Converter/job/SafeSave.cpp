#include "job/SafeSave.h"

#include <limits.h>

#include "job/PathFunctions.h"
#include "platform/TempFile.h"
#include "platform/TempFileCleanup.h"

SafeSaveResult SaveWhole(ImageBuffer& image, const std::string& dest, const EncoderOptions& options,
                         bool replace) {
  const std::string name = FileNameOf(dest);
  if (name.empty() || name.size() > NAME_MAX || dest.size() >= PATH_MAX) return {E_FAIL, false};
  const auto slash = dest.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : dest.substr(0, slash + 1);
  const std::string extension = ExtensionOf(name);
  const std::string temp =
      CreateTempFile(folder, TitleOf(name), extension.empty() ? "" : "." + extension);
  if (temp.empty()) return {E_FAIL, false};
  NoteTempFile(temp);
  const HRESULT saved = image.SaveAs(temp, options);
  if (Failed(saved)) {
    ForgetTempFile();
    RemoveFileEntry(temp);
    return {saved, false};
  }
  const MoveResult moved = MoveIntoPlace(temp, dest, replace);
  ForgetTempFile();
  switch (moved) {
    case MoveResult::Moved: return {S_OK, false};
    case MoveResult::DestinationExists: return {E_FAIL, true};
    case MoveResult::Failed: break;
  }
  return {E_FAIL, false};
}

HRESULT EncodeToTemp(ImageBuffer& image, const std::string& dest, const EncoderOptions& options,
                     EncodedTemp& out) {
  out = {};
  const std::string name = FileNameOf(dest);
  if (name.empty() || name.size() > NAME_MAX || dest.size() >= PATH_MAX) return E_FAIL;
  const auto slash = dest.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : dest.substr(0, slash + 1);
  const std::string extension = ExtensionOf(name);
  const std::string temp =
      CreateTempFile(folder, TitleOf(name), extension.empty() ? "" : "." + extension);
  if (temp.empty()) return E_FAIL;
  const int note = NoteTempFileNote(temp);
  const HRESULT saved = image.SaveAs(temp, options);
  if (Failed(saved)) {
    RemoveFileEntry(temp);
    ForgetTempFileNote(note);
    return saved;
  }
  out = {temp, note};
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
  RemoveFileEntry(temp.path);
  ForgetTempFileNote(temp.note);
  temp = {};
}
