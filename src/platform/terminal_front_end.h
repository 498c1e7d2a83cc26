// The dialog in the terminal: drawn as a text form on /dev/tty (its own screen, the terminal in
// raw mode), answered with the keys of TerminalForm, file-open requests answered with
// TerminalFilePrompt. The terminal is given back as it was on every way out: OK, Cancel, a
// terminal that goes away, and the signals SIGINT, SIGTERM, SIGHUP and SIGQUIT (after which the
// signal takes its course).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "frontend/dialog_framework.h"
#include "platform/terminal_keys.h"

namespace morvane::platform {

class TerminalScreen;

class TerminalFrontEnd final : public DialogFrontEnd {
  public:
    // The front end on the process's controlling terminal; null when there is none.
    static std::unique_ptr<TerminalFrontEnd> open();
    ~TerminalFrontEnd() override;
    TerminalFrontEnd(const TerminalFrontEnd&) = delete;
    TerminalFrontEnd& operator=(const TerminalFrontEnd&) = delete;

    void runModal(ModalDialog& dialog) override;
    std::optional<std::wstring> openFile(const FileOpenRequest& request) override;

  private:
    explicit TerminalFrontEnd(int fd) : fd_(fd) {}

    // Raw mode and the terminal's alternate screen; leave() restores both.
    bool enter();
    void leave();
    void show(const TerminalScreen& screen);
    // The next key; nothing when the terminal is gone. A window size change gives KeyCode::None
    // so the caller redraws.
    std::optional<Key> readKey();

    int fd_;
    bool entered_ = false;
    std::string pending_;  // bytes read but not decoded yet
    int shownWidth_ = 72;  // size of the last screen shown
    int shownHeight_ = 17;
};

}  // namespace morvane::platform
