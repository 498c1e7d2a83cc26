/* The plug-in header compiled as plain C, and the identity exports called from C. */
#include <stdio.h>
#include <string.h>

#include "morvane/plugin_api.h"

static int failures = 0;

static void check(int ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

int main(void) {
    const char* name = NULL;
    const char* description = NULL;
    const char* uri = NULL;
    const char* second = NULL;
    uint32_t major = 9, minor = 9, build = 9, revision = 9;
    LineSource lines = {NULL, NULL, NULL};
    ResultStream results = {NULL, NULL, NULL};
    LocalizeSource texts = {NULL, NULL};

    check(TeskPlugin_getInfo(&name, &description) == 1, "getInfo returns 1");
    check(name != NULL && strcmp(name, "Morvane") == 0, "plug-in name");
    check(description != NULL &&
              strcmp(description, "Converts between differnt formats of NC files....") == 0,
          "plug-in description");
    check(TeskPlugin_getUri(&uri) == 1 && uri != NULL &&
              strstr(uri, "/namespace/editor-plugin/morvane") != NULL &&
              strncmp(uri, "http://", 7) == 0,
          "namespace URI");
    check(TeskPlugin_getVersion(&major, &minor, &build, &revision) == 1, "getVersion returns 1");
    check(major == 0 && minor == 0 && build == 0 && revision == 1, "version 0.0.0.1");
    /* The texts are static: a second call gives the same pointers. */
    check(TeskPlugin_getInfo(&second, NULL) == 1 && second == name, "getInfo's name is static");
    check(TeskPlugin_getUri(&second) == 1 && second == uri, "getUri's text is static");
    /* Null places for the answers are skipped, null options ignored. */
    check(TeskPlugin_getInfo(NULL, NULL) == 1 && TeskPlugin_getUri(NULL) == 1 &&
              TeskPlugin_getVersion(NULL, NULL, NULL, NULL) == 1,
          "null answer places");
    revision = 9;
    check(TeskPlugin_getVersion(NULL, NULL, NULL, &revision) == 1 && revision == 1,
          "the one place given is filled");
    check(TeskPlugin_SetOption(NULL, "x") == 1 && TeskPlugin_SetOption("x", NULL) == 1 &&
              TeskPlugin_SetOption(NULL, NULL) == 1,
          "null options");
    check(TeskPlugin_attatchLineSource(&lines) == 1, "attach line source");
    check(TeskPlugin_attatchResultStream(&results) == 1, "attach result stream");
    check(TeskPlugin_attatchLocalizeSource(&texts) == 1, "attach localisation source");
    check(TeskPlugin_SetOption("SELECTION", "False") == 1, "set option");
    check(TeskPlugin_ClearOptions() == 1, "clear options");
    /* Records without functions: the action must still come back (the dialog is cancelled,
     * since no script is set by this test's environment, or ends at once). */
    check(TeskPlugin_PerfromPluginAction() == 1, "action returns 1");
    TeskPlugin_attatchLineSource(NULL);
    TeskPlugin_attatchResultStream(NULL);
    TeskPlugin_attatchLocalizeSource(NULL);
    if (failures == 0) printf("plugin_api_c_test: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
