// Reader libraries that misbehave, for the driver's failure rows with real loading:
//   ODD_READER_NO_ENTRIES    exports neither entry point
//   ODD_READER_NULL_TABLE    GetSupportedCycles answers a null table
//   ODD_READER_NO_CONVERTER  GetSupportedCycles answers no pattern, NCIConverter is missing
#include <cstdint>

#include "morvane/post_api.h"

#if defined(ODD_READER_NULL_TABLE) || defined(ODD_READER_NO_CONVERTER)
namespace {
PostCycleRecord gRecord{};
std::int32_t gCount = 0;
}  // namespace

extern "C" MORVANE_EXPORT int32_t GetSupportedCycles(const char*, const char*,
                                                     PostCycleRecord** table, int32_t** count) {
#ifdef ODD_READER_NULL_TABLE
    *table = nullptr;
#else
    *table = &gRecord;
#endif
    *count = &gCount;
    return 1;
}
#endif

#ifdef ODD_READER_NULL_TABLE
extern "C" MORVANE_EXPORT int32_t NCIConverter(const char*, const char*, const char*, const char*) {
    return 1;
}
#endif

// Something to build when nothing is exported.
extern "C" int32_t oddReaderMarker() {
    return 0;
}
