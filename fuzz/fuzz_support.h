// What the fuzz targets share: the input bytes served as a host's document, a scratch file for
// the NCI output, the budgets of a fuzzed run, and a failure that stops the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"
#include "nci/limits.h"

namespace morvane::fuzz {

// The input as the command-line host serves a file: lines split at line feeds, a carriage
// return before a line feed dropped, a last line without a line feed kept. A NUL byte ends its
// line's text, as it would for any host.
class InputDocument {
  public:
    InputDocument(const std::uint8_t* data, std::size_t size);
    const LineSource* source() const { return &source_; }

  private:
    static std::int32_t count(void* context, std::int32_t* n);
    static std::int32_t line(void* context, std::int32_t index, const char** text);

    std::vector<std::string> lines_;
    LineSource source_;
};

// A file of this process in the temporary directory, removed at exit.
const std::string& scratchFile();
std::string readWholeFile(const std::string& path);

// Budgets small enough that an input which reaches one costs milliseconds, not seconds: the
// fuzzer explores what happens at the bounds, the tests check the bounds themselves.
RunLimits fuzzLimits();

// Reports a broken invariant with the input's first bytes and aborts, which libFuzzer records
// as a crash.
[[noreturn]] void fail(std::string_view what, std::string_view detail);

}  // namespace morvane::fuzz
