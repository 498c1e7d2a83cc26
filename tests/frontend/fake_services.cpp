#include "fake_services.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "nci/cycle_errors.h"
#include "support/memory_program.h"

namespace morvane::test {

namespace fs = std::filesystem;

namespace {

template <typename Fn>
void* asAddress(Fn fn) {
    void* address = nullptr;
    std::memcpy(&address, &fn, sizeof address);
    return address;
}

std::string text(const char* s) {
    return s != nullptr ? s : "<null>";
}

}  // namespace

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "morvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::string ScratchDirectory::write(const std::string& name, const std::string& content) const {
    const fs::path file = path_ / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
}

ScopedVariable::ScopedVariable(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* saved = std::getenv(name_.c_str())) saved_ = saved;
    set(value);
}

ScopedVariable::~ScopedVariable() {
    set(saved_);
}

void ScopedVariable::set(const std::optional<std::string>& value) const {
    if (value) {
        ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

void FakePost::reset() {
    table.clear();
    nullTable = false;
    nullCount = false;
    count = 0;
    output.clear();
    removeResultFile = false;
    answerFailure = false;
    calls.clear();
}

std::int32_t FakePost::getSupportedCycles(const char* converter, const char* post,
                                          PostCycleRecord** tableOut, std::int32_t** countOut) {
    calls.push_back({"GetSupportedCycles", text(converter), text(post)});
    // An empty vector may have no storage; a converter without patterns still answers a table.
    static PostCycleRecord noRecord{};
    *tableOut = nullTable ? nullptr : table.empty() ? &noRecord : table.data();
    *countOut = nullCount ? nullptr : &count;
    return 1;
}

std::int32_t FakePost::nciConverter(const char* nci, const char* result, const char* converter,
                                    const char* post) {
    calls.push_back({"NCIConverter", text(nci), text(result), text(converter), text(post)});
    if (removeResultFile) {
        fs::remove(result);
    } else {
        std::ofstream(result, std::ios::binary) << output;
    }
    return answerFailure ? 0 : 1;
}

void FakeServices::installPost(bool withGetSupportedCycles, bool withConverter) {
    files.insert(kReader);
    files.insert(kPost);
    auto& entries = libraries[kReader];
    if (withGetSupportedCycles)
        entries["GetSupportedCycles"] = asAddress(&FakePost::getSupportedCycles);
    if (withConverter) entries["NCIConverter"] = asAddress(&FakePost::nciConverter);
}

std::string FakeServices::makeTemporaryFile() {
    if (failTemporaryFiles) return {};
    const std::string path =
        scratch.write("NEW" + std::to_string(temporaryFiles.size() + 1) + ".tmp", "");
    temporaryFiles.push_back(path);
    return path;
}

bool FakeServices::fileExists(const std::string& path) {
    return files.count(path) != 0 || fs::is_regular_file(path);
}

void FakeServices::removeFile(const std::string& path) {
    removed[path] = readFile(path);
    fs::remove(path);
}

void* FakeServices::loadLibrary(const std::string& path) {
    loads.push_back(path);
    auto it = libraries.find(path);
    return it == libraries.end() ? nullptr : &it->second;
}

void* FakeServices::findEntryPoint(void* library, const char* name) {
    auto* entries = static_cast<std::map<std::string, void*>*>(library);
    auto it = entries->find(name);
    return it == entries->end() ? nullptr : it->second;
}

bool FakeServices::copyLibraryMemory(void* to, const void* from, std::size_t bytes) {
    const auto begin = reinterpret_cast<std::uintptr_t>(from);
    const auto end = begin + bytes;
    const auto badBegin = reinterpret_cast<std::uintptr_t>(unreadable.first);
    const auto badEnd = reinterpret_cast<std::uintptr_t>(unreadable.second);
    if (from == nullptr || (begin < badEnd && end > badBegin)) return false;
    std::memcpy(to, from, bytes);
    return true;
}

std::optional<std::wstring> QueuedFileAnswers::openFile(const FileOpenRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

namespace {

class FakeParser final : public ProgramParser {
  public:
    explicit FakeParser(std::string path) : path_(std::move(path)) {}
    void run() override {
        std::ofstream(path_, std::ios::binary) << FakeParsers::text;
        if (FakeParsers::ending == FakeParsers::Ending::WriteFailed)
            diagnostics().fail(diagnostic::kWriteFailed, "cannot write the NCI file: disk full");
        if (FakeParsers::ending == FakeParsers::Ending::CycleWrongValue) throw CycleWrongValue();
        if (FakeParsers::ending == FakeParsers::Ending::CycleWrongCode) throw CycleWrongCode();
    }

  private:
    std::string path_;
};

}  // namespace

void FakeParsers::reset() {
    text.clear();
    ending = Ending::Normally;
    none = false;
    built.clear();
}

std::unique_ptr<ProgramParser> FakeParsers::make(int position, const LineSource* lines,
                                                 std::string nciPath,
                                                 const SupportedCycleList& cycles) {
    if (none || position < 0 || position > 4) return nullptr;
    built.push_back({position, lines, nciPath, cycles});
    return std::make_unique<FakeParser>(std::move(nciPath));
}

PostCycleRecord recordOf(const SupportedCycle& fields) {
    PostCycleRecord record{};
    record.first = fields.front();
    for (std::size_t i = 0; i < 27; ++i)
        record.values[i] = fields[i + 1];
    record.second = fields.back();
    return record;
}

}  // namespace morvane::test
