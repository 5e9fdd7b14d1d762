// Texts of the window that say what went wrong and what to do about it, beside the numbered
// texts of the string table. %s fields are filled with FillText.
#pragma once

#include <string_view>

namespace AdviceTexts {

// The "Add Directory" field names something that cannot be added.
constexpr std::string_view NotFileOrFolder =
    "'%s' is not a file or a folder (it may be a pipe, a device or a socket), so it cannot be "
    "added.";
constexpr std::string_view CannotReadFile = "The file '%s' cannot be read.";

}  // namespace AdviceTexts
