#include "base/TextLines.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

TextFileRead readTextFile(const std::string& path, std::size_t maxBytes, std::string& text,
                          std::string& error) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        return TextFileRead::Missing;
    }
    if (std::filesystem::is_directory(path, ignored)) {
        error = "it is a folder";
        return TextFileRead::Failed;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return TextFileRead::Failed;
    }
    std::string content(maxBytes + 1, '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (file.bad()) {
        error = std::strerror(errno);
        return TextFileRead::Failed;
    }
    content.resize(static_cast<std::size_t>(file.gcount()));
    text = std::move(content);
    return TextFileRead::Read;
}

TextProblem checkText(const std::string& text, const TextLimits& limits) {
    TextProblem problem;
    if (text.size() > limits.maxBytes) {
        problem.kind = TextProblem::TooLarge;
    } else if (text.find('\0') != std::string::npos) {
        problem.kind = TextProblem::NulByte;
    } else {
        TextLines lines(text);
        for (std::string line; lines.next(line);) {
            if (line.size() > limits.maxLineLength) {
                problem.kind = TextProblem::LongLine;
                problem.line = lines.number();
                break;
            }
        }
    }
    return problem;
}

bool TextLines::next(std::string& line) {
    if (at_ >= text_.size()) {
        return false;
    }
    const std::size_t end = text_.find_first_of("\r\n", at_);
    if (end == std::string::npos) {
        line.assign(text_, at_, std::string::npos);
        at_ = text_.size();
    } else {
        line.assign(text_, at_, end - at_);
        const bool crLf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
        at_ = end + (crLf ? 2 : 1);
    }
    ++number_;
    return true;
}
