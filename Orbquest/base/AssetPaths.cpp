#include "base/AssetPaths.h"

namespace assets {

const char* const kRoot = "Orbquest/Scene";

std::string shader(const std::string& fileName) {
    return std::string(kRoot) + "/Shader/" + fileName;
}

std::string model(const std::string& fileName) {
    return std::string(kRoot) + "/Content/Models/" + fileName;
}

std::string image(const std::string& fileName) {
    return std::string(kRoot) + "/Content/Images/" + fileName;
}

std::string sound(const std::string& fileName) {
    return std::string(kRoot) + "/Content/Sounds/" + fileName;
}

std::string level(const std::string& fileName) {
    return std::string(kRoot) + "/Levels/" + fileName;
}

}  // namespace assets
