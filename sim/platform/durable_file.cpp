#include "sim/platform/durable_file.h"

#include <algorithm>
#include <system_error>

#include "automation/error.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qx::sim {

namespace {

[[noreturn]] void fileError(const std::string& what, const std::filesystem::path& path,
                            const std::string& reason, const std::string& source) {
  throw automation::Error(
      75, "Path/File access error: cannot " + what + " " + path.string() + ": " + reason, source);
}

}  // namespace

#ifdef _WIN32

void replaceFileDurably(const std::filesystem::path& file, const std::string& text,
                        const std::string& source) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path tmp = file;
  tmp += ".tmp." + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(++counter);
  HANDLE h = ::CreateFileW(tmp.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  auto reason = [](DWORD err) { return std::system_category().message(static_cast<int>(err)); };
  if (h == INVALID_HANDLE_VALUE) {
    fileError("create a file beside", file, reason(::GetLastError()), source);
  }
  auto abandon = [&](const std::string& what) {
    DWORD err = ::GetLastError();
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    ::DeleteFileW(tmp.wstring().c_str());
    fileError(what, tmp, reason(err), source);
  };
  for (size_t done = 0; done < text.size();) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(h, text.data() + done, chunk, &written, nullptr) || written == 0) {
      abandon("write");
    }
    done += written;
  }
  if (!::FlushFileBuffers(h)) abandon("flush");
  BOOL closed = ::CloseHandle(h);
  h = INVALID_HANDLE_VALUE;
  if (!closed) abandon("close");
  if (!::MoveFileExW(tmp.wstring().c_str(), file.wstring().c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    abandon("replace " + file.string() + " by");
  }
}

#else

void replaceFileDurably(const std::filesystem::path& file, const std::string& text,
                        const std::string& source) {
  std::string tmp = file.string() + ".tmp.XXXXXX";
  int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  auto reason = [](int err) { return std::generic_category().message(err); };
  if (fd < 0) fileError("create a file beside", file, reason(errno), source);
  auto abandon = [&](const std::string& what) {
    int err = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    fileError(what, tmp, reason(err), source);
  };
  struct stat old {};
  ::fchmod(fd, ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  for (size_t done = 0; done < text.size();) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      abandon("write");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) abandon("flush");
  int closed = ::close(fd);
  fd = -1;
  if (closed != 0) abandon("close");
  if (::rename(tmp.c_str(), file.c_str()) != 0) abandon("replace " + file.string() + " by");
  // The rename is made durable through the folder. The new file is in place by now, so a
  // folder that cannot be flushed is not reported as a failed write.
  std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
  int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

#endif

}  // namespace qx::sim
