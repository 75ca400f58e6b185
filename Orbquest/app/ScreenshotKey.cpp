#include "app/ScreenshotKey.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <utility>

#include "app/AssetLocation.h"

ScreenshotKey::ScreenshotKey(std::string folder) : folder_(std::move(folder)) {}

void ScreenshotKey::writePending(int width, int height) {
    if (pending_ == 0) {
        return;
    }
    capture_.capture(width, height);
    for (; pending_ > 0; --pending_) {
        writeOne();
    }
}

void ScreenshotKey::dropPending() {
    for (; pending_ > 0; --pending_) {
        std::cout << "Screenshot not saved: the game ended before the next frame was drawn"
                  << std::endl;
    }
}

void ScreenshotKey::writeOne() {
    // Creating the file exclusively claims its number, even against another game writing
    // pictures into the same folder; the picture then replaces it through the one writer.
    std::string path;
    int file = -1;
    do {
        path = resolveAgainst(folder_, screenshotFileName(++lastNumber_));
        file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (file < 0 && errno == EEXIST);
    if (file < 0) {
        std::cout << "Failed to write the screenshot " << path << ": " << std::strerror(errno)
                  << std::endl;
        --lastNumber_;  // the number is still free
        return;
    }
    ::close(file);
    std::string error;
    if (!capture_.save(path, error)) {
        std::remove(path.c_str());
        --lastNumber_;
        std::cout << "Failed to write the screenshot " << path << ": " << error << std::endl;
        return;
    }
    std::cout << "Screenshot saved as " << path << std::endl;
}

std::string screenshotFileName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "orbquest-%04d.png", number);
    return name;
}
