#include "support/TestFiles.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "image/codec/PictureMemory.h"

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bm-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

FIBITMAP* MakePicture32(int width, int height, const std::vector<std::uint32_t>& pixels) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, 32, 0, 0, 0);
  for (int y = 0; y < height; ++y)
    std::memcpy(PixelRow(picture, y), pixels.data() + static_cast<std::size_t>(y) * width,
                static_cast<std::size_t>(width) * 4);
  return picture;
}

std::vector<std::uint32_t> PixelsOf(FIBITMAP* picture) {
  const int w = static_cast<int>(FreeImage_GetWidth(picture));
  const int h = static_cast<int>(FreeImage_GetHeight(picture));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w, PixelRow(picture, y),
                static_cast<std::size_t>(w) * 4);
  return pixels;
}

bool SavePicture(FIBITMAP* picture, const std::string& path, int flags) {
  return FreeImage_Save(FreeImage_GetFIFFromFilename(path.c_str()), picture, path.c_str(), flags);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

namespace {

// Reads both pipes until both are closed, so neither side can block the child.
void Drain(int outFd, int errFd, RunResult& r) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&r.out, &r.err};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  RunResult result;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return result;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]);
    close(err[0]);
    close(out[1]);
    close(err[1]);
    int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  Drain(out[0], err[0], result);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::string BinPath(const std::string& name) { return std::string(BM_BIN_DIR) + "/" + name; }
