/* Entry points of the post-processor reader library (Dll/MorvaneNCIReader.so), as the plug-in
 * looks them up by name. C linkage; usable from C and C++. */
#ifndef MORVANE_POST_API_H
#define MORVANE_POST_API_H

#include <stdint.h>

#include "morvane/plugin_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One native cycle pattern of the post-processor: per field of a native cycle line 0 (not
 * supported), 1 (supported), 2 (either) or 7 where a field needs it. 224 bytes. */
typedef struct PostCycleRecord {
    int32_t first;      /* pattern position 0 */
    int32_t second;     /* pattern position 28 */
    double values[27];  /* pattern positions 1 to 27 */
} PostCycleRecord;

/* Stores a pointer to the converter's pattern table and a pointer to its record count. A NULL
 * table means the converter file was rejected. The caller never frees either; both stay valid
 * at least until the next call into the library. */
typedef int32_t(MORVANE_CALL* GetSupportedCyclesFn)(const char* converterPath,
                                                     const char* postLibraryPath,
                                                     PostCycleRecord** table, int32_t** count);

/* Reads the NCI program at nciPath and writes the converted program into resultPath, which
 * already exists, empty. */
typedef int32_t(MORVANE_CALL* NCIConverterFn)(const char* nciPath, const char* resultPath,
                                               const char* converterPath,
                                               const char* postLibraryPath);

#ifdef __cplusplus
}
#endif

#endif /* MORVANE_POST_API_H */
