#include "nci/diagnostics.h"

#include <charconv>

namespace morvane {

std::string groupedNumber(std::uint64_t n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

void Diagnostics::enterCall() {
    callers_.push_back(line_);
}

void Diagnostics::leaveCall() {
    if (callers_.empty()) return;
    line_ = callers_.back();
    callers_.pop_back();
}

bool Diagnostics::firstOf(const DiagnosticCode& code) {
    for (const std::string_view name : asked_)
        if (name == code.name) return false;
    asked_.push_back(code.name);
    return true;
}

void Diagnostics::report(const DiagnosticCode& code, std::string_view message) {
    if (!wanted_) return;
    add(code, line_, callers_.empty() ? 0 : callers_.back(), message);
}

void Diagnostics::reportAt(const DiagnosticCode& code, std::uint32_t line,
                           std::string_view message) {
    if (!wanted_) return;
    add(code, line, 0, message);
}

void Diagnostics::fail(const DiagnosticCode& code, std::string_view message) {
    if (!failed_) failure_ = message;
    failed_ = true;
    add(code, 0, 0, message);
}

void Diagnostics::add(const DiagnosticCode& code, std::uint32_t line, std::uint32_t caller,
                      std::string_view message) {
    Entry entry{line, &code, std::string(message), 1};
    if (caller != 0) entry.message += " (in a subprogram called at line " + std::to_string(caller) + ")";
    std::string key = hostText(entry);
    if (const auto found = index_.find(key); found != index_.end()) {
        ++entries_[found->second].count;
        return;
    }
    if (entries_.size() >= kMaxEntries) {
        ++dropped_;
        return;
    }
    index_.emplace(std::move(key), entries_.size());
    entries_.push_back(std::move(entry));
}

std::vector<Diagnostics::Entry> Diagnostics::entries() const {
    std::vector<Entry> all = entries_;
    if (dropped_ > 0)
        all.push_back({0, &diagnostic::kTooManyDiagnostics,
                       groupedNumber(dropped_) + " further diagnostics were not kept; the first " +
                           groupedNumber(kMaxEntries) + " are listed",
                       1});
    return all;
}

std::string Diagnostics::hostText(const Entry& entry) {
    std::string text = std::to_string(entry.line);
    text += ':';
    text += entry.code->name;
    text += ": ";
    text += entry.message;
    if (entry.count > 1) text += " (" + groupedNumber(entry.count) + " times)";
    return text;
}

}  // namespace morvane
