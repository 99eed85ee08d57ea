#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace fulgor {
namespace {

Error fileError(const char* what, const std::string& path, int error) {
    return Error{std::string(what) + " \"" + path + "\": " + std::strerror(error)};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now so that a failing close is seen; false with errno set on failure.
    bool close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".fulgor-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
           ".tmp";
}

}  // namespace

Result<std::string> readFileBytes(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return fileError("Cannot open", path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return fileError("Cannot read", path, errno);
    if (S_ISDIR(info.st_mode)) return fileError("Cannot read", path, EISDIR);
    std::string bytes;
    if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fileError("Cannot read", path, errno);
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

Status writeFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string temporary = temporaryNameFor(path);
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.get() < 0) return fileError("Cannot save", path, errno);

    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        return Status(fileError("Cannot save", path, error));
    };
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return fail(EISDIR);
        ::fchmod(file.get(), existing.st_mode & 07777);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(file.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(file.get()) != 0) return fail(errno);
    if (!file.close()) return fail(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
    return {};
}

}  // namespace fulgor
