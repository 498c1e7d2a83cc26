// The runner of nci/records.txt: blocks written one at a time by the conversational or the ISO
// writer, each with the NCI text it must write.
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cycle_probe.h"
#include "frame_harness.h"
#include "nci/native_cycle_tables.h"
#include "support/table_file.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane::test {
namespace {

class Writer {
  public:
    virtual ~Writer() = default;
    virtual std::string write(const std::string& words) = 0;
    virtual ParamMap& params() = 0;
    virtual std::vector<double>& axes() = 0;
    virtual NCIFrame& frame() = 0;
    virtual std::vector<std::int32_t> supported() = 0;  // of a marks writer
};

template <class Frame>
class WriterOf final : public Writer {
  public:
    std::string write(const std::string& words) override { return harness_.write(words); }
    ParamMap& params() override { return harness_.params; }
    std::vector<double>& axes() override { return harness_.axes; }
    NCIFrame& frame() override { return harness_.frame; }
    std::vector<std::int32_t> supported() override {
        if constexpr (requires { harness_.frame.supportedList(); })
            return harness_.frame.supportedList();
        return {};
    }

  private:
    FrameHarness<Frame> harness_;
};

// A writer of `kind` with the setup fields of `row` from field `first` on.
std::unique_ptr<Writer> makeWriter(const std::string& kind, const TableRow& row,
                                   std::size_t first) {
    std::unique_ptr<Writer> writer;
    if (kind == "conversational") writer = std::make_unique<WriterOf<NCIFrame>>();
    if (kind == "iso") writer = std::make_unique<WriterOf<NCIFrameFanuc>>();
    if (kind == "conversational-marks") writer = std::make_unique<WriterOf<CycleProbe<NCIFrame>>>();
    if (kind == "iso-marks") writer = std::make_unique<WriterOf<CycleProbe<NCIFrameFanuc>>>();
    if (!writer) {
        ADD_FAILURE() << row.where << ": no writer " << kind;
        return writer;
    }
    SupportedCycleList patterns;
    for (std::size_t i = first; i < row.fields.size(); ++i) {
        std::istringstream setting(row.at(i));
        char letter = 0;
        if (row.at(i).starts_with("pattern=")) {
            SupportedCycle& pattern = patterns.emplace_back();
            for (std::size_t field = 0; field < pattern.size(); ++field)
                pattern[field] = row.at(i).at(8 + field) - '0';
        } else if (row.at(i).starts_with("cycles=")) {
            const int cycle = std::stoi(row.at(i).substr(7));
            for (const CycleMask& m : kind.starts_with("iso") ? std::span(kFanucCycleMasks)
                                                              : std::span(kFrameCycleMasks))
                if (m.cycle == cycle) patterns.push_back(m.mask);
        } else if (row.at(i).starts_with("axes=")) {
            setting.ignore(5);
            for (double& axis : writer->axes())
                setting >> axis;
        } else if (int q = 0; setting >> letter >> q && letter == 'Q' && setting.get() == '=') {
            setting >> writer->params()[q];
        } else {
            ADD_FAILURE() << row.where << ": no setting " << row.at(i);
        }
    }
    if (!patterns.empty()) writer->frame().SetSupportedCycles(patterns);
    return writer;
}

TEST(RecordTable, EveryBlockWritesItsRecords) {
    std::vector<std::unique_ptr<Writer>> writers;
    std::vector<std::string> eachKinds;  // a new writer of each for every row
    for (const TableRow& row : readTable("nci/records.txt")) {
        if (row.at(0) == "new") {
            eachKinds.clear();
            writers.clear();
            writers.push_back(makeWriter(row.at(1), row, 2));
            continue;
        }
        if (row.at(0) == "each") {
            eachKinds = splitWords(row.at(1));
            continue;
        }
        if (!eachKinds.empty()) {
            writers.clear();
            for (const std::string& kind : eachKinds)
                writers.push_back(makeWriter(kind, row, row.fields.size()));
        }
        for (const auto& writer : writers) {
            ASSERT_NE(writer, nullptr) << row.where;
            if (row.at(0) == "check" && row.at(1).starts_with("supported=")) {
                std::string list;
                for (const std::int32_t cycle : writer->supported())
                    list += (list.empty() ? "" : " ") + std::to_string(cycle);
                EXPECT_EQ(list, row.at(1).substr(10)) << row.where;
            } else if (row.at(0) == "check" && row.at(1).starts_with("block=")) {
                EXPECT_EQ(writer->frame().GetBlockCode(), std::stoi(row.at(1).substr(6)))
                    << row.where;
            } else if (row.at(0) == "check") {
                std::istringstream setting(row.at(1));
                char letter = 0;
                int q = 0;
                double value = 0;
                setting >> letter >> q;
                setting.ignore(1);
                setting >> value;
                EXPECT_EQ(writer->params()[q], value) << row.where;
            } else {
                const std::string nci = writer->write(unescaped(row.at(0)));
                EXPECT_TRUE(matches(nci, unescaped(row.at(1)))) << row.where << "\n" << nci;
            }
        }
    }
}

}  // namespace
}  // namespace morvane::test
