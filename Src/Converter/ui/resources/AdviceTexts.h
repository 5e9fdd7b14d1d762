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

// Opening a picture, a folder or the help with the desktop's application.
constexpr std::string_view OpenMissing = "'%s' cannot be opened: it does not exist (any more).";
constexpr std::string_view NoDesktopOpener =
    "'%s' cannot be opened: this desktop has no opener (xdg-open). Install the package "
    "xdg-utils and a picture viewer.";
constexpr std::string_view OpenNoApplication =
    "'%s' cannot be opened: no application is set up for this kind of file. Install a picture "
    "viewer or choose one in the file manager's \"Open With\".";
constexpr std::string_view OpenFailed =
    "'%s' cannot be opened: the desktop's application for it reported a failure.";

// The destination folder, checked before a run.
constexpr std::string_view DestinationIsFile =
    "The destination '%s' is a file, not a folder. Choose a folder on the Resize Option page.";
constexpr std::string_view DestinationUnderFile =
    "The destination folder '%s' cannot be created: '%s' is a file, not a folder. Choose "
    "another folder on the Resize Option page.";
constexpr std::string_view DestinationNotWritable =
    "Pictures cannot be saved in the destination folder '%s': %s. Choose another folder on the "
    "Resize Option page.";
constexpr std::string_view DestinationNotCreatable =
    "The destination folder '%s' cannot be created in %s. Choose another folder on the Resize "
    "Option page.";

// Beside "File ... already exists" in a row's log.
constexpr std::string_view TickOverride =
    "Tick \"Override existing files\" on the Resize Option page to replace it, or \"Skip existing "
    "files\" to leave it.";

// The progress dialog's line after a run: items finished, items in the run.
constexpr std::string_view RunComplete = "Done: %d of %d";
constexpr std::string_view RunStopped = "Stopped after %d of %d";

}  // namespace AdviceTexts
