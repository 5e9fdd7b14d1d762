// The engine tests' entry: FreeImage is started once, as the program does.
#include <gtest/gtest.h>

#include "image/codec/FreeImageCall.h"
#include "job/WorkerEntry.h"

int main(int argc, char** argv) {
  BecomeWorkerIfAsked(argc, argv);  // the workers of the runs the tests start
  testing::InitGoogleTest(&argc, argv);
  StartFreeImage();
  const int result = RUN_ALL_TESTS();
  StopFreeImage();
  return result;
}
