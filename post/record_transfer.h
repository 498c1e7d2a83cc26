// NCI records across the boundary between the reader library and the post library.
#pragma once

#include "nci_record_reader.h"
#include "post_interface.h"

namespace morvane::post {

// A view of `record` for the post library; valid while `record` is.
MorvaneNciRecord toTransfer(const NciRecord& record);

// The record handed over in `transfer`, checked again: a count beyond the catalogue's
// largest record is cut, an unknown problem value reads as an unreadable code line.
void fromTransfer(const MorvaneNciRecord& transfer, NciRecord& record);

}  // namespace morvane::post
