// A post library for the command-line host's tests, installed as Dll/MorvanePost.so of a test
// host directory. What it does is said by the converter file it is given, in a section of its
// own that the reader library keeps and ignores:
//   [test]
//   mode = number    every NCI line becomes "P<n>: <line>", n counted from 1 (a record's code
//                    line, then its parameter line; a line that starts no record alone)
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
#include "post_interface.h"

namespace {

struct Numbering {
    std::FILE* out = nullptr;
    int line = 0;

    void write(const std::string& text) { std::fprintf(out, "P%d: %s\n", ++line, text.c_str()); }
};

void waitToBeInterrupted(const morvane::post::ConverterFile& converter) {
    const std::string* marker = converter.find("test", "marker");
    if (marker != nullptr) {
        // Written whole before it appears: the test reads it as soon as it exists.
        std::ofstream(*marker + ".part") << ::getpid() << "\n";
        std::rename((*marker + ".part").c_str(), marker->c_str());
    }
    for (int i = 0; i < 300; ++i)
        ::usleep(100000);
}

}  // namespace

extern "C" {

MORVANE_EXPORT void* MorvanePost_Begin(const char* resultPath, const char* converterPath) {
    const auto converter = morvane::post::readConverterFile(converterPath);
    if (!converter || resultPath == nullptr) return nullptr;
    const std::string* mode = converter->find("test", "mode");
    if (mode != nullptr && *mode == "wait") waitToBeInterrupted(*converter);
    if (mode != nullptr && *mode != "number") return nullptr;
    std::FILE* out = std::fopen(resultPath, "r+b");
    if (out == nullptr) return nullptr;
    return new Numbering{out};
}

MORVANE_EXPORT int32_t MorvanePost_Record(void* session, const MorvaneNciRecord* record) {
    if (session == nullptr || record == nullptr) return 0;
    auto* numbering = static_cast<Numbering*>(session);
    const std::string text(record->text != nullptr ? record->text : "", record->textLength);
    if (record->codeRead != 0) numbering->write(std::to_string(record->code));
    numbering->write(text);
    return 1;
}

MORVANE_EXPORT int32_t MorvanePost_End(void* session) {
    if (session == nullptr) return 0;
    auto* numbering = static_cast<Numbering*>(session);
    const bool closed = std::fclose(numbering->out) == 0;
    delete numbering;
    return closed ? 1 : 0;
}

}  // extern "C"
