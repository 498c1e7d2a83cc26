// The NCI record catalogue as the post-processor reads it: every record code a Morvane writer
// emits, its name and the shape of its parameter line (nci/nci_format.h). The post-processor
// reads records only through this table, so a code that is not listed is an unknown record.
#pragma once

#include <cstdint>
#include <string_view>

#include "nci/nci_format.h"

namespace morvane::post {

// The catalogue itself is the NCI format's (nci/nci_format.h), which the writers write by.
using Layout = LineShape;
using morvane::kMaxRecordFields;
using morvane::kRecordCatalogue;
using morvane::RecordKind;
using morvane::RecordRole;

// The catalogue entry of `code`; null for a code that no writer emits.
const RecordKind* findRecordKind(std::int32_t code);

}  // namespace morvane::post
