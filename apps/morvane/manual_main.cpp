// morvane-manual: writes the manual page (`man`) or the bash completion (`bash-completion`) of
// morvane, made from its help texts, to the file given; run by the build.
#include <cstdio>
#include <string>

#include "manual_page.h"
#include "morvane_version.h"

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[1] : "";
    if (what != "man" && what != "bash-completion") {
        std::fputs("usage: morvane-manual man|bash-completion OUTPUT\n", stderr);
        return 2;
    }
    const std::string text = what == "man" ? morvane::cli::manualPage(MORVANE_VERSION)
                                           : morvane::cli::bashCompletion();
    std::FILE* out = std::fopen(argv[2], "wb");
    const bool written = out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "morvane-manual: cannot write %s\n", argv[2]);
        return 3;
    }
    return 0;
}
