#include "ui/frame/HelpFile.h"

std::string HelpFilePath(const std::string& programPath) {
  const std::size_t nameStart = programPath.rfind('/') + 1;  // 0 when there is no folder
  const std::size_t dot = programPath.rfind('.');
  const std::size_t cut = dot != std::string::npos && dot >= nameStart ? dot : programPath.size();
  return programPath.substr(0, cut) + ".html";
}
