#include "app/Version.h"

std::string versionText() {
    return std::string("Orbquest ") + ORBQUEST_VERSION;
}
