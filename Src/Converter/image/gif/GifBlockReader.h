// The block loop of a GIF file after its header: extensions are read (graphic control,
// comment, application with the loop count) or skipped, and each image descriptor with
// its local colour table is handed to the caller, who decodes or skips the image's data.
// Bytes that start no known block are passed over one at a time.
#pragma once

#include <string>

#include "image/gif/GifCursor.h"
#include "image/gif/GifHeader.h"

// What the extensions read so far say. A graphic control extension without the
// transparency flag leaves the transparent index as it was.
struct GifControl {
  int transparentIndex = -1;
  int delay = 0;
  int disposal = 0;
  int loopCount = 0;
  std::string comment;
  // Whether a graphic control extension has set delay and disposal yet.
  bool controlSeen = false;
};

struct GifImageDescriptor {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  bool hasLocalTable = false;
  GifColourTable localTable;
};

enum class GifBlock {
  Image,  // a descriptor was read; the cursor is at the image's minimum code size byte
  End,    // the trailer, the end of the data, or an extension cut short
  Broken  // a descriptor or a local colour table cut short: the file cannot be read
};

class GifBlockReader {
 public:
  GifBlockReader(GifCursor& in, GifControl& control) : in_(in), control_(control) {}
  // Reads blocks up to the next image descriptor or the end.
  GifBlock Next(GifImageDescriptor& image);

 private:
  // How the first blocks of an extension were read: cut short, with sub-blocks that may
  // follow, or up to and including the terminator.
  enum class Part { Short, Open, Closed };

  bool ReadExtension();
  Part ReadGraphicControl();
  Part ReadComment();
  Part ReadApplication();
  bool ReadDescriptor(GifImageDescriptor& image);

  GifCursor& in_;
  GifControl& control_;
};

// Moves past an image's data: the minimum code size byte and the data sub-blocks up to
// the terminator (or the end of the data).
void SkipGifImageData(GifCursor& in);
