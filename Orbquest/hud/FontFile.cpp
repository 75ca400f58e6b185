#include "hud/FontFile.h"

#include <fontconfig/fontconfig.h>

namespace {

const char* const kWantedFont = "DejaVu Sans,sans-serif:bold";

const FcChar8* text(const char* value) {
    return reinterpret_cast<const FcChar8*>(value);
}

}  // namespace

std::string findFontFile(std::string& error) {
    if (!FcInit()) {
        error = "fontconfig could not read its configuration";
        return "";
    }
    FcPattern* pattern = FcNameParse(text(kWantedFont));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);

    std::string path;
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (match == nullptr || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        error = "fontconfig knows no font (is fonts-dejavu-core installed?)";
    } else if (FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) {
        error = std::string("fontconfig offers only ") + reinterpret_cast<const char*>(file) +
                ", which cannot be scaled";
    } else {
        path = reinterpret_cast<const char*>(file);
    }
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    // Nothing else in the game asks fontconfig anything: give back the configuration and font
    // caches it would otherwise hold until exit.
    FcFini();
    return path;
}
