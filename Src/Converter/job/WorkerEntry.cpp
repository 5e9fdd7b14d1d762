#include "job/WorkerEntry.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <new>
#include <string>

#include "image/OverlayPicture.h"
#include "image/codec/FreeImageCall.h"
#include "job/PageWork.h"
#include "job/PathFunctions.h"
#include "platform/process/ChildProcess.h"
#include "platform/process/FrameChannel.h"
#include "platform/process/ProcessLimits.h"

namespace {

void InjectTestFault(const std::string& sourcePath) {
  static const bool enabled = [] {
    const char* value = std::getenv("BRINDLEMARK_TEST_FAULTS");
    return value && std::string(value) == "1";
  }();
  if (!enabled) return;
  const std::string name = FileNameOf(sourcePath);
  if (name.find("crash-now") != std::string::npos) std::raise(SIGSEGV);
  if (name.find("abort-now") != std::string::npos) std::abort();
  if (name.find("spin-forever") != std::string::npos)
    for (;;) asm volatile("" ::: "memory");  // an empty loop the compiler keeps
}

[[noreturn]] void Serve(long long memoryCap) {
  FollowParentLifetime();
  LimitOwnMemory(memoryCap);
  std::set_new_handler([] { _exit(kWorkerOutOfMemoryExit); });
  StartFreeImage();
  std::string frame;
  if (!ReadFrame(kChildRequestFd, frame)) _exit(0);
  ConversionSettings settings = DecodeSettings(frame);
  if (settings.overlay) {
    // The overlay was checked by the run's validation; a failure here leaves the overlay
    // step to report it for each item, as an unloaded overlay would.
    settings.overlayImage = std::make_shared<ImageBuffer>();
    LoadOverlayPicture(*settings.overlayImage, settings.overlayFilePath);
  }
  ImageBuffer image;
  image.SetCameraOptions(settings.autoRotate, settings.keepMetadata);
  const auto send = [](const WorkReport& report) {
    if (!WriteFrame(kChildReplyFd, EncodeReport(report))) _exit(0);  // the run is gone
  };
  while (ReadFrame(kChildRequestFd, frame)) {
    const auto order = DecodeOrder(frame);
    if (!order) _exit(2);
    InjectTestFault(order->sourcePath);
    send(ConvertPage(*order, settings, image, send));
  }
  _exit(0);  // no destructors: nothing of the worker outlives it
}

}  // namespace

void BecomeWorkerIfAsked(int argc, char** argv) {
  if (argc < 2 || argv[1] != kWorkerArgument) return;
  Serve(argc >= 3 ? std::atoll(argv[2]) : 0);
}
