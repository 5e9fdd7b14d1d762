// Names as report lines show them: a control character in a file name (a newline, a
// carriage return, an escape, ...) is written as a backslash escape, so one line is always
// one page and a name cannot forge lines or move the terminal's cursor. Text without
// control characters comes back unchanged, backslashes included.
#pragma once

#include <string>
#include <string_view>

// "\n", "\r" and "\t" by their letters, other C0 bytes and DEL as "\x1b"; the C1 controls
// U+0080 to U+009F, which some terminals obey, as "\u009b".
std::string EscapeControlCharacters(std::string_view text);
