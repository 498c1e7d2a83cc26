// NCI records read one at a time from a stream of lines: the code line, then the parameter line
// read by the layout the catalogue gives for that code. Nothing in the input can make the reader
// fail: a record it cannot read comes back with the reason, so that the post-processor can mark
// it in its output and go on.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "line_reader.h"
#include "nci_catalogue.h"

namespace morvane::post {

// Why a record could not be read. The values travel between the reader and the post library.
enum class RecordProblem : std::int32_t {
    None = 0,
    BadCodeLine = 1,           // the code line is not a whole number
    MissingParameterLine = 2,  // the input ends after the code line
    UnknownCode = 3,           // no writer emits this code
    FieldCount = 4,            // the parameter line has the wrong number of fields
    BadNumber = 5,             // a field is not a number
    OutOfRange = 6,            // a field is beyond kMaxFieldMagnitude
    LineTooLong = 7,           // a line was longer than LineReader::kMaxLineLength
    BlankLine = 8,             // a blank line stands where a code line belongs (no record)
};

// Numbers of larger magnitude are refused: no machine travels a million metres, and the limit
// keeps every later computation and every formatted word finite and short.
inline constexpr double kMaxFieldMagnitude = 1.0e9;

// A short English reason for `problem`, for comments in the output.
std::string_view describeProblem(RecordProblem problem);

struct NciRecord {
    std::int32_t code = -1;            // the record code, when codeRead
    bool codeRead = false;             // the code line was a whole number
    const RecordKind* kind = nullptr;  // null for an unknown or unreadable code
    RecordProblem problem = RecordProblem::None;
    std::int32_t badField = -1;  // 0-based field of a BadNumber or OutOfRange problem
    std::uint64_t line = 0;      // 1-based line number of the code line
    std::array<double, kMaxRecordFields> fields{};
    std::uint32_t fieldCount = 0;
    // The free text of a Comment or Message; for every other record the parameter line as read
    // (or the code line when that could not be read). Valid until the next record is read.
    std::string_view text;

    double field(std::size_t i) const { return i < fieldCount ? fields[i] : 0.0; }
};

// True when a parameter line of `kind` may hold `count` numbers.
bool fieldCountFits(const RecordKind& kind, std::uint32_t count);

// Reads the numbers of `text` into `record` by `kind`'s layout; sets the record's problem.
void parseParameterLine(std::string_view text, const RecordKind& kind, NciRecord& record);

class NciRecordReader {
  public:
    explicit NciRecordReader(LineReader& lines) : lines_(lines) {}

    // The next record; false at the end of the input. A blank line where a code line is
    // expected comes back alone (BlankLine), and so does a code line that is not a number
    // (BadCodeLine), so that the reader finds the records again after a damaged line and every
    // line read is accounted for.
    bool next(NciRecord& record);

  private:
    LineReader& lines_;
};

}  // namespace morvane::post
