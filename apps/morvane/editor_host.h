// The host's side of one plug-in action: serves the document (or the selection) through the
// LineSource, takes the result lines into a file on disk through the ResultStream, answers the
// LocalizeSource from a translation table, and records what the plug-in told it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "input_document.h"
#include "nci/buffered_file.h"
#include "morvane/plugin_api.h"

namespace morvane::cli {

class LocaleTable;
class ProgressBar;

// What the host observed during one action, in the order the plug-in tells it.
struct Observations {
    bool selectionOnlySent = false;     // "SELECTION_ONLY": the dialog was confirmed
    bool selectionOnly = false;         // ... with the value "true"
    bool longhandCycles = false;        // "UseLonghandCycles" = "true"
    bool resultInNewWindow = false;     // "RESULT_IN_NEW_WINDOW" = "true"
    std::optional<std::string> config;  // "PLUGIN_CONFIG": the run went to its end
    std::uint64_t resultLines = 0;
    int resultWriteError = 0;              // errno of the first result write that failed
    std::vector<std::string> diagnostics;  // "DIAGNOSTIC" values: "LINE:CODE: MESSAGE"
};

class EditorHost {
  public:
    // `selection` is what the user selected, if anything; `locale` and `progress` may be null.
    EditorHost(const InputDocument& document, std::optional<LineRange> selection,
               const LocaleTable* locale, ProgressBar* progress);
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    // Starts a new action whose result lines go to `spool` (one line feed after each).
    void beginAction(std::FILE* spool);
    // Writes the result lines still held to the spool; called when the plug-in's action returns,
    // before the observations are read.
    void endAction();
    const Observations& observations() const { return seen_; }

    LineSource* lineSource() { return &lineSource_; }
    ResultStream* resultStream() { return &resultStream_; }
    // Null when there is no translation table: the dialog keeps its own texts.
    LocalizeSource* localizeSource() { return locale_ != nullptr ? &localizeSource_ : nullptr; }

    // The lines served: the selection when the plug-in asked for it, else the whole document.
    LineRange servedLines() const;

  private:
    static std::int32_t getLineCount(void* context, std::int32_t* count);
    static std::int32_t getLine(void* context, std::int32_t index, const char** text);
    static std::int32_t writeLine(void* context, const char* text, std::int32_t length);
    static std::int32_t setProperty(void* context, const char* name, const char* value);
    static std::int32_t translate(void* context, const char* key, const wchar_t** text);


    const InputDocument& document_;
    std::optional<LineRange> selection_;
    const LocaleTable* locale_;
    ProgressBar* progress_;
    // After a failed write nothing more is written: the failure is reported, the result dropped.
    BufferedFile spool_;
    Observations seen_;
    LineSource lineSource_;
    ResultStream resultStream_;
    LocalizeSource localizeSource_;
};

}  // namespace morvane::cli
