/* Morvane plug-in interface: the records a host editor hands to the plug-in and the nine exported
 * entry points. Usable from C and C++.
 *
 * The host owns every record it attaches and keeps it valid while it stays attached. Text is
 * NUL-terminated UTF-8; localised text is wchar_t (UTF-32 on Linux). The plug-in ignores the
 * return values of the host's functions; every export returns 1.
 */
#ifndef MORVANE_PLUGIN_API_H
#define MORVANE_PLUGIN_API_H

#include <stdint.h>
#include <wchar.h>

#if defined(_WIN32) && !defined(_WIN64)
#define MORVANE_CALL __stdcall
#else
#define MORVANE_CALL
#endif

#if defined(_WIN32)
#define MORVANE_EXPORT __declspec(dllexport)
#else
#define MORVANE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Serves the lines of the document (or of the selection) being converted. */
typedef struct LineSource {
    void* context;
    /* Writes the number of lines. */
    int32_t (*getLineCount)(void* context, int32_t* count);
    /* Stores the text of line `index` (zero-based, no terminator) or NULL; the pointer need only
     * stay valid until the next call. The plug-in asks for index == count too: answer NULL. */
    int32_t (*getLine)(void* context, int32_t index, const char** text);
} LineSource;

/* Receives the result lines, in order, and named properties. */
typedef struct ResultStream {
    void* context;
    int32_t (*writeLine)(void* context, const char* text, int32_t length);
    int32_t (*setProperty)(void* context, const char* name, const char* value);
} ResultStream;

/* Translates user-interface keys; a NULL or empty answer keeps the default text. */
typedef struct LocalizeSource {
    void* context;
    int32_t (*translate)(void* context, const char* key, const wchar_t** text);
} LocalizeSource;

/* Options a host sets with TeskPlugin_SetOption before an action (docs/plugin.md). */
#define MORVANE_OPTION_PLUGIN_CONFIG "PLUGIN_CONFIG" /* the configuration string of last time */
#define MORVANE_OPTION_SELECTION "SELECTION"         /* "False": the document has no selection */
/* "True": report diagnostics through the property MORVANE_PROPERTY_DIAGNOSTIC. */
#define MORVANE_OPTION_DIAGNOSTICS "DIAGNOSTICS"
/* A whole number of bytes: the NCI text one conversion may write, in place of the default bound;
 * the bounds on repeated work grow and shrink with it. */
#define MORVANE_OPTION_MAX_OUTPUT "MAX_OUTPUT"
/* "corrected": the tool path the control would cut, by the documented corrections
 * (docs/corrections.md); "exact" (the default, also when absent or anything else): the
 * conversion rules as they stand, byte for byte. */
#define MORVANE_OPTION_SEMANTICS "SEMANTICS"

/* Properties the plug-in sets through ResultStream.setProperty during an action, in this order:
 * SELECTION_ONLY, UseLonghandCycles, (the result lines), DIAGNOSTIC (any number),
 * RESULT_IN_NEW_WINDOW, PLUGIN_CONFIG. */
#define MORVANE_PROPERTY_SELECTION_ONLY "SELECTION_ONLY"
#define MORVANE_PROPERTY_USE_LONGHAND_CYCLES "UseLonghandCycles"
/* "LINE:CODE: MESSAGE": LINE the 1-based line of what the host served (0: no line), CODE a
 * stable kebab-case name (docs/diagnostics.md), MESSAGE one sentence. */
#define MORVANE_PROPERTY_DIAGNOSTIC "DIAGNOSTIC"
#define MORVANE_PROPERTY_RESULT_IN_NEW_WINDOW "RESULT_IN_NEW_WINDOW"
#define MORVANE_PROPERTY_PLUGIN_CONFIG "PLUGIN_CONFIG"
/* The values of a switch told through a property. */
#define MORVANE_PROPERTY_TRUE "true"
#define MORVANE_PROPERTY_FALSE "false"

/* Settings kept in the configuration string (PLUGIN_CONFIG) from one action to the next. */
#define MORVANE_CONFIG_OUTPUT_TO_NCI "OutputToNCI"
#define MORVANE_CONFIG_POST_PROCESSOR "PostProcessor" /* the converter file's path */
#define MORVANE_CONFIG_RESULT_IN_NEW_WINDOW "ResInNewWindow"
#define MORVANE_CONFIG_SELECTION_ONLY "SelectionOnly"
#define MORVANE_CONFIG_USE_LONGHAND_CYCLES "UseLonghandCycles"
/* The values of a switch kept in the configuration. */
#define MORVANE_CONFIG_TRUE "True"
#define MORVANE_CONFIG_FALSE "False"

MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_getUri(const char** uri);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_getInfo(const char** name, const char** description);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_getVersion(uint32_t* major, uint32_t* minor,
                                                          uint32_t* build, uint32_t* revision);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_attatchLineSource(LineSource* source);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_attatchResultStream(ResultStream* stream);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_attatchLocalizeSource(LocalizeSource* source);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_SetOption(const char* name, const char* value);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_ClearOptions(void);
MORVANE_EXPORT int32_t MORVANE_CALL TeskPlugin_PerfromPluginAction(void);

#ifdef __cplusplus
}
#endif

#endif /* MORVANE_PLUGIN_API_H */
