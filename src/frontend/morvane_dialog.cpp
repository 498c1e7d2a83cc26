#include "frontend/morvane_dialog.h"

#include <cwchar>
#include <string>

#include "frontend/conversion_driver.h"
#include "morvane/input_formats.hpp"
#include "frontend/system_services.h"
#include "text/text_encoding.h"

namespace morvane {

namespace {

using enum ControlKind;

// Tab order, positions and sizes in dialog units, resource texts.
constexpr ControlTemplate kControls[] = {
    {IDOK, "IDOK", DefaultPushButton, 169, 91, 50, 14, L"OK"},
    {IDCANCEL, "IDCANCEL", PushButton, 226, 91, 50, 14, L"Cancel"},
    {IDC_RESULT_NEW_WINDOW, "IDC_RESULT_NEW_WINDOW", CheckBox, 7, 84, 111, 10,
     L"Result in new window"},
    {IDC_SELECTION_ONLY, "IDC_SELECTION_ONLY", CheckBox, 7, 97, 111, 10, L"Selection only"},
    {IDC_FORMAT_LABEL, "IDC_FORMAT_LABEL", StaticText, 7, 11, 247, 8,
     L"Choose original NC format:"},
    {IDC_FORMAT, "IDC_FORMAT", DropDownList, 7, 23, 247, 30, L""},
    {IDC_BROWSE, "IDC_BROWSE", ImageButton, 260, 46, 16, 16, L""},
    {IDC_CONVERTER_PATH, "IDC_CONVERTER_PATH", ReadOnlyEdit, 7, 48, 247, 14, L""},
    {IDC_CONVERTER_LABEL, "IDC_CONVERTER_LABEL", StaticText, 8, 38, 247, 8, L"Choose converter:"},
    {IDC_CONVERT_NCI, "IDC_CONVERT_NCI", CheckBox, 7, 71, 106, 10, L"Convert to NCI format"},
    {IDC_LONGHAND_CYCLES, "IDC_LONGHAND_CYCLES", CheckBox, 154, 72, 78, 10, L"Use longhand cycles"},
};

constexpr DialogTemplate kTemplate{L"Morvane", 283, 112, kControls};

// Click handlers of the dialog.
struct CommandHandler {
    int id;
    void (CMorvaneGUIDlg::*handler)();
};
constexpr CommandHandler kCommands[] = {
    {IDOK, &CMorvaneGUIDlg::OnBnClickedOk},
    {IDC_BROWSE, &CMorvaneGUIDlg::OnBnClickedBrowse},
    {IDC_CONVERT_NCI, &CMorvaneGUIDlg::OnBnClickedConvertNci},
};

}  // namespace

const DialogTemplate& morvaneDialogTemplate() {
    return kTemplate;
}

CMorvaneGUIDlg::CMorvaneGUIDlg(PluginState* state, SystemServices& services)
    : ModalDialog(kTemplate), state_(state), services_(services) {}

bool CMorvaneGUIDlg::OnCommand(int id) {
    for (const CommandHandler& command : kCommands) {
        if (command.id == id) {
            (this->*command.handler)();
            return true;
        }
    }
    return false;
}

std::wstring CMorvaneGUIDlg::translate(const char* key, std::wstring_view defaultText) const {
    const LocalizeSource* source = state_->localizeSource;
    if (source == nullptr || source->context == nullptr || source->translate == nullptr)
        return std::wstring(defaultText);
    const wchar_t* text = nullptr;
    source->translate(source->context, key, &text);
    if (text == nullptr || *text == L'\0') return std::wstring(defaultText);
    return std::wstring(text);
}

void CMorvaneGUIDlg::setLocalisedTexts() {
    for (const LocalisedText& entry : kLocalisedTexts) {
        const std::wstring text = translate(entry.key, entry.defaultText);
        if (entry.id == kCaptionId) {
            setCaption(text);
        } else {
            setText(entry.id, text);
        }
    }
}

bool CMorvaneGUIDlg::OnInitDialog() {
    ModalDialog::OnInitDialog();
    setLocalisedTexts();
    // The browse button's bitmap and the native visual style have no counterpart here.
    // The entries of morvane/input_formats.hpp, whose positions select the parser; all ASCII.
    for (const InputFormatInfo& format : kInputFormats)
        addEntry(IDC_FORMAT, std::wstring(format.dialogEntry.begin(), format.dialogEntry.end()));
    select(IDC_FORMAT, 0);
    restoreSwitches();
    return true;
}

void CMorvaneGUIDlg::restoreSwitches() {
    OptionMap& config = state_->config;
    const auto is = [](const std::string& value, bool on) { return value == storedBool(on); };
    if (is(lookupOrInsert(config, kResInNewWindowKey), true)) setCheck(IDC_RESULT_NEW_WINDOW, true);
    setCheck(IDC_SELECTION_ONLY, true);
    if (is(lookupOrInsert(config, kSelectionOnlyKey), false)) setCheck(IDC_SELECTION_ONLY, false);
    // The host has no selection: "Selection only" cannot apply.
    if (is(lookupOrInsert(state_->options, kSelectionOption), false)) {
        enable(IDC_SELECTION_ONLY, false);
        setCheck(IDC_SELECTION_ONLY, false);
    }
    if (is(lookupOrInsert(config, kUseLonghandCyclesKey), true))
        setCheck(IDC_LONGHAND_CYCLES, true);
    if (is(lookupOrInsert(config, kOutputToNciKey), true)) setCheck(IDC_CONVERT_NCI, true);

    // OK needs a converter that still exists, whatever "Convert to NCI format" says.
    const std::string* converter = findSetting(config, kPostProcessorKey);
    if (converter != nullptr) {
        const std::wstring path = utf8ToWide(*converter);
        if (services_.fileExists(wideToUtf8(path))) {
            setText(IDC_CONVERTER_PATH, path);
            return;
        }
    }
    enable(IDOK, false);
}

void CMorvaneGUIDlg::OnBnClickedConvertNci() {
    if (isChecked(IDC_CONVERT_NCI)) {
        enable(IDOK, true);
    } else if (text(IDC_CONVERTER_PATH).empty()) {
        enable(IDOK, false);
    }
}

void CMorvaneGUIDlg::OnBnClickedBrowse() {
    FileOpenRequest request;
    request.defaultExtension = L"conv";
    request.initialFileName = L"*.conv";
    request.filter = L"Converters (*.conv)|*.conv|All Files (*.*)|*.*||";
    request.initialDirectory = utf8ToWide(services_.hostDirectory() + "/Converters");
    const std::optional<std::wstring> path = askOpenFile(request);
    if (!path) return;
    assignSetting(state_->config, kPostProcessorKey, wideToUtf8(*path));
    setText(IDC_CONVERTER_PATH, *path);
    enable(IDOK, true);
}

void CMorvaneGUIDlg::OnBnClickedOk() {
    EndDialog(IDOK);
    ConversionChoices choices;
    choices.selectionOnly = isChecked(IDC_SELECTION_ONLY);
    choices.longhandCycles = isChecked(IDC_LONGHAND_CYCLES);
    choices.convertToNci = isChecked(IDC_CONVERT_NCI);
    choices.resultInNewWindow = isChecked(IDC_RESULT_NEW_WINDOW);
    choices.formatPosition = selection(IDC_FORMAT);
    choices.converterPath = wideToUtf8(text(IDC_CONVERTER_PATH));
    ConversionDriver(*state_, services_, entries_).run(choices);
}

}  // namespace morvane
