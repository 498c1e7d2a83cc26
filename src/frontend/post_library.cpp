#include "frontend/post_library.h"

#include <cstring>

#include "frontend/system_services.h"
#include "nci/int_conversion.h"

namespace morvane {

namespace {

// Entry points come back as object pointers; copying the bits is the portable way to make a
// function pointer of one.
template <typename Fn>
Fn asFunction(void* address) {
    static_assert(sizeof(Fn) == sizeof(void*));
    Fn fn = nullptr;
    std::memcpy(&fn, &address, sizeof fn);
    return fn;
}

}  // namespace

PostLibraryPaths locatePostLibraries(std::string_view hostDirectory) {
    if (hostDirectory.empty()) return {};
    std::string dll = std::string(hostDirectory) + "/Dll/";
    return {dll + std::string(kReaderLibraryName), dll + std::string(kPostLibraryName)};
}

bool loadPostLibrary(SystemServices& services, const PostLibraryPaths& paths,
                     PostEntryPoints& entries, std::string& problem) {
    if (paths.reader.empty()) {
        problem = "the host program's directory is unknown, so the post-processor libraries "
                  "cannot be found";
        return false;
    }
    for (const std::string& path : {paths.reader, paths.post}) {
        if (!services.fileExists(path)) {
            problem = "the post-processor library " + path + " is missing";
            return false;
        }
    }
    void* library = services.loadLibrary(paths.reader);
    if (library == nullptr) {
        const std::string why = services.lastProblem();
        problem = "cannot load the post-processor library " + paths.reader +
                  (why.empty() ? std::string() : ": " + why);
        return false;
    }
    entries.nciConverter =
        asFunction<NCIConverterFn>(services.findEntryPoint(library, kNciConverterEntry));
    entries.getSupportedCycles = asFunction<GetSupportedCyclesFn>(
        services.findEntryPoint(library, kGetSupportedCyclesEntry));
    return true;
}

SupportedCycle cycleFromRecord(const PostCycleRecord& record) {
    SupportedCycle cycle{};
    cycle.front() = record.first;
    for (std::size_t i = 0; i < std::size(record.values); ++i)
        cycle[i + 1] = truncToInt32(record.values[i]);
    cycle.back() = record.second;
    return cycle;
}

std::optional<SupportedCycleList> askSupportedCycles(SystemServices& services,
                                                     GetSupportedCyclesFn getSupportedCycles,
                                                     const std::string& converterPath,
                                                     const std::string& postLibraryPath) {
    PostCycleRecord* table = nullptr;
    std::int32_t* count = nullptr;
    getSupportedCycles(converterPath.c_str(), postLibraryPath.c_str(), &table, &count);
    if (table == nullptr) return std::nullopt;
    // The library's pointers are read through the services: one left dangling reads as the end
    // of the answer instead of ending the host's process.
    std::int32_t n = 0;
    if (count != nullptr && !services.copyLibraryMemory(&n, count, sizeof n)) n = 0;
    if (n < 0) n = 0;
    if (n > kMaxCyclePatterns) n = kMaxCyclePatterns;
    SupportedCycleList cycles;
    cycles.reserve(static_cast<std::size_t>(n));
    PostCycleRecord record{};
    for (std::int32_t i = 0; i < n; ++i) {
        if (!services.copyLibraryMemory(&record, table + i, sizeof record)) break;
        cycles.push_back(cycleFromRecord(record));
    }
    return cycles;
}

}  // namespace morvane
