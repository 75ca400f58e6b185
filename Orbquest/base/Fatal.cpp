#include "base/Fatal.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

void pauseConsole() {
    if (!isatty(STDIN_FILENO)) {
        return;
    }
    std::cout << "Press Enter to continue . . ." << std::endl;
    std::string ignored;
    std::getline(std::cin, ignored);
}

void fatalError(const std::string& message) {
    std::cout << message << std::endl;
    pauseConsole();
    std::exit(1);
}
