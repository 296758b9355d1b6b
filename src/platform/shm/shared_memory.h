#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace fluxo {

// A named block of POSIX shared memory mapped read/write, living as long as
// some process keeps it attached. POSIX objects persist until unlinked, so
// attachments are tracked with a lock file beside the block that every
// attached process holds shared: the last process to detach removes the
// block, and the first to attach after every holder died finds it stale.
class SharedMemory {
 public:
  enum class Found {
    Created,  // did not exist: all zero bytes
    Live,     // another live process holds it: keep its contents
    Stale,    // left behind by processes that died
  };
  // Decides, while no other process can attach or detach, whether to use the
  // block; it may rewrite a created or stale block. False refuses the block,
  // which is then left exactly as it was.
  using Accept = std::function<bool(uint8_t* data, Found found, std::string* error)>;

  // Attaches to the named object, creating it with `size` zero bytes. An
  // existing object of another size is refused and left as it is. Returns
  // null on failure and describes it in *error.
  static std::unique_ptr<SharedMemory> Attach(const std::string& name, size_t size, const Accept& accept,
                                              std::string* error);

  ~SharedMemory();  // detaches; the last to detach removes the block
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  SharedMemory(std::string name, uint8_t* data, size_t size, int holdFd)
      : name_(std::move(name)), data_(data), size_(size), holdFd_(holdFd) {}
  std::string name_;
  uint8_t* data_;
  size_t size_;
  int holdFd_;  // the shared lock that marks this process as attached
};

}  // namespace fluxo
