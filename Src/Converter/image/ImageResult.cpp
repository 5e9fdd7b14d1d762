#include "image/ImageResult.h"

#include "strings/StringTable.h"

std::string_view LoadFailureReason(HRESULT code) {
  if (code == E_IMG_TRUNCATED) return "the file is truncated";
  if (code == E_IMG_CORRUPT) return "the file is damaged";
  return {};
}

std::string LoadFailureText(const std::string& source, HRESULT code) {
  std::string text = FormatText(Ids::LoadFailed, source);
  if (const std::string_view reason = LoadFailureReason(code); !reason.empty())
    text.append(": ").append(reason);
  return text;
}
