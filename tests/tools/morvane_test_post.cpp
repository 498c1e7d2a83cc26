// A post library for the command-line host's tests, installed as Dll/MorvanePost.so of a test
// host directory. What it does is said by the converter file it is given, in a section of its
// own that the reader library keeps and ignores:
//   [test]
//   mode = number    every NCI line becomes "P<n>: <line>", n counted from 1
//   mode = nothing   writes nothing
//   mode = wait      writes the process id into the file `marker`, then waits (at most 30 s)
//                    to be interrupted
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "converter_file.h"
#include "morvane/plugin_api.h"

namespace {

bool numberLines(const char* nciPath, const char* resultPath) {
    std::ifstream in(nciPath, std::ios::binary);
    std::FILE* out = std::fopen(resultPath, "r+b");
    if (!in || out == nullptr) {
        if (out != nullptr) std::fclose(out);
        return false;
    }
    std::string line;
    for (int n = 1; std::getline(in, line); ++n)
        std::fprintf(out, "P%d: %s\n", n, line.c_str());
    return std::fclose(out) == 0;
}

}  // namespace

extern "C" MORVANE_EXPORT int32_t MorvanePost_Convert(const char* nciPath, const char* resultPath,
                                                      const char* converterPath) {
    const auto converter = morvane::post::readConverterFile(converterPath);
    if (!converter || nciPath == nullptr || resultPath == nullptr) return 0;
    const std::string* mode = converter->find("test", "mode");
    if (mode == nullptr || *mode == "number") return numberLines(nciPath, resultPath) ? 1 : 0;
    if (*mode == "wait") {
        const std::string* marker = converter->find("test", "marker");
        if (marker != nullptr) {
            // Written whole before it appears: the test reads it as soon as it exists.
            std::ofstream(*marker + ".part") << ::getpid() << "\n";
            std::rename((*marker + ".part").c_str(), marker->c_str());
        }
        for (int i = 0; i < 300; ++i)
            ::usleep(100000);
    }
    return 0;
}
