// The entry point of the post library (Dll/MorvanePost.so) as the reader library calls it.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Converts the NCI program at nciPath into NC code for the control the converter file at
 * converterPath describes, written into resultPath (which exists, empty). Returns 1 when the
 * result was written, 0 otherwise. */
typedef int32_t (*MorvanePostConvertFn)(const char* nciPath, const char* resultPath,
                                        const char* converterPath);

#define MORVANE_POST_CONVERT_ENTRY "MorvanePost_Convert"

#ifdef __cplusplus
}
#endif
