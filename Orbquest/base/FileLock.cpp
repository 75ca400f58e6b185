#include "base/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

FileLock::~FileLock() {
    if (file_ >= 0) {
        ::close(file_);  // which releases the lock
    }
}

bool FileLock::lock(const std::string& path, std::string& error) {
    const std::string lockPath = path + ".lock";
    // 0666: the player's umask decides, as for any new file of theirs.
    file_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    int locked = -1;
    if (file_ >= 0) {
        do {
            locked = ::flock(file_, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
    }
    if (locked != 0) {
        error = "Cannot lock " + lockPath + ": " + std::strerror(errno);
        if (file_ >= 0) {
            ::close(file_);
            file_ = -1;
        }
        return false;
    }
    return true;
}
