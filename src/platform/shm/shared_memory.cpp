#include "platform/shm/shared_memory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fluxo {
namespace {

std::string Describe(const std::string& what, const std::string& name) {
  return what + " \"" + name + "\": " + std::strerror(errno);
}

// The lock files lie beside the block: POSIX names map to /dev/shm here.
std::string LockPath(const std::string& name, const char* suffix) {
  struct stat info {};
  const std::string folder = stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
  return folder + "/" + name.substr(1) + suffix;
}

bool ValidName(const std::string& name) {
  return name.size() >= 2 && name.size() <= 200 && name[0] == '/' && name.find('/', 1) == std::string::npos;
}

// Opens and locks a lock file that a last detacher may unlink at any moment:
// a lock won on a file that is no longer at its path is worthless, so retry.
int LockFile(const std::string& path, int operation) {
  for (;;) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    int result;
    do result = flock(fd, operation);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
      close(fd);
      return -1;
    }
    struct stat held {}, current {};
    if (fstat(fd, &held) == 0 && stat(path.c_str(), &current) == 0 && held.st_ino == current.st_ino &&
        held.st_dev == current.st_dev)
      return fd;
    close(fd);
  }
}

// Serialises every attach and detach of one block across processes.
class AttachGate {
 public:
  explicit AttachGate(const std::string& name) : fd_(LockFile(LockPath(name, ".gate"), LOCK_EX)) {}
  ~AttachGate() {
    if (fd_ >= 0) close(fd_);
  }
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// True when no process holds the attach lock (the caller holds the gate).
bool NobodyAttached(const std::string& holdPath) {
  int fd = open(holdPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

}  // namespace

std::unique_ptr<SharedMemory> SharedMemory::Attach(const std::string& name, size_t size, const Accept& accept,
                                                   std::string* error) {
  if (!ValidName(name)) {
    *error = "bad shared memory name \"" + name + "\" (expected \"/\" and a name without further slashes)";
    return nullptr;
  }
  AttachGate gate(name);
  if (!gate.Held()) {
    *error = Describe("cannot lock shared memory", name);
    return nullptr;
  }
  const std::string holdPath = LockPath(name, ".attach");
  const bool stale = NobodyAttached(holdPath);

  Found found = Found::Created;
  int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0 && errno == EEXIST) {
    found = stale ? Found::Stale : Found::Live;
    fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
  }
  if (fd < 0) {
    *error = Describe("cannot open shared memory", name);
    return nullptr;
  }
  if (found == Found::Created) {
    if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
      *error = Describe("cannot size shared memory", name);
      close(fd);
      shm_unlink(name.c_str());
      return nullptr;
    }
  } else {
    struct stat info {};
    if (fstat(fd, &info) != 0) {
      *error = Describe("cannot inspect shared memory", name);
      close(fd);
      return nullptr;
    }
    if (info.st_size != static_cast<off_t>(size)) {
      *error = "shared memory \"" + name + "\" has " + std::to_string(info.st_size) + " bytes, expected " +
               std::to_string(size);
      close(fd);
      return nullptr;
    }
  }
  void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);  // the mapping keeps the object alive
  if (view == MAP_FAILED) {
    *error = Describe("cannot map shared memory", name);
    if (found == Found::Created) shm_unlink(name.c_str());
    return nullptr;
  }
  auto* data = static_cast<uint8_t*>(view);
  if (!accept(data, found, error)) {
    munmap(view, size);
    if (found == Found::Created) shm_unlink(name.c_str());
    if (stale) {  // the refused block stays; the lock files it never had go
      unlink(holdPath.c_str());
      unlink(LockPath(name, ".gate").c_str());
    }
    return nullptr;
  }
  int holdFd = open(holdPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (holdFd < 0 || flock(holdFd, LOCK_SH) != 0) {
    *error = Describe("cannot mark shared memory as attached", name);
    if (holdFd >= 0) close(holdFd);
    munmap(view, size);
    if (found == Found::Created) shm_unlink(name.c_str());
    return nullptr;
  }
  return std::unique_ptr<SharedMemory>(new SharedMemory(name, data, size, holdFd));
}

SharedMemory::~SharedMemory() {
  AttachGate gate(name_);
  munmap(data_, size_);
  close(holdFd_);
  if (!gate.Held()) return;  // cannot tell whether others remain: leave the block
  const std::string holdPath = LockPath(name_, ".attach");
  if (!NobodyAttached(holdPath)) return;
  shm_unlink(name_.c_str());
  unlink(holdPath.c_str());
  // Waiters on the gate notice it moved and lock the new one.
  unlink(LockPath(name_, ".gate").c_str());
}

}  // namespace fluxo
