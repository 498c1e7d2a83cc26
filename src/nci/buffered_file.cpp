#include "nci/buffered_file.h"

#include <cerrno>

namespace morvane {

BufferedFile::~BufferedFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool BufferedFile::open(const std::string& path, bool mustExist) {
    if (file_ != nullptr) std::fclose(file_);
    pending_.clear();
    failed_ = false;
    error_ = 0;
    file_ = std::fopen(path.c_str(), mustExist ? "r+b" : "wb");
    if (file_ == nullptr) {
        fail();
    } else {
        pending_.reserve(kFlushSize);
    }
    return file_ != nullptr;
}

void BufferedFile::fail() {
    if (!failed_) error_ = errno;
    failed_ = true;
    pending_.clear();
}

void BufferedFile::put(std::string_view text) {
    if (failed_ || file_ == nullptr || text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) fail();
}

void BufferedFile::write(std::string_view text) {
    if (failed_) return;
    if (pending_.size() + text.size() > kFlushSize) {
        put(pending_);
        pending_.clear();
    }
    if (text.size() >= kFlushSize) return put(text);
    pending_ += text;  // within the room reserved at open: no allocation per write
}

bool BufferedFile::flush() {
    put(pending_);
    pending_.clear();
    if (!failed_ && file_ != nullptr && std::fflush(file_) != 0) fail();
    return !failed_;
}

bool BufferedFile::close() {
    put(pending_);
    pending_.clear();
    if (file_ == nullptr) return false;
    // The last bytes reach the file only when it is closed.
    if (std::fclose(file_) != 0 && !failed_) fail();
    file_ = nullptr;
    return !failed_;
}

}  // namespace morvane
