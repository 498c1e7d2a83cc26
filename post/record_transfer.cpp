#include "record_transfer.h"

#include <algorithm>

namespace morvane::post {

MorvaneNciRecord toTransfer(const NciRecord& record) {
    MorvaneNciRecord transfer{};
    transfer.code = record.code;
    transfer.codeRead = record.codeRead ? 1 : 0;
    transfer.problem = static_cast<std::int32_t>(record.problem);
    transfer.badField = record.badField;
    transfer.line = record.line;
    transfer.fields = record.fields.data();
    transfer.fieldCount = record.fieldCount;
    transfer.textLength = static_cast<std::uint32_t>(record.text.size());
    transfer.text = record.text.data();
    return transfer;
}

void fromTransfer(const MorvaneNciRecord& transfer, NciRecord& record) {
    record = NciRecord{};
    record.code = transfer.code;
    record.codeRead = transfer.codeRead != 0;
    record.kind = record.codeRead ? findRecordKind(record.code) : nullptr;
    const bool knownProblem =
        transfer.problem >= 0 &&
        transfer.problem <= static_cast<std::int32_t>(RecordProblem::BlankLine);
    record.problem =
        knownProblem ? static_cast<RecordProblem>(transfer.problem) : RecordProblem::BadCodeLine;
    if (record.problem == RecordProblem::None && record.kind == nullptr)
        record.problem = RecordProblem::UnknownCode;
    record.badField = transfer.badField;
    record.line = transfer.line;
    record.fieldCount = transfer.fields == nullptr
                            ? 0
                            : std::min<std::uint32_t>(transfer.fieldCount, kMaxRecordFields);
    std::copy_n(transfer.fields, record.fieldCount, record.fields.begin());
    if (transfer.text != nullptr) record.text = {transfer.text, transfer.textLength};
    if (record.problem == RecordProblem::None && record.kind->layout != Layout::Text &&
        !fieldCountFits(*record.kind, record.fieldCount))
        record.problem = RecordProblem::FieldCount;
}

}  // namespace morvane::post
