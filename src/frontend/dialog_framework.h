// A small modal-dialog framework: controls with id, text, checked and enabled state, a drop-down
// list, a read-only edit, a file-open request and a modal loop run by a front end. Dialogs are
// plain code over it, so tests drive them without any screen; src/platform supplies the front
// ends (scripted, none).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Results of a modal dialog, and the ids of the two standard push buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    CheckBox,  // automatic: a click toggles it
    StaticText,
    DropDownList,  // entries and a selected position (-1: none)
    ReadOnlyEdit,
    ImageButton,
};

// One control of a dialog template; position and size are in dialog units.
struct ControlTemplate {
    int id;
    std::string_view name;  // the resource name a script or a test refers to
    ControlKind kind;
    int x, y, width, height;
    std::wstring_view text;
};

struct DialogTemplate {
    std::wstring_view caption;
    int width, height;                          // dialog units
    std::span<const ControlTemplate> controls;  // in tab order
};

// A live control.
struct Control {
    int id = 0;
    std::string_view name;
    ControlKind kind = ControlKind::StaticText;
    std::wstring text;
    bool checked = false;
    bool enabled = true;
    std::vector<std::wstring> entries;  // drop-down list only
    int selection = -1;                 // drop-down list only
};

// What a file-open dialog is asked to show.
struct FileOpenRequest {
    std::wstring defaultExtension;
    std::wstring initialFileName;
    std::wstring filter;  // "Text (*.x)|*.x|All Files (*.*)|*.*||"
    std::wstring initialDirectory;
    bool hideReadOnly = true;
    bool fileMustExist = true;
};

class ModalDialog;

// Runs the modal loop of a dialog and answers its file-open requests.
class DialogFrontEnd {
  public:
    virtual ~DialogFrontEnd() = default;
    // Lets the user act on `dialog` until it has ended or the front end gives up; a dialog that
    // is still open afterwards is cancelled by the caller.
    virtual void runModal(ModalDialog& dialog) = 0;
    // The full path the user confirmed, or nothing when the user cancelled.
    virtual std::optional<std::wstring> openFile(const FileOpenRequest& request) = 0;
};

// Base of every dialog: owns the controls built from its template, dispatches clicks to the
// handlers of the derived dialog, and ends with a result.
class ModalDialog {
  public:
    explicit ModalDialog(const DialogTemplate& layout);
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Builds the controls, runs OnInitDialog, hands the dialog to `frontEnd` and returns the end
    // result: IDCANCEL when the front end left the dialog open.
    int DoModal(DialogFrontEnd& frontEnd);

    // Ends the modal loop once the current handler returns; the controls stay readable.
    void EndDialog(int result);
    bool hasEnded() const { return ended_; }
    int result() const { return result_; }

    // User actions as a front end performs them; an ended dialog ignores them. A click on a
    // missing or disabled control is ignored; a check box toggles before its handler runs;
    // IDOK and IDCANCEL without a handler end the dialog with their own id.
    void click(int id);
    // Selects the list entry whose text is exactly `text`; false (nothing changes) when none.
    bool selectEntry(int listId, std::wstring_view text);

    // Control state. Reading or writing a control that does not exist does nothing (reads give
    // an empty text, false, -1).
    // The template the controls were built from (positions and sizes in dialog units).
    const DialogTemplate& layout() const { return layout_; }
    const std::wstring& caption() const { return caption_; }
    void setCaption(std::wstring_view text) { caption_.assign(text); }
    const std::vector<Control>& controls() const { return controls_; }
    void setText(int id, std::wstring_view text);
    std::wstring text(int id) const;
    void setCheck(int id, bool checked);
    bool isChecked(int id) const;
    void enable(int id, bool enabled);
    bool isEnabled(int id) const;
    void addEntry(int listId, std::wstring_view text);
    void select(int listId, int position);
    int selection(int listId) const;

  protected:
    virtual bool OnInitDialog() { return true; }
    // Runs the handler bound to a click on `id`; false when there is none.
    virtual bool OnCommand(int /*id*/) { return false; }
    // Shows a file-open dialog through the front end; nothing when there is none.
    std::optional<std::wstring> askOpenFile(const FileOpenRequest& request);

  private:
    Control* find(int id);
    const Control* find(int id) const;
    void createControls();

    const DialogTemplate& layout_;
    std::wstring caption_;
    std::vector<Control> controls_;
    DialogFrontEnd* frontEnd_ = nullptr;  // set for the duration of DoModal
    bool ended_ = false;
    int result_ = IDCANCEL;
};

}  // namespace morvane
