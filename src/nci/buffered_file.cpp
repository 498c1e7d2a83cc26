#include "nci/buffered_file.h"

#include <cerrno>

namespace morvane {

BufferedFile::~BufferedFile() {
    if (file_ != nullptr && owned_) std::fclose(file_);
}

void BufferedFile::reset(std::FILE* file, bool owned) {
    if (file_ != nullptr && owned_) std::fclose(file_);
    file_ = file;
    owned_ = owned;
    used_ = 0;
    failed_ = false;
    error_ = 0;
    if (file_ != nullptr && buffer_ == nullptr) buffer_ = std::make_unique<char[]>(kFlushSize);
}

bool BufferedFile::open(const std::string& path, bool mustExist) {
    std::FILE* file = std::fopen(path.c_str(), mustExist ? "r+b" : "wb");
    const int reason = errno;
    reset(file, true);
    if (file == nullptr) {
        errno = reason;
        fail();
    }
    return file != nullptr;
}

void BufferedFile::attach(std::FILE* file) {
    reset(file, false);
}

void BufferedFile::fail() {
    if (!failed_) error_ = errno;
    failed_ = true;
    used_ = 0;
}

void BufferedFile::put(std::string_view text) {
    if (failed_ || file_ == nullptr || text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) fail();
}

void BufferedFile::putBuffered() {
    if (buffer_ != nullptr) put({buffer_.get(), used_});
    used_ = 0;
}

void BufferedFile::writeThrough(std::string_view text) {
    if (failed_) return;
    if (used_ + text.size() >= kFlushSize || buffer_ == nullptr) putBuffered();
    if (text.size() >= kFlushSize || buffer_ == nullptr) return put(text);
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
}

bool BufferedFile::flush() {
    putBuffered();
    if (!failed_ && file_ != nullptr && std::fflush(file_) != 0) fail();
    return !failed_;
}

bool BufferedFile::close() {
    putBuffered();
    if (file_ == nullptr) return false;
    if (!owned_) {
        if (!failed_ && std::fflush(file_) != 0) fail();
    } else if (std::fclose(file_) != 0 && !failed_) {
        fail();  // the last bytes reach the file only when it is closed
    }
    file_ = nullptr;
    return !failed_;
}

}  // namespace morvane
