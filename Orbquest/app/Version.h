#pragma once

#include <string>

// "Orbquest X.Y.Z": the name and the version the build was configured with (CMake's project
// version), as --version prints it.
std::string versionText();
