#pragma once

#include <string>

// An exclusive lock on a lock file beside a file that several games may update at once, held
// from a successful lock() until the object goes: whoever holds it reads, compares and replaces
// the file while no other game does. The lock file itself stays, empty (removing it would let
// two games lock two different files). Locks of one process's separate objects exclude each
// other too: flock belongs to the open file.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for "PATH.lock" (made if missing); false, with the reason, if it cannot be had.
    bool lock(const std::string& path, std::string& error);

  private:
    int file_ = -1;
};
