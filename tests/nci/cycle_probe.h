// A writer whose cycle writers only mark which one was called, to test the routing of cycle
// calls independently of the longhand expansions; it also shows the supported-cycle list.
#pragma once

#include <cstdint>
#include <vector>

#include "writer/nci_frame.h"
#include "nci/nci_stream.h"

namespace morvane::test {

template <class Frame>
class CycleProbe : public Frame {
  public:
    const std::vector<std::int32_t>& supportedList() const { return this->supportedCycles_; }

    void WriteCycle200(NciStream& out) override { mark(out, 200); }
    void WriteCycle201(NciStream& out) override { mark(out, 201); }
    void WriteCycle202(NciStream& out) override { mark(out, 202); }
    void WriteCycle203(NciStream& out) override { mark(out, 203); }
    void WriteCycle204(NciStream& out) override { mark(out, 204); }
    void WriteCycle205(NciStream& out) override { mark(out, 205); }
    void WriteCycle206(NciStream& out) override { mark(out, 206); }
    void WriteCycle207(NciStream& out) override { mark(out, 207); }
    void WriteCycle208(NciStream& out) override { mark(out, 208); }
    void WriteCycle209(NciStream& out) override { mark(out, 209); }
    void WriteCycle1001(NciStream& out) override { mark(out, 1001); }
    void WriteCycle1003(NciStream& out) override { mark(out, 1003); }
    void WriteCycle1004(NciStream& out) override { mark(out, 1004); }
    void WriteCycle1005(NciStream& out) override { mark(out, 1005); }
    void WriteCycle210(NciStream& out) override { mark(out, 210); }
    void WriteCycle211(NciStream& out) override { mark(out, 211); }
    void WriteCycle212(NciStream& out) override { mark(out, 212); }
    void WriteCycle213(NciStream& out) override { mark(out, 213); }
    void WriteCycle214(NciStream& out) override { mark(out, 214); }
    void WriteCycle215(NciStream& out) override { mark(out, 215); }
    void WriteCycle221(NciStream& out) override { mark(out, 221); }
    void WriteCycle230(NciStream& out) override { mark(out, 230); }
    void WriteCycle231(NciStream& out) override { mark(out, 231); }
    void WriteCycle232(NciStream& out) override { mark(out, 232); }
    void WriteCycle251(NciStream& out) override { mark(out, 251); }
    void WriteCycle252(NciStream& out) override { mark(out, 252); }
    void WriteCycle253(NciStream& out) override { mark(out, 253); }
    void WriteCycle254(NciStream& out) override { mark(out, 254); }
    void WriteCycle263(NciStream& out) override { mark(out, 263); }
    void WriteCycle267(NciStream& out) override { mark(out, 267); }

  private:
    static void mark(NciStream& out, std::int32_t cycle) { out << '<' << cycle << '>' << eol; }
};

}  // namespace morvane::test
