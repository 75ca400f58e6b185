#pragma once

#include <string>

// Replaces the file at 'path' with 'content' so that it holds either the old content or the
// whole new one, whatever happens meanwhile (a crash, a full disk): the text goes to a new
// temporary file in the same folder, is flushed to the disk, and is then renamed over 'path'.
// On failure the old file stays as it was, no temporary is left behind, and 'error' says what
// failed and why.
bool replaceFileAtomically(const std::string& path, const std::string& content, std::string& error);
