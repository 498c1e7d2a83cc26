#include "nci/nci_stream.h"

#include <charconv>
#include <cmath>

namespace morvane {

char* formatReal(char* first, char* last, double v) {
    if (!std::isfinite(v)) v = 0.0;
    // %g with precision 6 is exactly what a default-configured stream writes for a double,
    // including "-0" for negative zero and exponents of at least two digits ("1e-05").
    return std::to_chars(first, last, v, std::chars_format::general, 6).ptr;
}

std::string realToString(double v) {
    char text[kMaxRealChars];
    return std::string(text, formatReal(text, text + sizeof text, v));
}

NciStream::~NciStream() { close(); }

bool NciStream::open(const std::string& path) {
    close();
    buffer_.clear();
    flushed_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ != nullptr) buffer_.reserve(kSpillThreshold + 4096);
    return file_ != nullptr;
}

void NciStream::close() {
    if (file_ == nullptr) return;
    spill();
    std::fclose(file_);
    file_ = nullptr;
}

void NciStream::flush() {
    if (file_ == nullptr) return;
    spill();
    std::fflush(file_);
}

void NciStream::spill() {
    // A failed write is not reported per record; the stream simply stops receiving text, as a
    // failed output stream would.
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    flushed_ += buffer_.size();
    buffer_.clear();
}

NciStream& NciStream::operator<<(double v) {
    char text[kMaxRealChars];
    buffer_.append(text, formatReal(text, text + sizeof text, v));
    return *this;
}

NciStream& NciStream::integer(std::int64_t v) {
    char text[24];
    buffer_.append(text, std::to_chars(text, text + sizeof text, v).ptr);
    return *this;
}

}  // namespace morvane
