// Texts of the main window that have no number in the string table: the configuration
// bar's tab captions and banner hints (one entry per page, in tab order), the status
// bar's idle text and the About box.
#pragma once

#include <array>
#include <string_view>

namespace FrameTexts {

// Captions are at most 100 characters, hints at most 200; a doubled "&&" shows as "&".
constexpr std::array<std::string_view, 3> PageCaptions = {
    "Select Files",
    "Resize Option",
    "Shadow && Overlay",
};
constexpr std::array<std::string_view, 3> PageHints = {
    "Select image files you want to convert. You can also drag files/directories from the file "
    "manager to the list.",
    "Set resize options, destination image size, folder, etc.",
    "Set shadow effects, or overlay another image",
};

// Shown in place of "Ready": items in the list, succeeded, failed.
constexpr std::string_view IdleStatus = "Total files: %d Succeeded: %d Failed: %d";

constexpr std::string_view Version = "2.9";
constexpr std::string_view AboutTitle = "About Brindlemark";
constexpr std::string_view Rights = "Copyright (C) Orrinvale. All rights reserved.";
constexpr std::string_view HomePage = "https://brindlemark.orrinvale.example/";
constexpr std::string_view Credits =
    "This program uses following libraries:\n"
    "FreeImage, the open source image library (freeimage.sourceforge.io)\n"
    "wxWidgets, the cross-platform GUI library (wxwidgets.org)";

}  // namespace FrameTexts
