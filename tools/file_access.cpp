#include "tools/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace travoli::tool {

namespace {

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISLNK(mode)) {
        return "a symbolic link";
    }
    return "not a plain file";
}

std::string NotRegular(const std::string& path, mode_t mode) {
    return path + " is not a regular file (" + KindOf(mode) + ")";
}

std::string Cause(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// Reads `fd` to its end, at most `limit` bytes; false once there is more.
bool ReadBounded(int fd, std::size_t limit, Bytes& bytes, bool& tooLong) {
    bytes.clear();
    tooLong = false;
    std::uint8_t block[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (static_cast<std::size_t>(got) > limit - bytes.size()) {
            tooLong = true;
            return false;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
}

std::string TooLong(const std::string& what, std::size_t limit) {
    return what + " holds more than " + std::to_string(limit) + " bytes";
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error) {
    // Looked at before it is opened: opening a FIFO waits for a writer, and a device may act.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        error = "cannot read " + Cause(path);
        return false;
    }
    if (!S_ISREG(before.st_mode)) {
        error = NotRegular(path, before.st_mode);
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read " + Cause(path);
        return false;
    }
    // Swapped for something else meanwhile: still refused.
    struct stat opened {};
    bool read = false;
    bool tooLong = false;
    if (::fstat(fd, &opened) != 0) {
        error = "cannot read " + Cause(path);
    } else if (!S_ISREG(opened.st_mode)) {
        error = NotRegular(path, opened.st_mode);
    } else if (static_cast<std::uintmax_t>(opened.st_size) > limit) {
        error = TooLong(path, limit);
    } else if (!(read = ReadBounded(fd, limit, bytes, tooLong))) {
        error = tooLong ? TooLong(path, limit) : "cannot read " + Cause(path);
    }
    ::close(fd);
    return read;
}

bool ReadInput(std::size_t limit, Bytes& bytes, std::string& error) {
    bool tooLong = false;
    if (ReadBounded(STDIN_FILENO, limit, bytes, tooLong)) {
        return true;
    }
    error = tooLong ? TooLong("the input", limit)
                    : std::string("cannot read the input: ") + std::strerror(errno);
    return false;
}

bool WriteRegularFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      std::string& error) {
    struct stat existing {};
    const bool replacing = ::lstat(path.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        error = NotRegular(path, existing.st_mode);
        return false;
    }
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) {
        error = path + " names a folder, not a file";
        return false;
    }
    // mkstemp creates with O_EXCL: a name taken by anything, a link included, is passed over.
    std::string temporary = path.substr(0, slash + 1) + "." + name + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot write " + Cause(path);
        return false;
    }
    // The modes OUT had, or those a plain create would have given it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = replacing ? existing.st_mode & 07777 : 0666 & ~mask;
    std::string failure;
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        failure = Cause(path);
    }
    if (::close(fd) != 0 && failure.empty()) {
        failure = Cause(path);
    }
    if (failure.empty() && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = Cause(path);
    }
    if (failure.empty()) {
        return true;
    }
    error = "cannot write " + failure;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace travoli::tool
