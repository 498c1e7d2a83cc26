#include "dialog_script.h"

namespace morvane::cli {

namespace {

std::string checkWord(bool on) {
    return on ? "check " : "uncheck ";
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::optional<std::string> buildDialogScript(const DialogChoices& choices, std::string& error) {
    std::string script = "select " + std::string(formatInfo(choices.format).dialogEntry);
    if (choices.converterPath) {
        const std::string& path = *choices.converterPath;
        if (path.find(';') != std::string::npos || path.empty() || isBlank(path.front()) ||
            isBlank(path.back())) {
            error = "the converter path " + path +
                    " cannot be handed to the dialog (a ';' or blanks at its ends); rename it";
            return std::nullopt;
        }
        script += "; file " + path + "; click IDC_BROWSE";
    }
    // Only a click that checks "Convert to NCI format" enables OK; a box the dialog restored
    // checked leaves OK as it is, so it is cleared first. A converter without the box means
    // post-processing.
    if (choices.convertToNci == true) script += "; uncheck IDC_CONVERT_NCI; check IDC_CONVERT_NCI";
    if (choices.convertToNci == false) script += "; uncheck IDC_CONVERT_NCI";
    if (choices.longhandCycles)
        script += "; " + checkWord(*choices.longhandCycles) + "IDC_LONGHAND_CYCLES";
    if (choices.selectionOnly) script += "; check IDC_SELECTION_ONLY";
    script += "; " + checkWord(choices.resultInNewWindow) + "IDC_RESULT_NEW_WINDOW";
    script += "; click IDOK";
    return script;
}

}  // namespace morvane::cli
