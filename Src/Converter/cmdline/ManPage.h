// The manual page Brindlemark.1 in man(7) markup, made from the option table that --help
// prints, so that the two list the same options with the same words.
#pragma once

#include <string>

std::string ManPageText();
