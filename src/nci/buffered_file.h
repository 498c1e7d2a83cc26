// A file written through a buffer, every write checked: the NCI file, the post-processor's
// result and its warnings. After the first failed write (a full disk) it writes nothing more,
// and says so: failed(), and close() answers false, with the system's reason kept.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace morvane {

class BufferedFile {
  public:
    BufferedFile() = default;
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;
    ~BufferedFile();  // closes the file, unchecked: call close() to know it is whole

    // Opens `path` for writing, emptying it; with `mustExist`, only a file that exists (it is
    // written from its start). False when it cannot be opened.
    bool open(const std::string& path, bool mustExist = false);
    bool isOpen() const { return file_ != nullptr; }
    // Appends `text`; a large piece goes to the file at once.
    void write(std::string_view text);
    // Writes what is buffered; false when any write so far failed.
    bool flush();
    // Writes what is buffered and closes the file; false when the file is not whole.
    bool close();
    bool failed() const { return failed_; }
    // The errno of the first failure (0: none).
    int error() const { return error_; }

  private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    void put(std::string_view text);
    void fail();

    std::FILE* file_ = nullptr;
    std::string pending_;
    bool failed_ = false;
    int error_ = 0;
};

}  // namespace morvane
