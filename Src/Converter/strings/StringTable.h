// The program's numbered texts. The engine and the windowed program read them by number
// from this one table; FormatText fills a text's %s and %d fields. It is a leaf library of
// its own (bm_strings) that includes nothing of the program, so every layer may use it.
#pragma once

#include <string>
#include <string_view>

namespace Ids {
// Validation (settings)
constexpr int DestFolderMissing = 61233;
constexpr int RatioNotPositive = 61235;
constexpr int WidthNotPositive = 61236;
constexpr int HeightNotPositive = 61237;
constexpr int ZeroPaddingNegative = 61238;
constexpr int DestTypeMissing = 61239;
constexpr int DestTypeUnsupported = 61240;
// Command-line options
constexpr int WrongArgument = 61241;
constexpr int WrongModeArgument = 61242;
// Conversion job
constexpr int CreateFolderFailed = 61243;
constexpr int FileExists = 61249;
constexpr int LoadFailed = 61250;
constexpr int ResizeFailed = 61251;
constexpr int SaveFailed = 61252;
constexpr int Converted = 61253;
// A worker process that died or was stopped: while loading, then after the load
constexpr int LoadCrashed = 61300;
constexpr int LoadTimedOut = 61301;
constexpr int LoadOutOfMemory = 61302;
constexpr int WorkCrashed = 61303;
constexpr int WorkTimedOut = 61304;
constexpr int WorkOutOfMemory = 61305;
// Windowed program
constexpr int AppTitle = 128;
constexpr int TipRatio = 1016;
constexpr int TipOverride = 1027;
constexpr int TipVersion = 1043;
constexpr int TipShadow = 1060;
constexpr int ReadyMessage = 57345;
constexpr int AddFilesLabel = 61208;
constexpr int RemoveSelectedLabel = 61209;
constexpr int ColumnFileName = 61210;
constexpr int ColumnSize = 61211;
constexpr int ColumnType = 61212;
constexpr int ColumnRelativePath = 61229;
constexpr int AskCreateFolder = 61231;
constexpr int CreateDirectoryFailed = 61232;
constexpr int OkLabel = 61234;
constexpr int ColumnLog = 61244;
constexpr int ColumnWidth = 61245;
constexpr int ColumnHeight = 61246;
constexpr int ColumnNewWidth = 61247;
constexpr int ColumnNewHeight = 61248;
constexpr int MenuRemove = 61259;
constexpr int MenuRemoveAll = 61260;
constexpr int ColumnPageIndex = 61263;
constexpr int ColumnBitDepth = 61264;
constexpr int ColumnNewBitDepth = 61265;
constexpr int MenuViewOriginal = 61266;
constexpr int MenuViewConverted = 61267;
constexpr int StatusNotStarted = 61268;
constexpr int StatusSucceeded = 61269;
constexpr int StatusFailed = 61270;
constexpr int AboutVersion = 61284;
constexpr int StartLabel = 61288;
constexpr int AddFolderLabel = 61289;
constexpr int RemoveAllLabel = 61290;
}  // namespace Ids

// A command's prompt is "status-bar text\ntooltip": the halves, each empty when absent.
std::string_view PromptStatusText(int commandId);
std::string_view PromptToolTip(int commandId);

// The text with the given number, or an empty view when the table has none.
std::string_view LoadText(int id);

// The text with the given number filled printf-style with the arguments, each taken
// as text (%s) or decimal (%d). The arguments are never read as a format themselves.
std::string FormatText(int id, std::string_view a = {}, std::string_view b = {});
std::string FormatText(int id, int a, int b = 0, int c = 0);

// Fills a format text; shared by the numbered and unnumbered texts.
std::string FillText(std::string_view format, std::string_view a, std::string_view b);
std::string FillNumbers(std::string_view format, int a, int b, int c);
