#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace fluxo {

// A named block of POSIX shared memory mapped read/write. The object lives
// while any process maps it; its name may outlive the last detach, which is
// harmless because the next attach simply reopens it.
class SharedMemory {
 public:
  // Creates the named object with `size` zero bytes, or opens the existing
  // one. An existing object of another size is refused and left as it is.
  // Returns null on failure and describes it in *error.
  static std::unique_ptr<SharedMemory> CreateOrOpen(const std::string& name, size_t size, std::string* error);

  ~SharedMemory();
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }
  bool Existed() const { return existed_; }  // opened rather than created

 private:
  SharedMemory(uint8_t* data, size_t size, bool existed) : data_(data), size_(size), existed_(existed) {}
  uint8_t* data_;
  size_t size_;
  bool existed_;
};

}  // namespace fluxo
