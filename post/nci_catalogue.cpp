#include "nci_catalogue.h"

namespace morvane::post {

namespace {

// Calls of the always expanded cycles never reach the NCI as records of their own; they are
// catalogued so that a hand-made NCI that carries one is named in the output, not called unknown.
constexpr RecordKind kCycleByNumber{
    0, "CycleCallByNumber", RecordRole::CycleCallByNumber, Layout::Numbers, 0, kMaxRecordFields};

}  // namespace

const RecordKind* findRecordKind(std::int32_t code) {
    for (const RecordKind& kind : kRecordCatalogue)
        if (kind.code == code) return &kind;
    for (std::int32_t cycle : kExpandedCycleNumbers)
        if (code == rec::CycleByNumberBase + cycle) return &kCycleByNumber;
    return nullptr;
}

}  // namespace morvane::post
