#include "install/file_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fluxo::install {
namespace fs = std::filesystem;

namespace {

std::string TemporaryBeside(const std::string& target) { return target + ".fluxo-new"; }

void MakeWritable(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

bool SameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) return false;
  mkdir(path.c_str(), 0755);
  return IsFolder(path);
}

bool CopyFileOnce(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) return false;
  const std::string temporary = TemporaryBeside(to);
  if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temporary, ec);
    return false;
  }
  fs::permissions(temporary, fs::status(from, ec).permissions(), ec);
  if (std::rename(temporary.c_str(), to.c_str()) != 0) {
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  if (CopyFileOnce(from, to)) return true;
  MakeWritable(to);
  return CopyFileOnce(from, to);
}

bool CopyFromSource(const std::string& sourceFolder, const std::string& name, const std::string& destinationFolder,
                    const std::string& newName) {
  if (!IsFolder(destinationFolder)) return false;
  return CopyFileReplacing(sourceFolder + "/" + name, destinationFolder + "/" + newName);
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  MakeWritable(to);
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  // Across file systems a move is a copy and a delete.
  std::error_code ec;
  return CopyFileReplacing(from, to) && fs::remove(from, ec);
}

std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const fs::path& path = it->path();
    if (SameLetters(path.extension().string(), extension)) names.push_back(path.filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, unsigned mode) {
  const std::string temporary = TemporaryBeside(path);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
      std::error_code ec;
      fs::remove(temporary, ec);
      return false;
    }
  }
  chmod(temporary.c_str(), mode);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::error_code ec;
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

}  // namespace fluxo::install
