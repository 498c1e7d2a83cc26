// A file written through a buffer, every write checked: the NCI file, the post-processor's
// result and its warnings, the command line's result and pictures. After the first failed write (a full disk) it writes nothing more,
// and says so: failed(), and close() answers false, with the system's reason kept.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace morvane {

class BufferedFile {
  public:
    BufferedFile() = default;
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;
    ~BufferedFile();  // closes an opened file, unchecked: call close() to know it is whole

    // Opens `path` for writing, emptying it; with `mustExist`, only a file that exists (it is
    // written from its start). False when it cannot be opened.
    bool open(const std::string& path, bool mustExist = false);
    // Writes into `file`, which its owner opened and closes (standard output, a temporary file
    // that is renamed once whole): close() writes what is buffered and lets it go, open.
    void attach(std::FILE* file);
    bool isOpen() const { return file_ != nullptr; }
    // Appends `text`; a large piece goes to the file at once. A piece that fits the buffer is
    // copied here, without a call: the writers hand over a line or a number at a time.
    void write(std::string_view text) {
        if (text.size() < kFlushSize - used_ && !failed_ && buffer_ != nullptr) {
            if (!text.empty()) std::memcpy(buffer_.get() + used_, text.data(), text.size());
            used_ += text.size();
            return;
        }
        writeThrough(text);
    }
    // Writes what is buffered; false when any write so far failed.
    bool flush();
    // Writes what is buffered and closes the file; false when the file is not whole.
    bool close();
    bool failed() const { return failed_; }
    // The errno of the first failure (0: none).
    int error() const { return error_; }

  private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    void writeThrough(std::string_view text);
    void put(std::string_view text);
    void putBuffered();
    void fail();
    void reset(std::FILE* file, bool owned);

    std::FILE* file_ = nullptr;
    bool owned_ = true;
    std::unique_ptr<char[]> buffer_;  // kFlushSize bytes, from the first file on
    std::size_t used_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

}  // namespace morvane
