// NCIFrameFanuc: the NCI writer of the ISO G-code dialects. It differs from NCIFrame in the ISO
// meaning of G17/G18/G19, modal drill cycles (G73, G74, G76, G81..G88) repeated at every new
// position until G80, the spindle direction from M3/M4, work offsets G54..G59, and record codes
// that stay in force from block to block.
#pragma once

#include "nci/nci_frame.h"

namespace morvane {

class NCIFrameFanuc : public NCIFrame {
  public:
    NCIFrameFanuc();

    void InterpretCodes() override;
    void BuildSupportedCycleList() override;
    bool WriteSupportedCycle(NciStream& line) override;
    void LoadBlock(const block& b, const std::vector<double>& axes) override;
    void WriteBlock(NciStream& out) override;

  protected:
    bool cycleCancelled_ = false;  // {G80 after an open drill cycle}: this block writes CycleEnd
};

}  // namespace morvane
