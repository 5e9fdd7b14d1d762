// The one gate to FreeImage: starting and ending the library, keeping its messages out of
// sight, and calling it so that nothing it throws leaves the image pipeline.
#pragma once

#include <exception>
#include <string>

// Installs the message handler, then initialises FreeImage. Called once at start-up.
void StartFreeImage();
// Ends FreeImage. Called once at exit.
void StopFreeImage();
// The last message FreeImage reported (at most 1023 characters).
std::string LastFreeImageMessage();

// Runs call() and returns its value, or fallback when it throws.
template <typename T, typename Call>
T CallFreeImage(T fallback, Call&& call) noexcept {
  try {
    return static_cast<T>(call());
  } catch (...) {
    return fallback;
  }
}
