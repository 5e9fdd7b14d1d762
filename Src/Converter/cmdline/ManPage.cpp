#include "cmdline/ManPage.h"

#include <string_view>

#include "cmdline/OptionHelp.h"

namespace {

// Plain text as man(7) input: backslashes and minus signs escaped, and a line that would
// start with a control character guarded.
std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  return out;
}

constexpr std::string_view kHead =
    ".TH BRINDLEMARK 1 \"\" \"Brindlemark 2.9\" \"User Commands\"\n"
    ".SH NAME\n"
    "brindlemark \\- batch image converter\n"
    ".SH SYNOPSIS\n"
    ".B brindlemark\n"
    "\\fB\\-source:\\fP\\fIfile-or-folder\\fP \\fB\\-dest:\\fP\\fIfolder\\fP [\\fIoptions\\fP]\n"
    ".br\n"
    ".B brindlemark\n"
    ".br\n"
    ".B brindlemark\n"
    "\\fB\\-\\-help\\fP | \\fB\\-\\-version\\fP\n"
    ".SH DESCRIPTION\n"
    "Brindlemark converts one picture, or every picture in a folder and its subfolders,\n"
    "in one run: resized by one of ten rules, cropped or padded, framed, rotated, turned grey,\n"
    "overlaid with a second picture, given a drop shadow, reduced to a bit depth and written in\n"
    "the type the destination extension names. Every page of a TIFF file and every frame of a\n"
    "GIF file is converted as a picture of its own.\n"
    ".PP\n"
    "Without arguments \\fBbrindlemark\\fP opens the window. With arguments it converts on\n"
    "the command line and writes a report to standard output.\n"
    ".PP\n"
    "Options start with \\fB/\\fP or \\fB\\-\\fP, are case-sensitive, and take their value\n"
    "after the first colon. Percentages are numbers of percent; colours are hexadecimal\n"
    "RRGGBB. An option that is given twice takes its last value. There are no positional\n"
    "arguments.\n"
    ".SH OPTIONS\n";

constexpr std::string_view kTail =
    ".SH REPORT\n"
    "After a banner, every page gets one line:\n"
    ".PP\n"
    ".RS\n"
    "SUCCESS: converted file \\fIsource\\fP to \\fIdestination\\fP\n"
    ".br\n"
    "ERROR: failed to convert file \\fIsource\\fP to \\fIdestination\\fP Reason: \\fIwhy\\fP\n"
    ".RE\n"
    ".PP\n"
    "then the summary line \\fIn\\fP images were successfully converted. \\fIm\\fP images failed.\n"
    "A source or list entry that does not exist, a folder that cannot be read, a picture file\n"
    "that cannot be opened, a path too long for the system and the pages a file claims but no\n"
    "longer holds are ERROR: lines too (with an empty destination) and count as failed; a\n"
    "truncated or damaged picture fails with that reason. Control characters in names are\n"
    "written escaped (\\en, \\er, \\ex1b), so every line is one page.\n"
    "Refused options give one ERROR: line with the reason and no summary.\n"
    ".SH EXIT STATUS\n"
    ".TP\n"
    ".B 0\n"
    "Every page converted (also when the source held no pictures),\n"
    "or \\-\\-help or \\-\\-version.\n"
    ".TP\n"
    ".B 1\n"
    "The options were refused, or at least one page failed.\n"
    ".SH EXAMPLES\n"
    "Fit every picture under ~/Pictures/trip into 1024 x 768 as JPEG of quality 90, keeping the\n"
    "folder structure (the shell expands ~ only at the start of a word, so write $HOME):\n"
    ".PP\n"
    ".nf\n"
    ".RS\n"
    "brindlemark \\-source:\"$HOME/Pictures/trip\" \\-dest:/tmp/trip\\-small \\-mode:m \\e\n"
    "    \\-width:1024 \\-height:768 \\-jpegquality:better \\-samedir\n"
    ".RE\n"
    ".fi\n"
    ".PP\n"
    "Convert the pictures and folders listed in a file, one path per line, in one run, each\n"
    "kept at its listed path below the destination:\n"
    ".PP\n"
    ".nf\n"
    ".RS\n"
    "cd \"$HOME/Pictures\" && find . \\-type d > /tmp/folders.txt\n"
    "brindlemark \\-sourcelist:/tmp/folders.txt \\-norecursive \\-dest:/tmp/small \\-samedir\n"
    ".RE\n"
    ".fi\n"
    ".PP\n"
    "Turn the pages of a scanned TIFF into grey PNG files, one a page, numbered with two digits:\n"
    ".PP\n"
    ".nf\n"
    ".RS\n"
    "brindlemark \\-source:scan.tif \\-dest:out \\-mode:n \\-greyscale \\-ext:png \\e\n"
    "    \\-zeropadding:2\n"
    ".RE\n"
    ".fi\n"
    ".SH FILES\n"
    ".TP\n"
    ".I /usr/lib/brindlemark/Brindlemark.exe\n"
    "The program; \\fBbrindlemark\\fP is its console launcher,\n"
    "/usr/lib/brindlemark/Brindlemark.com.\n"
    ".TP\n"
    ".I /usr/lib/brindlemark/Brindlemark.html\n"
    "The help that Help > Contents opens.\n"
    ".TP\n"
    ".I $XDG_CONFIG_HOME/Orrinvale/Brindlemark/Brindlemark.reg\n"
    "The window's settings (else under ~/.config). The command line never reads or writes it.\n";

}  // namespace

std::string ManPageText() {
  std::string text(kHead);
  for (const OptionHelpEntry& entry : OptionHelpTable()) {
    text.append(".TP\n\\fB\\-").append(Roff(entry.name)).append("\\fP");
    if (!entry.value.empty()) text.append("\\fB:\\fP\\fI").append(Roff(entry.value)).append("\\fP");
    text.append("\n").append(Roff(entry.meaning)).append("\n");
  }
  for (const OptionHelpEntry& entry : InformationalSwitches())
    text.append(".TP\n.B \\-\\-")
        .append(Roff(entry.name))
        .append("\n")
        .append(Roff(entry.meaning))
        .append("\n");
  text += kTail;
  return text;
}
