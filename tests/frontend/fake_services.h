// Fakes for the front end's tests: system services over a private temporary directory and a
// made-up host directory, a post-processor whose entry points are functions of the test
// program, and parsers that write a given text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "frontend/dialog_framework.h"
#include "frontend/system_services.h"
#include "morvane/post_api.h"
#include "parsers/program_parser.h"

namespace morvane::test {

// A temporary directory of its own, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::filesystem::path& path() const { return path_; }
    // Writes `text` into the file `name` of the directory and returns its full path.
    std::string write(const std::string& name, const std::string& text) const;

  private:
    std::filesystem::path path_;
};

// An environment variable set (or, with no value, removed) for as long as this lives; what was
// there before comes back.
class ScopedVariable {
  public:
    ScopedVariable(std::string name, const std::optional<std::string>& value);
    ~ScopedVariable();
    void set(const std::optional<std::string>& value) const;

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

// The post-processor as the test wants it to answer. Entry points are plain functions, so its
// state is global; reset() before each test.
struct FakePost {
    static inline std::vector<PostCycleRecord> table;
    static inline bool nullTable = false;
    static inline bool nullCount = false;
    static inline std::int32_t count = 0;  // the count reported (not always the table's size)
    static inline std::string output;      // written into the result file by NCIConverter
    static inline bool removeResultFile = false;
    static inline bool answerFailure = false;  // NCIConverter answers 0 after writing
    static inline std::vector<std::vector<std::string>> calls;  // entry name, then arguments

    static void reset();
    static std::int32_t getSupportedCycles(const char* converter, const char* post,
                                           PostCycleRecord** table, std::int32_t** count);
    static std::int32_t nciConverter(const char* nci, const char* result, const char* converter,
                                     const char* post);
};

class FakeServices final : public SystemServices {
  public:
    static constexpr const char* kHost = "/opt/editor";
    static constexpr const char* kReader = "/opt/editor/Dll/MorvaneNCIReader.so";
    static constexpr const char* kPost = "/opt/editor/Dll/MorvanePost.so";

    // Both library files present, the reader loadable, with the entry points asked for.
    void installPost(bool withGetSupportedCycles = true, bool withConverter = true);

    std::string hostDirectory() override { return host; }
    std::string makeTemporaryFile() override;
    bool fileExists(const std::string& path) override;
    // Keeps what the file held in `removed`, then removes it.
    void removeFile(const std::string& path) override;
    void* loadLibrary(const std::string& path) override;
    void* findEntryPoint(void* library, const char* name) override;
    // Copies, except from the bytes marked unreadable.
    bool copyLibraryMemory(void* to, const void* from, std::size_t bytes) override;

    std::string host = kHost;
    // Memory the made-up library handed out that cannot be read: [first, second).
    std::pair<const void*, const void*> unreadable{nullptr, nullptr};
    std::set<std::string> files;  // made-up files that exist (real files exist anyway)
    std::map<std::string, std::map<std::string, void*>> libraries;  // loadable made-up libraries
    bool failTemporaryFiles = false;
    std::vector<std::string> temporaryFiles;     // made, in order
    std::map<std::string, std::string> removed;  // path: the text the file held
    std::vector<std::string> loads;              // libraries asked for, in order
    ScratchDirectory scratch;
};

// A dialog front end that answers file-open requests from a queue (none left: cancelled) and
// records them; how the dialog is worked is the test's own.
class QueuedFileAnswers : public DialogFrontEnd {
  public:
    std::vector<std::optional<std::wstring>> answers;
    std::vector<FileOpenRequest> requests;

    std::optional<std::wstring> openFile(const FileOpenRequest& request) override;
};

// Parsers for the driver: each writes `text` into its NCI file and then, when asked, throws a
// rejected cycle parameter. Records what it was built with.
struct FakeParsers {
    // WriteFailed: the parser reports that its NCI file could not be written whole.
    enum class Ending { Normally, CycleWrongValue, CycleWrongCode, WriteFailed };
    static inline std::string text;
    static inline Ending ending = Ending::Normally;
    static inline bool none = false;  // the factory has no parser
    struct Built {
        int position;
        const LineSource* lines;
        std::string nciPath;
        SupportedCycleList cycles;
    };
    static inline std::vector<Built> built;

    static void reset();
    static std::unique_ptr<ProgramParser> make(int position, const LineSource* lines,
                                               std::string nciPath,
                                               const SupportedCycleList& cycles);
};

// A record whose 29 fields, in pattern order, are `fields`.
PostCycleRecord recordOf(const SupportedCycle& fields);

}  // namespace morvane::test
