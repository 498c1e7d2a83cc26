#include "platform/scripted_front_end.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/terminal_front_end.h"
#include "text/text_encoding.h"

namespace morvane::platform {

void ScriptedFrontEnd::runModal(ModalDialog& dialog) {
    for (const DialogAction& action : actions_) {
        if (dialog.hasEnded()) return;
        perform(dialog, action);
    }
}

void ScriptedFrontEnd::perform(ModalDialog& dialog, const DialogAction& action) {
    using Verb = DialogAction::Verb;
    if (action.verb == Verb::File) {
        fileAnswers_.push_back(action.argument.empty() ? std::nullopt
                                                       : std::optional(action.argument));
        return;
    }
    if (action.verb == Verb::Terminal) {
        terminal_ = TerminalFrontEnd::open();
        if (terminal_ == nullptr) terminal_ = std::make_unique<CancellingFrontEnd>();
        terminal_->runModal(dialog);
        return;
    }
    if (action.verb == Verb::Select) {
        for (const Control& control : dialog.controls()) {
            if (control.kind == ControlKind::DropDownList) {
                dialog.selectEntry(control.id, utf8ToWide(action.argument));
                return;
            }
        }
        return;
    }
    for (const Control& control : dialog.controls()) {
        if (control.name != action.argument) continue;
        const bool toggles = control.kind == ControlKind::CheckBox &&
                             control.checked != (action.verb == Verb::Check);
        if (action.verb == Verb::Click || toggles) dialog.click(control.id);
        return;
    }
}

std::optional<std::wstring> ScriptedFrontEnd::openFile(const FileOpenRequest& request) {
    if (terminal_ != nullptr) return terminal_->openFile(request);
    if (fileAnswers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    // The dialog accepts only existing files, and answers with a full path.
    if (!answer || !isRegularFile(*answer)) return std::nullopt;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(*answer, error);
    if (error) return std::nullopt;
    return utf8ToWide(full.string());
}

std::unique_ptr<DialogFrontEnd> chooseDialogFrontEnd() {
    if (const char* script = std::getenv("MORVANE_DIALOG"))
        return std::make_unique<ScriptedFrontEnd>(script);
    if (std::unique_ptr<TerminalFrontEnd> terminal = TerminalFrontEnd::open()) return terminal;
    return std::make_unique<CancellingFrontEnd>();
}

}  // namespace morvane::platform
