#include "platform/shm/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <chrono>
#include <thread>

namespace fluxo {
namespace {

// A creator sizes a new object right after creating it; an opener that sees
// it still empty waits this long for the size to appear.
constexpr int kSizeWaitSteps = 50;
constexpr auto kSizeWaitStep = std::chrono::milliseconds(2);

std::string Describe(const std::string& what, const std::string& name) {
  return what + " \"" + name + "\": " + std::strerror(errno);
}

// The object's size, waiting briefly while another process is still sizing it.
bool SettledSize(int fd, off_t& size) {
  struct stat info {};
  for (int step = 0; step < kSizeWaitSteps; ++step) {
    if (fstat(fd, &info) != 0) return false;
    if (info.st_size != 0) break;
    std::this_thread::sleep_for(kSizeWaitStep);
  }
  size = info.st_size;
  return true;
}

}  // namespace

std::unique_ptr<SharedMemory> SharedMemory::CreateOrOpen(const std::string& name, size_t size, std::string* error) {
  bool existed = false;
  int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd < 0 && errno == EEXIST) {
    existed = true;
    fd = shm_open(name.c_str(), O_RDWR, 0);
  }
  if (fd < 0) {
    *error = Describe("cannot open shared memory", name);
    return nullptr;
  }
  if (!existed) {
    if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
      *error = Describe("cannot size shared memory", name);
      close(fd);
      shm_unlink(name.c_str());
      return nullptr;
    }
  } else {
    off_t actual = 0;
    if (!SettledSize(fd, actual)) {
      *error = Describe("cannot inspect shared memory", name);
      close(fd);
      return nullptr;
    }
    if (actual != static_cast<off_t>(size)) {
      *error = "shared memory \"" + name + "\" has " + std::to_string(actual) + " bytes, expected " +
               std::to_string(size);
      close(fd);
      return nullptr;
    }
  }
  void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) {
    *error = Describe("cannot map shared memory", name);
    close(fd);
    return nullptr;
  }
  close(fd);  // the mapping keeps the object alive
  return std::unique_ptr<SharedMemory>(new SharedMemory(static_cast<uint8_t*>(view), size, existed));
}

SharedMemory::~SharedMemory() { munmap(data_, size_); }

}  // namespace fluxo
