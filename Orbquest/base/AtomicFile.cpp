#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string reason(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool writeAll(int file, const std::string& content) {
    const char* at = content.data();
    size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(file, at, left);
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

}  // namespace

bool replaceFileAtomically(const std::string& path, const std::string& content,
                           std::string& error) {
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int file = ::mkstemp(name.data());
    if (file < 0) {
        error = reason("Cannot create a temporary file beside", path);
        return false;
    }
    const std::string temporary = name.data();
    // mkstemp makes the file private; a record is no secret, so it gets the usual mode.
    ::fchmod(file, 0644);
    bool written = writeAll(file, content);
    if (!written) {
        error = reason("Cannot write", temporary);
    } else if (::fsync(file) != 0) {
        written = false;
        error = reason("Cannot flush", temporary);
    }
    if (::close(file) != 0 && written) {
        written = false;
        error = reason("Cannot close", temporary);
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = reason("Cannot rename " + temporary + " to", path);
    }
    if (!written) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return false;
    }
    syncFolderOf(path);
    return true;
}
