#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

// A name beside 'path' that nothing has yet, created exclusively. 0666 lets the kernel apply
// the player's umask, as for any new file of theirs; the process's umask stays untouched.
int createTemporary(const std::string& path, std::string& temporary) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp-";
        for (int i = 0; i < 6; ++i) {
            temporary += kLetters[letter(random)];
        }
        const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file >= 0 || errno != EEXIST) {
            return file;
        }
    }
    return -1;
}

bool writeAll(int file, const char* at, size_t left, off_t offset, bool append) {
    while (left > 0) {
        const ssize_t written = append ? ::write(file, at, left) : ::pwrite(file, at, left, offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        at += written;
        left -= static_cast<size_t>(written);
        offset += written;
    }
    return true;
}

// The folder's own entry must reach the disk too, or the rename may be lost in a crash.
void syncFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

// A rename would put a file in place of a folder or a device.
bool isReplaceable(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

const char* const kNotAPlainFile = "it is not a plain file";

}  // namespace

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::fail(const std::string& what, const std::string& path) {
    if (error_.empty()) {
        error_ = what + " " + path + ": " + std::strerror(errno);
    }
}

bool AtomicFile::open(const std::string& path) {
    discard();
    error_.clear();
    size_ = 0;
    path_ = path;
    if (!isReplaceable(path)) {
        error_ = "Cannot write " + path + ": " + kNotAPlainFile;
        return false;
    }
    file_ = createTemporary(path, temporary_);
    if (file_ < 0) {
        fail("Cannot create a temporary file beside", path);
        temporary_.clear();
        return false;
    }
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (!isOpen() || failed()) {
        return false;
    }
    if (!writeAll(file_, static_cast<const char*>(data), size, 0, true)) {
        fail("Cannot write", temporary_);
        return false;
    }
    size_ += size;
    return true;
}

bool AtomicFile::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (!isOpen() || failed()) {
        return false;
    }
    if (!writeAll(file_, static_cast<const char*>(data), size, static_cast<off_t>(offset), false)) {
        fail("Cannot write", temporary_);
        return false;
    }
    return true;
}

bool AtomicFile::commit() {
    if (!isOpen()) {
        if (!failed()) {
            error_ = "No file was opened for " + path_;
        }
        return false;
    }
    if (!failed() && ::fsync(file_) != 0) {
        fail("Cannot flush", temporary_);
    }
    if (::close(file_) != 0) {
        fail("Cannot close", temporary_);
    }
    file_ = -1;
    if (!failed() && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        fail("Cannot rename " + temporary_ + " to", path_);
    }
    if (failed()) {
        discard();
        return false;
    }
    temporary_.clear();
    syncFolderOf(path_);
    return true;
}

void AtomicFile::discard() {
    if (file_ >= 0) {
        ::close(file_);
        file_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool replaceFileAtomically(const std::string& path, const std::string& content,
                           std::string& error) {
    AtomicFile file;
    if (file.open(path) && file.write(content) && file.commit()) {
        return true;
    }
    error = file.error();
    return false;
}

bool canWriteFileAt(const std::string& path, std::string& error) {
    if (!isReplaceable(path)) {
        error = kNotAPlainFile;
        return false;
    }
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        error = std::strerror(errno);
        return false;
    }
    std::string temporary;
    const int file = createTemporary(path, temporary);
    if (file < 0) {
        error = std::strerror(errno);
        return false;
    }
    ::close(file);
    ::unlink(temporary.c_str());
    return true;
}
