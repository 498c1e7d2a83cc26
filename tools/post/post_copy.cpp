// The post library (Dll/MorvanePost.so), for now a stand-in: it writes the NCI program into the
// result file as it is. A real post-processor replaces this file.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "morvane/plugin_api.h"
#include "post_interface.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool copyFile(const char* from, const char* to) {
    File in(std::fopen(from, "rb"), &std::fclose);
    if (in == nullptr) return false;
    // The result file exists and is empty; "r+" writes into it without creating another.
    File out(std::fopen(to, "r+b"), &std::fclose);
    if (out == nullptr) return false;
    char chunk[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0)
        if (std::fwrite(chunk, 1, got, out.get()) != got) return false;
    return !std::ferror(in.get());
}

}  // namespace

extern "C" MORVANE_EXPORT int32_t MorvanePost_Convert(const char* nciPath, const char* resultPath,
                                                      const char* /*converterPath*/) {
    if (nciPath == nullptr || resultPath == nullptr) return 0;
    return copyFile(nciPath, resultPath) ? 1 : 0;
}
