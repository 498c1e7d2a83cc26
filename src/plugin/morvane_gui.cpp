#include "plugin/morvane_gui.h"

#include "frontend/morvane_dialog.h"
#include "platform/platform_services.h"
#include "platform/scripted_front_end.h"

namespace morvane {

int CMorvaneGUI::run() {
    if (state_->lineSource == nullptr || state_->resultStream == nullptr) return 0;
    platform::PlatformServices services;
    const auto frontEnd = platform::chooseDialogFrontEnd();
    CMorvaneGUIDlg dialog(state_, services);
    dialog.DoModal(*frontEnd);
    return 0;
}

}  // namespace morvane
