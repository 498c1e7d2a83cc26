// Dialog front ends of the platform: the scripted one (MORVANE_DIALOG), and the choice of front
// end when a dialog is shown.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/dialog_framework.h"
#include "platform/dialog_script.h"

namespace morvane::platform {

// Performs the actions of a script on the dialog, in order, until the dialog ends; actions after
// that are ignored, and a dialog still open when the script runs out is cancelled. A file-open
// dialog takes the oldest queued "file" answer; with none queued it is cancelled.
class ScriptedFrontEnd final : public DialogFrontEnd {
  public:
    explicit ScriptedFrontEnd(std::string_view script) : actions_(parseDialogScript(script)) {}

    void runModal(ModalDialog& dialog) override;
    std::optional<std::wstring> openFile(const FileOpenRequest& request) override;

  private:
    void perform(ModalDialog& dialog, const DialogAction& action);

    std::vector<DialogAction> actions_;
    std::unique_ptr<DialogFrontEnd> terminal_;  // after a "terminal" action: the user answers
    std::deque<std::optional<std::string>> fileAnswers_;  // a path, or nothing for a cancel
};

// Ends every dialog at once, as if the user had closed it.
class CancellingFrontEnd final : public DialogFrontEnd {
  public:
    void runModal(ModalDialog& dialog) override { dialog.EndDialog(IDCANCEL); }
    std::optional<std::wstring> openFile(const FileOpenRequest&) override { return std::nullopt; }
};

// The scripted front end when MORVANE_DIALOG is set (even to an empty text); otherwise the
// terminal front end when the process has a terminal; otherwise one that cancels.
std::unique_ptr<DialogFrontEnd> chooseDialogFrontEnd();

}  // namespace morvane::platform
