// The file side of the library (include/morvane/convert.hpp): a program read whole.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "morvane/convert.hpp"

namespace morvane {

bool readProgramFile(const std::string& path, std::string& text, std::string& error) {
    text.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = path + ": cannot be read: " + std::strerror(errno);
        return false;
    }
    // Its size first: a text that grows as it is read is copied again at every growth.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) text.reserve(static_cast<std::size_t>(size));
        std::rewind(file);
    }
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int why = errno;
    std::fclose(file);
    if (failed) error = path + ": cannot be read: " + std::strerror(why);
    return !failed;
}

}  // namespace morvane
