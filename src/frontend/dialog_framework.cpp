#include "frontend/dialog_framework.h"

namespace morvane {

ModalDialog::ModalDialog(const DialogTemplate& layout) : layout_(layout) {
    createControls();
}

void ModalDialog::createControls() {
    caption_.assign(layout_.caption);
    controls_.clear();
    controls_.reserve(layout_.controls.size());
    for (const ControlTemplate& t : layout_.controls) {
        Control control;
        control.id = t.id;
        control.name = t.name;
        control.kind = t.kind;
        control.text.assign(t.text);
        controls_.push_back(std::move(control));
    }
}

int ModalDialog::DoModal(DialogFrontEnd& frontEnd) {
    createControls();
    ended_ = false;
    result_ = IDCANCEL;
    frontEnd_ = &frontEnd;
    OnInitDialog();
    if (!ended_) frontEnd.runModal(*this);
    frontEnd_ = nullptr;
    if (!ended_) EndDialog(IDCANCEL);
    return result_;
}

void ModalDialog::EndDialog(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

void ModalDialog::click(int id) {
    // An ended dialog is gone from the screen: nothing can be clicked any more.
    Control* control = ended_ ? nullptr : find(id);
    if (control == nullptr || !control->enabled) return;
    if (control->kind == ControlKind::CheckBox) control->checked = !control->checked;
    if (OnCommand(id)) return;
    if (id == IDOK || id == IDCANCEL) EndDialog(id);
}

bool ModalDialog::selectEntry(int listId, std::wstring_view text) {
    Control* list = ended_ ? nullptr : find(listId);
    if (list == nullptr || !list->enabled) return false;
    for (std::size_t i = 0; i < list->entries.size(); ++i) {
        if (list->entries[i] == text) {
            list->selection = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void ModalDialog::setText(int id, std::wstring_view text) {
    if (Control* control = find(id)) control->text.assign(text);
}

std::wstring ModalDialog::text(int id) const {
    const Control* control = find(id);
    return control != nullptr ? control->text : std::wstring();
}

void ModalDialog::setCheck(int id, bool checked) {
    if (Control* control = find(id)) control->checked = checked;
}

bool ModalDialog::isChecked(int id) const {
    const Control* control = find(id);
    return control != nullptr && control->checked;
}

void ModalDialog::enable(int id, bool enabled) {
    if (Control* control = find(id)) control->enabled = enabled;
}

bool ModalDialog::isEnabled(int id) const {
    const Control* control = find(id);
    return control != nullptr && control->enabled;
}

void ModalDialog::addEntry(int listId, std::wstring_view text) {
    if (Control* list = find(listId)) list->entries.emplace_back(text);
}

void ModalDialog::select(int listId, int position) {
    Control* list = find(listId);
    if (list == nullptr) return;
    const bool inside = position >= 0 && static_cast<std::size_t>(position) < list->entries.size();
    list->selection = inside ? position : -1;
}

int ModalDialog::selection(int listId) const {
    const Control* list = find(listId);
    return list != nullptr ? list->selection : -1;
}

std::optional<std::wstring> ModalDialog::askOpenFile(const FileOpenRequest& request) {
    if (frontEnd_ == nullptr) return std::nullopt;
    return frontEnd_->openFile(request);
}

Control* ModalDialog::find(int id) {
    for (Control& control : controls_)
        if (control.id == id) return &control;
    return nullptr;
}

const Control* ModalDialog::find(int id) const {
    for (const Control& control : controls_)
        if (control.id == id) return &control;
    return nullptr;
}

}  // namespace morvane
