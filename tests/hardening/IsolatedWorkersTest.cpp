// The real Brindlemark.exe over a folder of files that crash, hang or exhaust FreeImage's
// loaders, at one and at two workers: truncated and mutated PSDs and PICTs made from valid
// files that ImageMagick writes, a worker made to spin or crash (the test-only faults of
// WorkerEntry.h), a GIF whose screen is 23000 x 23000, an SGI header of 65535 x 65535. Each
// file gets its report line (an ERROR line carries a reason), the summary follows, the
// exit code is 1, every good file is converted, and no hidden temporary file stays.
// A run inside a small memory control group fails its memory-hungry page alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "job/SmallPictures.h"
#include "support/ByteEdits.h"
#include "support/TestFiles.h"

namespace {

// The report line of a source, empty when there is none.
std::string LineFor(const std::string& report, const std::string& source) {
  std::istringstream lines(report);
  std::string line;
  while (std::getline(lines, line))
    if (line.find(" file " + source + " to ") != std::string::npos) return line;
  return {};
}

std::string FillReason(std::string reason, const std::string& source) {
  return reason.replace(reason.find("%s"), 2, source);
}

std::string ReasonOf(const std::string& line) {
  const auto at = line.find(" Reason: ");
  return at == std::string::npos ? std::string{} : line.substr(at + 9);
}

// Names in the folder that begin with ".": the temporary files of a save.
std::string HiddenNames(const std::string& folder) {
  std::string names;
  if (!std::filesystem::exists(folder)) return names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string()[0] == '.') names += e.path().filename().string() + " ";
  return names;
}

bool MakeWithImageMagick(const std::string& path, const std::string& what) {
  const std::string command = "convert -size 48x32 " + what + " '" + path + "' 2>/dev/null";
  return std::system(command.c_str()) == 0 && std::filesystem::exists(path);
}

// Truncations and byte flips of a valid file (a fixed pseudo-random walk, so every run
// makes the same files).
std::vector<std::pair<std::string, std::string>> Mutants(const std::string& stem,
                                                         const std::string& ext,
                                                         const std::string& bytes) {
  std::vector<std::pair<std::string, std::string>> files;
  for (std::size_t cut : {bytes.size() / 8, bytes.size() / 3, bytes.size() / 2, bytes.size() - 1})
    files.emplace_back(stem + "-cut" + std::to_string(cut) + "." + ext, bytes.substr(0, cut));
  std::uint32_t seed = 12345;
  for (int m = 0; m < 10; ++m) {
    std::string mutated = bytes;
    for (int flips = 0; flips < 4; ++flips) {
      seed = seed * 1103515245u + 12345u;
      const std::size_t at = (seed >> 8) % std::min<std::size_t>(mutated.size(), 160);
      mutated[at] = static_cast<char>(seed >> 24);
    }
    files.emplace_back(stem + "-mut" + std::to_string(m) + "." + ext, mutated);
  }
  return files;
}

// A GIF of 29 bytes whose logical screen is 23000 x 23000, holding one 1 x 1 picture.
std::string HugeScreenGif() {
  std::string gif("GIF89a", 6);
  gif += std::string("\xD8\x59\xD8\x59\x80\x00\x00", 7);  // 23000 = 0x59D8, a 2-colour table
  gif += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
  gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
  gif += std::string("\x02\x02\x44\x01\x00\x3B", 6);
  return gif;
}

// An SGI header declaring 65535 x 65535 x 3 bytes, verbatim, followed by 64 bytes.
std::string HugeSgi() {
  std::string sgi(512, '\0');
  PutBig16(sgi, 0, 474);  // magic
  sgi[2] = 0;             // verbatim
  sgi[3] = 1;             // one byte per channel
  PutBig16(sgi, 4, 3);
  PutBig16(sgi, 6, 65535);
  PutBig16(sgi, 8, 65535);
  PutBig16(sgi, 10, 3);
  PutBig32(sgi, 16, 255);  // the largest channel value
  return sgi + std::string(64, '\x7F');
}

class IsolatedWorkers : public ::testing::TestWithParam<int> {};

TEST_P(IsolatedWorkers, EveryHostileFileFailsAloneAndTheRestConverts) {
  TempDir dir;
  const std::string in = dir / "in";
  std::filesystem::create_directories(in);
  ASSERT_TRUE(MakeWithImageMagick(dir / "valid.psd", "gradient:red-blue"));
  ASSERT_TRUE(MakeWithImageMagick(dir / "valid.pict", "gradient:green-yellow"));
  std::vector<std::string> hostile;
  for (const auto& [name, bytes] : Mutants("p", "psd", ReadFile(dir / "valid.psd"))) {
    WriteFile(in + "/" + name, bytes);
    hostile.push_back(name);
  }
  for (const auto& [name, bytes] : Mutants("q", "pict", ReadFile(dir / "valid.pict"))) {
    WriteFile(in + "/" + name, bytes);
    hostile.push_back(name);
  }
  std::filesystem::copy_file(dir / "valid.pict", in + "/q-valid.pict");
  hostile.push_back("q-valid.pict");
  WriteFile(in + "/r-screen.gif", HugeScreenGif());
  WriteFile(in + "/s-huge.sgi", HugeSgi());
  // Each must end with an ERROR line whose reason is exactly this.
  const std::vector<std::pair<std::string, std::string>> mustFail = {
      {"f-crash-now.png", "Failed to load image %s: the decoder crashed"},
      {"f-abort-now.png", "Failed to load image %s: the decoder crashed"},
      {"f-spin-forever.png", "Failed to load image %s: the decoder ran past its time limit"},
      {"s-huge.sgi", "Failed to load image %s"},
  };
  for (const auto& [name, reason] : mustFail)
    if (name[0] == 'f') WritePicture(in + "/" + name, 6, 4);
  const std::vector<std::string> good = {"a-good.png", "m-good.png", "z-good.png"};
  for (const std::string& name : good) WritePicture(in + "/" + name, 7, 5);

  RunOptions options;
  options.environment = {{"BRINDLEMARK_TEST_FAULTS", "1"}};
  options.timeoutMs = 180000;
  const RunResult r = RunProgram(BinPath("Brindlemark.exe"),
                                 {"-source:" + in, "-dest:" + dir / "out", "-mode:n", "-ext:png",
                                  "-timeout:3", "-threads:" + std::to_string(GetParam())},
                                 options);
  ASSERT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 1) << r.out;
  for (const auto& [name, reason] : mustFail) {
    const std::string src = in + "/" + name;
    EXPECT_EQ(ReasonOf(LineFor(r.out, src)), FillReason(reason, src)) << r.out;
  }
  int lines = 0;
  for (const std::string& name : hostile) {
    const std::string line = LineFor(r.out, in + "/" + name);
    const bool reported = line.rfind("SUCCESS: ", 0) == 0 ||
                          (line.rfind("ERROR: ", 0) == 0 && !ReasonOf(line).empty());
    EXPECT_TRUE(reported) << name << "\n" << r.out;
    lines += reported;
  }
  EXPECT_EQ(lines, static_cast<int>(hostile.size()));
  EXPECT_NE(LineFor(r.out, in + "/r-screen.gif"), "");
  for (const std::string& name : good) {
    EXPECT_EQ(LineFor(r.out, in + "/" + name).rfind("SUCCESS: ", 0), 0u) << name;
    EXPECT_TRUE(std::filesystem::exists(dir / ("out/" + name))) << name;
  }
  EXPECT_NE(r.out.find(" images were successfully converted. "), std::string::npos);
  EXPECT_EQ(HiddenNames(dir / "out"), "");
}

INSTANTIATE_TEST_SUITE_P(Workers, IsolatedWorkers, ::testing::Values(1, 2));

// A control group of its own with a memory limit, when this process may make one (root
// with a writable v1 memory hierarchy or v2 unified tree); removed afterwards.
class MemoryGroup {
 public:
  explicit MemoryGroup(std::int64_t bytes) {
    const bool v1 = std::filesystem::exists("/sys/fs/cgroup/memory/memory.limit_in_bytes");
    const std::string base = v1 ? "/sys/fs/cgroup/memory" : "/sys/fs/cgroup";
    const std::string folder = base + "/bm-test-" + std::to_string(getpid());
    std::error_code error;
    if (!std::filesystem::create_directory(folder, error)) return;
    std::ofstream limit(folder + (v1 ? "/memory.limit_in_bytes" : "/memory.max"));
    if (limit << bytes << std::flush) {
      path_ = folder;
    } else {
      std::filesystem::remove(folder, error);
    }
  }
  ~MemoryGroup() {
    if (!path_.empty()) rmdir(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(IsolatedWorkersMemory, APageThatNeedsMoreThanTheGroupAllowsFailsAlone) {
  MemoryGroup group(std::int64_t{1200} << 20);
  if (group.path().empty()) GTEST_SKIP() << "cannot make a memory control group here";
  TempDir dir;
  std::filesystem::create_directories(dir / "in");
  WritePicture(dir / "in/a-good.png", 7, 5);
  WritePicture(dir / "in/c-good.png", 7, 5);
  // 20000 x 20000 grey pixels: 400 MB as loaded, 1.6 GB once turned to 32 bits.
  const std::string make =
      "/usr/bin/python3 -c \"from PIL import Image; Image.new('L', (20000, 20000), "
      "77).save('" +
      dir / "in/b-big.png" + "')\"";
  ASSERT_EQ(std::system(make.c_str()), 0);
  // The program starts inside the group: a shell moves itself there, then becomes it.
  const std::string program = BinPath("Brindlemark.exe");
  const RunResult r = RunProgram(
      "/bin/sh",
      {"-c", "echo $$ > " + group.path() + "/cgroup.procs && exec \"$0\" \"$@\"", program,
       "-source:" + dir / "in", "-dest:" + dir / "out", "-mode:n", "-ext:png", "-rotate:90"});
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  EXPECT_EQ(LineFor(r.out, dir / "in/a-good.png").rfind("SUCCESS: ", 0), 0u) << r.out;
  EXPECT_EQ(LineFor(r.out, dir / "in/c-good.png").rfind("SUCCESS: ", 0), 0u) << r.out;
  EXPECT_EQ(LineFor(r.out, dir / "in/b-big.png").rfind("ERROR: ", 0), 0u) << r.out;
  EXPECT_NE(ReasonOf(LineFor(r.out, dir / "in/b-big.png")), "");
  EXPECT_NE(r.out.find("2 images were successfully converted. 1 images failed."),
            std::string::npos);
  EXPECT_EQ(HiddenNames(dir / "out"), "");
}

}  // namespace
