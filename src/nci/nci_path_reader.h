// The tool path of NCI text, read as the text is written: records in, path events out. One
// reader serves the library's tool-path conversion, `morvane check` and `morvane show`.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "morvane/convert.hpp"

namespace morvane {

class NciLineMap;

// Takes NCI text in pieces of any size (a line may be split between two) and hands every move,
// arc, tool change, spindle speed, cycle and dwell to the callback. Records that describe no
// motion (messages, comments, program end, transformations, subprogram records) are passed
// over. The tool starts at 0 0 0, where the NCI writers start. A line is parsed in place: only a
// line split between two pieces is copied, into a buffer that is reused.
class NciPathReader {
  public:
    using Callback = std::function<void(const PathEvent&)>;

    // `lines` names the program line of each NCI line (null: an event's line is its record's
    // NCI line, as when the input is NCI text itself).
    NciPathReader(Callback onEvent, const NciLineMap* lines)
        : onEvent_(std::move(onEvent)), lines_(lines) {}

    void take(std::string_view text);
    // The last line, when the text does not end with a line feed.
    void finish();

  private:
    static constexpr std::size_t kMaxFields = 32;

    void line(std::string_view text);
    void record(std::int32_t code);
    void move(bool rapid);
    void arc(bool clockwise);
    void emit(PathEvent& event);
    double field(std::size_t i) const { return i < count_ ? fields_[i] : 0.0; }

    Callback onEvent_;
    const NciLineMap* lines_;
    std::string partial_;         // a line begun in the previous piece
    std::uint64_t nciLine_ = 0;   // lines read so far
    std::uint64_t codeLine_ = 0;  // the NCI line of the pending record's code
    // The record whose parameter line comes next, or one of these.
    static constexpr std::int32_t kNoRecord = -1;        // a code line comes next
    static constexpr std::int32_t kSkipParameters = -2;  // a record of no part in the path
    std::int32_t code_ = kNoRecord;
    double fields_[kMaxFields] = {};
    std::size_t count_ = 0;
    bool emptyParameters_ = false;
    PathPoint position_;
    double feed_ = -1.0;
};

}  // namespace morvane
