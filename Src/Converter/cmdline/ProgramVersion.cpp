#include "cmdline/ProgramVersion.h"

#include <FreeImage.h>

std::string VersionText(std::string_view toolkitVersion) {
  std::string text = "Brindlemark 2.9\nFreeImage ";
  text.append(FreeImage_GetVersion()).append("\n");
  text.append(toolkitVersion.empty() ? std::string_view("wxWidgets: not part of this build")
                                     : toolkitVersion);
  text.append("\n");
  return text;
}
