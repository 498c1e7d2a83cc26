// morvane-manual: writes the manual page (`man`) or the bash completion (`bash-completion`) of
// morvane, made from its help texts, to the file given; run by the build.
#include <cstdio>
#include <string>

#include "manual_page.h"
#include "morvane_version.h"
#include "nci/buffered_file.h"

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[1] : "";
    if (what != "man" && what != "bash-completion") {
        std::fputs("usage: morvane-manual man|bash-completion OUTPUT\n", stderr);
        return 2;
    }
    const std::string text = what == "man" ? morvane::cli::manualPage(MORVANE_VERSION)
                                           : morvane::cli::bashCompletion();
    morvane::BufferedFile out;
    if (out.open(argv[2])) out.write(text);
    if (!out.close()) {
        std::fprintf(stderr, "morvane-manual: cannot write %s\n", argv[2]);
        return 3;
    }
    return 0;
}
