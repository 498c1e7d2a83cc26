/* The entry points of the post library (Dll/MorvanePost.so) as the reader library calls them:
 * the reader reads and checks the NCI program and hands it over record by record; the post
 * library writes the NC code. C linkage, plain data only. */
#ifndef MORVANE_POST_INTERFACE_H
#define MORVANE_POST_INTERFACE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One NCI record. `problem` is 0 for a readable record, otherwise the reason it could not be
 * read (the values of morvane::post::RecordProblem); `fields` and `text` stay valid only for
 * the call that receives them. */
typedef struct MorvaneNciRecord {
    int32_t code;     /* the record code, when codeRead is 1 */
    int32_t codeRead; /* 1 when the code line was a whole number */
    int32_t problem;
    int32_t badField; /* 0-based field of a number problem, otherwise -1 */
    uint64_t line;    /* 1-based line number of the code line */
    const double* fields;
    uint32_t fieldCount;
    uint32_t textLength;
    const char* text; /* a comment's or message's text; otherwise the parameter line */
} MorvaneNciRecord;

/* Starts a program for the converter file at converterPath, written into resultPath (which
 * exists, empty). Null when the converter file is rejected or the result cannot be opened. */
typedef void* (*MorvanePostBeginFn)(const char* resultPath, const char* converterPath);
/* Takes the next record. Returns 1, or 0 for a null session or record. */
typedef int32_t (*MorvanePostRecordFn)(void* session, const MorvaneNciRecord* record);
/* Writes the end of the program, closes the result and frees the session. Returns 1 when the
 * whole result was written. */
typedef int32_t (*MorvanePostEndFn)(void* session);

#define MORVANE_POST_BEGIN_ENTRY "MorvanePost_Begin"
#define MORVANE_POST_RECORD_ENTRY "MorvanePost_Record"
#define MORVANE_POST_END_ENTRY "MorvanePost_End"

#ifdef __cplusplus
}
#endif

#endif /* MORVANE_POST_INTERFACE_H */
