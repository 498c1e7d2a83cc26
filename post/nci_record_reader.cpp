#include "nci_record_reader.h"

#include <charconv>
#include <cmath>

namespace morvane::post {

namespace {

constexpr bool isFieldBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimFieldBlanks(std::string_view text) {
    while (!text.empty() && isFieldBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isFieldBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One number in the C locale's notation, whatever the process locale says.
RecordProblem parseNumber(std::string_view token, double& value) {
    if (token.size() > 1 && token.front() == '+' && token[1] != '-') token.remove_prefix(1);
    const char* end = token.data() + token.size();
    const auto [stop, ec] = std::from_chars(token.data(), end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return RecordProblem::OutOfRange;
    if (ec != std::errc() || stop != end) return RecordProblem::BadNumber;
    if (!std::isfinite(value)) return RecordProblem::BadNumber;
    if (std::fabs(value) > kMaxFieldMagnitude) return RecordProblem::OutOfRange;
    return RecordProblem::None;
}

// Reads up to `limit` numbers from the front of `text`; `rest` is what follows the last one
// read (after one separating blank).
void readNumbers(std::string_view text, std::uint32_t limit, NciRecord& record,
                 std::string_view& rest) {
    std::size_t pos = 0;
    while (record.fieldCount < limit) {
        while (pos < text.size() && isFieldBlank(text[pos]))
            ++pos;
        if (pos == text.size()) break;
        std::size_t end = pos;
        while (end < text.size() && !isFieldBlank(text[end]))
            ++end;
        if (record.fieldCount == kMaxRecordFields) {
            record.problem = RecordProblem::FieldCount;
            return;
        }
        double value = 0.0;
        const RecordProblem problem = parseNumber(text.substr(pos, end - pos), value);
        if (problem != RecordProblem::None) {
            record.problem = problem;
            record.badField = static_cast<std::int32_t>(record.fieldCount);
            return;
        }
        record.fields[record.fieldCount++] = value;
        pos = end;
    }
    if (pos < text.size()) ++pos;  // the blank between the numbers and a message text
    rest = text.substr(pos);
}

}  // namespace

bool fieldCountFits(const RecordKind& kind, std::uint32_t count) {
    if (kind.role == RecordRole::CycleCallByNumber) return count <= kMaxRecordFields;
    return count == kind.fieldsA || count == kind.fieldsB;
}

std::string_view describeProblem(RecordProblem problem) {
    // By the value of the problem.
    constexpr std::string_view kReasons[] = {
        "readable",
        "the record code is not a number",
        "the parameter line is missing",
        "unknown record code",
        "wrong number of fields",
        "a field is not a number",
        "a field is out of range",
        "the line is too long",
        "a blank line",
    };
    const auto index = static_cast<std::size_t>(problem);
    return index < std::size(kReasons) ? kReasons[index] : "unreadable";
}

void parseParameterLine(std::string_view text, const RecordKind& kind, NciRecord& record) {
    record.fieldCount = 0;
    record.badField = -1;
    record.problem = RecordProblem::None;
    record.text = text;
    if (kind.layout == Layout::Text) return;
    std::string_view rest;
    if (kind.layout == Layout::Message) {
        readNumbers(text, kind.fieldsA, record, rest);
        record.text = rest;
    } else {
        readNumbers(text, kMaxRecordFields + 1, record, rest);
    }
    if (record.problem == RecordProblem::None && !fieldCountFits(kind, record.fieldCount))
        record.problem = RecordProblem::FieldCount;
}

bool NciRecordReader::next(NciRecord& record) {
    std::string_view line;
    bool cut = false;
    if (!lines_.next(line, cut)) return false;
    record = NciRecord{};
    record.line = lines_.lineNumber();
    record.text = line;
    const std::string_view codeText = trimFieldBlanks(line);
    if (!cut && codeText.empty()) {
        record.problem = RecordProblem::BlankLine;
        return true;
    }
    std::int32_t code = 0;
    const auto [stop, ec] =
        std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (cut || ec != std::errc() || stop != codeText.data() + codeText.size()) {
        record.problem = cut ? RecordProblem::LineTooLong : RecordProblem::BadCodeLine;
        return true;
    }
    record.code = code;
    record.codeRead = true;
    record.kind = findRecordKind(code);
    if (!lines_.next(line, cut)) {
        record.problem = RecordProblem::MissingParameterLine;
        record.text = {};
        return true;
    }
    record.text = line;
    if (cut) {
        record.problem = RecordProblem::LineTooLong;
    } else if (record.kind == nullptr) {
        record.problem = RecordProblem::UnknownCode;
    } else {
        parseParameterLine(line, *record.kind, record);
    }
    return true;
}

}  // namespace morvane::post
