#pragma once

#include <string>

// The display's font file as fontconfig finds it: DejaVu Sans Bold (Debian's fonts-dejavu-core)
// or, without it, what fontconfig offers for a bold sans-serif face. Empty, with the reason in
// 'error', when it offers no scalable font at all.
std::string findFontFile(std::string& error);
