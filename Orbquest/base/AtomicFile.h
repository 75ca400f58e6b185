#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The one way the game writes a file. What is written goes to a temporary file beside the
// target, "TARGET.tmp-XXXXXX", made with the permissions any new file of the player's gets
// under their umask; every write and the close are checked. commit() flushes it to the disk,
// renames it over the target and syncs the folder, so the target holds either what it held
// before or the whole new content, whatever happens meanwhile. A crash of the game leaves the
// temporary with everything written so far; any other end without a commit removes it.
class AtomicFile {
  public:
    AtomicFile() = default;
    ~AtomicFile();  // an uncommitted temporary is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary beside 'path'; false, with the reason in error(), if it cannot be.
    bool open(const std::string& path);
    // Appends straight to the file, with no buffer in the game, so what was written survives a
    // crash of the game. After a failure, later writes do nothing and error() keeps the reason.
    bool write(const void* data, std::size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    // Overwrites bytes written before, e.g. a header that learns its sizes at the end.
    bool writeAt(std::uint64_t offset, const void* data, std::size_t size);
    // Puts the file in place; false, with the reason in error(), after any failure, and then
    // the temporary is gone and the target is as it was.
    bool commit();
    // Removes the temporary; the target stays as it was.
    void discard();

    bool isOpen() const { return file_ >= 0; }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& temporaryPath() const { return temporary_; }
    std::uint64_t size() const { return size_; }  // bytes appended so far

  private:
    void fail(const std::string& what, const std::string& path);

    int file_ = -1;
    std::string path_;
    std::string temporary_;
    std::string error_;
    std::uint64_t size_ = 0;
};

// The whole content at once, through an AtomicFile; false, with the reason, if it failed.
bool replaceFileAtomically(const std::string& path, const std::string& content, std::string& error);

// Whether the game could write a file at 'path' now: what is there must be a plain file the
// player may write, and a temporary must be possible beside it (one is made and removed at
// once; the file at 'path' is not touched). False with the system's reason in 'error'.
bool canWriteFileAt(const std::string& path, std::string& error);
