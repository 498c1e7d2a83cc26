// The file-open dialog as a terminal prompt: the files of the initial directory that match the
// request's pattern (the *.conv files of the converters directory) to pick with the arrows, and
// a line to type any other path into. Pure logic; the terminal front end reads the directory,
// feeds keys and checks that a confirmed path names a file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/terminal_keys.h"
#include "platform/terminal_screen.h"

namespace morvane::platform {

class TerminalFilePrompt {
  public:
    TerminalFilePrompt(std::wstring title, std::string directory, std::vector<std::string> names);

    enum class Step { Stay, Confirm, Cancel };
    // Up, Down, Home, End pick a listed file; characters, Backspace and Ctrl-U edit the typed
    // path; Enter confirms; Escape and Ctrl-C cancel.
    Step handle(const Key& key);

    // What Enter confirmed: the typed text when there is one, else the picked file's full path;
    // empty when there is neither.
    std::string choice() const;
    // The confirmed path names no file: say so and let the user go on.
    void reject(std::string message) { message_ = std::move(message); }

    const std::string& typed() const { return typed_; }
    int cursor() const { return cursor_; }
    TerminalScreen render(int width, int height) const;

  private:
    std::wstring title_;
    std::string directory_;
    std::vector<std::string> names_;
    int cursor_ = 0;
    std::string typed_;  // UTF-8
    std::string message_;
};

// The file a typed path means: "~/" is the home directory; a relative path is taken from the
// current directory, and, when no file is there, from `directory` (so a bare converter name
// works). Nothing when no file exists at either place.
std::optional<std::string> resolveTypedPath(const std::string& typed, const std::string& directory,
                                            const std::string& home,
                                            const std::function<bool(const std::string&)>& isFile);

}  // namespace morvane::platform
