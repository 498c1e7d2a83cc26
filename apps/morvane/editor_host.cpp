#include "editor_host.h"

#include <cerrno>
#include <string_view>

#include "locale_file.h"
#include "progress_bar.h"

namespace morvane::cli {

namespace {

EditorHost& self(void* context) {
    return *static_cast<EditorHost*>(context);
}

}  // namespace

EditorHost::EditorHost(const InputDocument& document, std::optional<LineRange> selection,
                       const LocaleTable* locale, ProgressBar* progress)
    : document_(document),
      selection_(selection),
      locale_(locale),
      progress_(progress),
      lineSource_{this, &getLineCount, &getLine},
      resultStream_{this, &writeLine, &setProperty},
      localizeSource_{this, &translate} {}

void EditorHost::beginAction(std::FILE* spool) {
    seen_ = Observations();
    spool_.attach(spool);
}

void EditorHost::endAction() {
    if (spool_.isOpen() && !spool_.close())
        seen_.resultWriteError = spool_.error() != 0 ? spool_.error() : EIO;
}

LineRange EditorHost::servedLines() const {
    if (selection_ && seen_.selectionOnly) return *selection_;
    return {0, document_.lineCount()};
}

std::int32_t EditorHost::getLineCount(void* context, std::int32_t* count) {
    EditorHost& host = self(context);
    const std::int32_t served = host.servedLines().count;
    if (count != nullptr) *count = served;
    if (host.progress_ != nullptr) host.progress_->start(served);
    return 1;
}

std::int32_t EditorHost::getLine(void* context, std::int32_t index, const char** text) {
    EditorHost& host = self(context);
    const LineRange served = host.servedLines();
    // The plug-in also asks for the line after the last: there is none.
    const bool inside = index >= 0 && index < served.count;
    if (text != nullptr) *text = inside ? host.document_.lineText(served.first + index) : nullptr;
    if (inside && host.progress_ != nullptr) host.progress_->lineAsked(index);
    return 1;
}

std::int32_t EditorHost::writeLine(void* context, const char* text, std::int32_t length) {
    EditorHost& host = self(context);
    ++host.seen_.resultLines;
    if (!host.spool_.isOpen()) return 1;
    if (text != nullptr && length > 0) host.spool_.write({text, static_cast<std::size_t>(length)});
    host.spool_.write("\n");
    return 1;
}

std::int32_t EditorHost::setProperty(void* context, const char* name, const char* value) {
    EditorHost& host = self(context);
    if (name == nullptr) return 1;
    const std::string_view key = name;
    const std::string_view text = value != nullptr ? value : "";
    if (key == MORVANE_PROPERTY_SELECTION_ONLY) {
        host.seen_.selectionOnlySent = true;
        host.seen_.selectionOnly = text == MORVANE_PROPERTY_TRUE;
    } else if (key == MORVANE_PROPERTY_USE_LONGHAND_CYCLES) {
        host.seen_.longhandCycles = text == MORVANE_PROPERTY_TRUE;
    } else if (key == MORVANE_PROPERTY_DIAGNOSTIC) {
        host.seen_.diagnostics.emplace_back(text);
    } else if (key == MORVANE_PROPERTY_RESULT_IN_NEW_WINDOW) {
        host.seen_.resultInNewWindow = text == MORVANE_PROPERTY_TRUE;
    } else if (key == MORVANE_PROPERTY_PLUGIN_CONFIG) {
        host.seen_.config = std::string(text);
    }
    return 1;
}

std::int32_t EditorHost::translate(void* context, const char* key, const wchar_t** text) {
    const EditorHost& host = self(context);
    if (text == nullptr) return 1;
    *text = host.locale_ != nullptr && key != nullptr ? host.locale_->find(key) : nullptr;
    return 1;
}

}  // namespace morvane::cli
