// Damage found while a picture loads. Decoders often hand back a picture from a truncated
// or corrupt file with the missing part black or grey, and say so only in a message
// (libjpeg's "Premature end of JPEG file", libtiff's read errors), or not at all (the BMP,
// TGA, PNM and PCX readers ignore short reads). A LoadWatch collects both signs for the
// loads its thread makes while it lives: the codec messages that name damage, and reads
// that find nothing left in the file. FreeImage's message handler is process-wide, but a
// codec reports on the thread that called it, so each thread watches its own loads.
#pragma once

#include <FreeImage.h>

#include <string>
#include <string_view>

#include "platform/Result.h"

enum class LoadDamage { None, Truncated, Corrupt };

class LoadWatch {
 public:
  LoadWatch();
  ~LoadWatch();
  LoadWatch(const LoadWatch&) = delete;
  LoadWatch& operator=(const LoadWatch&) = delete;

  LoadDamage damage() const { return damage_; }
  // E_IMG_TRUNCATED or E_IMG_CORRUPT for the damage seen, else `otherwise`.
  HRESULT CodeOr(HRESULT otherwise) const;

 private:
  friend void NoteDamage(LoadDamage damage);
  LoadDamage damage_ = LoadDamage::None;
  LoadWatch* outer_;  // the watch this one stands inside on the same thread, if any
};

// Records damage for the current thread's watch; nothing without one. Truncation wins
// over corruption (it is the cause the user can act on).
void NoteDamage(LoadDamage damage);
// The damage a message of FreeImage (its own or libjpeg's) or of the TIFF codec names; None
// for notes that do not mean lost pixels (unknown tags, extraneous bytes between markers).
LoadDamage DamageNamedByFreeImage(std::string_view message);
LoadDamage DamageNamedByTiffMessage(std::string_view message);

// Loads a file through FreeImage, noting a read that finds nothing left (for the formats
// whose readers ignore short reads) as truncation. The second form reads from memory.
FIBITMAP* LoadWatchingReads(FREE_IMAGE_FORMAT fif, const std::string& path, int flags = 0);
FIBITMAP* LoadWatchingReadsFromMemory(FREE_IMAGE_FORMAT fif, std::string_view bytes, int flags = 0);
