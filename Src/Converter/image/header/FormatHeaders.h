// One header reader per format that FreeImage cannot read header-only (and PSD, whose
// header-only load parses far more than the size). Each reads the size the file declares
// for the picture FreeImage would allocate, and gives none when the bytes do not look
// like its format or end early.
#pragma once

#include <optional>

#include "image/header/ByteSource.h"
#include "image/header/DeclaredPicture.h"

std::optional<DeclaredPicture> ReadSgiHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadPsdHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadDdsHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadWbmpHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadIffHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadMngHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadXbmHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadPictHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadJ2kHeader(ByteSource& bytes);
std::optional<DeclaredPicture> ReadJp2Header(ByteSource& bytes);
