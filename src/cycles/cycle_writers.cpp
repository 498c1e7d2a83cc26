// Cycle writers of NCIFrame: empty until the longhand expansions come with the cycle classes.
#include "nci/nci_frame.h"

namespace morvane {

void NCIFrame::WriteCycle200(NciStream&) {}
void NCIFrame::WriteCycle201(NciStream&) {}
void NCIFrame::WriteCycle202(NciStream&) {}
void NCIFrame::WriteCycle203(NciStream&) {}
void NCIFrame::WriteCycle204(NciStream&) {}
void NCIFrame::WriteCycle205(NciStream&) {}
void NCIFrame::WriteCycle206(NciStream&) {}
void NCIFrame::WriteCycle207(NciStream&) {}
void NCIFrame::WriteCycle208(NciStream&) {}
void NCIFrame::WriteCycle209(NciStream&) {}
void NCIFrame::WriteCycle1001(NciStream&) {}
void NCIFrame::WriteCycle1003(NciStream&) {}
void NCIFrame::WriteCycle1004(NciStream&) {}
void NCIFrame::WriteCycle1005(NciStream&) {}
void NCIFrame::WriteCycle210(NciStream&) {}
void NCIFrame::WriteCycle211(NciStream&) {}
void NCIFrame::WriteCycle212(NciStream&) {}
void NCIFrame::WriteCycle213(NciStream&) {}
void NCIFrame::WriteCycle214(NciStream&) {}
void NCIFrame::WriteCycle215(NciStream&) {}
void NCIFrame::WriteCycle221(NciStream&) {}
void NCIFrame::WriteCycle230(NciStream&) {}
void NCIFrame::WriteCycle231(NciStream&) {}
void NCIFrame::WriteCycle232(NciStream&) {}
void NCIFrame::WriteCycle251(NciStream&) {}
void NCIFrame::WriteCycle252(NciStream&) {}
void NCIFrame::WriteCycle253(NciStream&) {}
void NCIFrame::WriteCycle254(NciStream&) {}
void NCIFrame::WriteCycle263(NciStream&) {}
void NCIFrame::WriteCycle267(NciStream&) {}

}  // namespace morvane
