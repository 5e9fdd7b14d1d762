// The start-up's choice between the console sequence and the window, seen from outside.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(Startup, WithoutArgumentsAndWithoutDisplayEndsWithMessageAndExitCode1) {
  const std::string exe = std::string(BM_BIN_DIR) + "/Brindlemark.exe";
  const std::string command =
      "env -u DISPLAY -u WAYLAND_DISPLAY " + exe + " 2>&1; echo \"exit=$?\"";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  EXPECT_NE(output.find("no display"), std::string::npos) << output;
  EXPECT_NE(output.find("exit=1"), std::string::npos) << output;
}
