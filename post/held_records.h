// NCI records kept for later: the reader's records are valid only until the next one is read, so
// each is copied with its text. Held only where the post-processor must see what follows before
// it writes (the start of a program, an axis no record has moved), never in the run of a program.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "nci_record_reader.h"

namespace morvane::post {

class HeldRecords {
  public:
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    void keep(const NciRecord& record) {
        records_.push_back(record);
        texts_.emplace_back(record.text);
    }
    // Hands the records kept over to `to`, in order, each with its own text; none are kept
    // afterwards.
    void release(HeldRecords& to) {
        to.records_ = std::exchange(records_, {});
        to.texts_ = std::exchange(texts_, {});
        for (std::size_t i = 0; i < to.records_.size(); ++i)
            to.records_[i].text = to.texts_[i];
    }
    const std::vector<NciRecord>& records() const { return records_; }

  private:
    std::vector<NciRecord> records_;
    std::vector<std::string> texts_;  // the text of each record
};

}  // namespace morvane::post
