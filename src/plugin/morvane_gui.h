// The action object: one modal converter dialog per TeskPlugin_PerfromPluginAction.
#pragma once

#include "frontend/plugin_state.h"

namespace morvane {

class CMorvaneGUI {
  public:
    explicit CMorvaneGUI(PluginState* state) : state_(state) {}
    virtual ~CMorvaneGUI() = default;

    // Shows the dialog and returns when it is closed (0). An action with no line source or no
    // result stream could neither read a program nor deliver a result: it ends at once without
    // showing the dialog.
    virtual int run();

  private:
    PluginState* state_;
};

}  // namespace morvane
