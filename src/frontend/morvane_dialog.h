// The converter dialog: input format, converter file and four switches, restored from the
// configuration and localised through the host; OK runs one conversion.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "frontend/dialog_framework.h"
#include "frontend/post_library.h"
#include "frontend/plugin_state.h"

namespace morvane {

class SystemServices;

// Control ids of the dialog template (IDOK and IDCANCEL come with the framework).
inline constexpr int IDC_CONVERTER_PATH = 1000;
inline constexpr int IDC_RESULT_NEW_WINDOW = 1002;
inline constexpr int IDC_FORMAT = 1003;
inline constexpr int IDC_BROWSE = 1005;
inline constexpr int IDC_CONVERT_NCI = 1007;
inline constexpr int IDC_FORMAT_LABEL = 1008;
inline constexpr int IDC_CONVERTER_LABEL = 1009;
inline constexpr int IDC_LONGHAND_CYCLES = 1011;
inline constexpr int IDC_SELECTION_ONLY = 1012;
// Stands for the dialog's caption in the table of localised texts.
inline constexpr int kCaptionId = 0;

// One localised text: the control it goes to, the host's key and the text used without one.
struct LocalisedText {
    int id;
    const char* key;
    std::wstring_view defaultText;
};

// In the order they are set when the dialog opens.
inline constexpr std::array<LocalisedText, 9> kLocalisedTexts = {{
    {kCaptionId, "NCTESKPLUGIN_MORVANE_TITLE", L"Morvane"},
    {IDC_FORMAT_LABEL, "NCTESKPLUGIN_MORVANE_CHOOSE_FORMAT", L"Choose original NC format:"},
    {IDC_CONVERTER_LABEL, "NCTESKPLUGIN_MORVANE_CHOOSE_CONVERTER", L"Choose converter:"},
    {IDC_CONVERT_NCI, "NCTESKPLUGIN_MORVANE_CONVERT_NCI", L"Convert to NCI format"},
    {IDC_RESULT_NEW_WINDOW, "QUORLAB_TONEWWINDOW", L"Result to new window"},
    {IDOK, "OK", L"OK"},
    {IDCANCEL, "CANCEL", L"Cancel"},
    {IDC_SELECTION_ONLY, "NCTESKPLUGIN_MORVANE_SELECTION_ONLY", L"Selection Only"},
    {IDC_LONGHAND_CYCLES, "NCTESKPLUGIN_MORVANE_USELONGHANDCYCLES", L"Use longhand cycles"},
}};

// The template IDD_MORVANE_DIALOG.
const DialogTemplate& morvaneDialogTemplate();

class CMorvaneGUIDlg : public ModalDialog {
  public:
    CMorvaneGUIDlg(PluginState* state, SystemServices& services);

    // Entry points found by the last conversion of this dialog.
    const PostEntryPoints& postEntryPoints() const { return entries_; }

    bool OnInitDialog() override;
    void OnBnClickedOk();
    void OnBnClickedBrowse();
    void OnBnClickedConvertNci();

  protected:
    bool OnCommand(int id) override;

  private:
    // The host's text for `key`, or `defaultText` when there is no source or no answer.
    std::wstring translate(const char* key, std::wstring_view defaultText) const;
    void setLocalisedTexts();
    void restoreSwitches();

    PluginState* state_;
    SystemServices& services_;
    PostEntryPoints entries_;
};

}  // namespace morvane
