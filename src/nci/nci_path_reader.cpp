#include "nci/nci_path_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <cstring>

#include "nci/nci_format.h"
#include "nci/nci_line_map.h"

namespace morvane {

namespace {

// The records that take part in the tool path.
bool wanted(std::int32_t code) {
    switch (code) {
        case rec::RapidMove: case rec::LinearMove: case rec::ArcCW: case rec::ArcCCW:
        case rec::DwellTime: case rec::SpindleLimit: case rec::SurfaceSpeed:
        case rec::OperationStart: case rec::ToolChange: case rec::CycleCall:
        case rec::CycleCallRepeat: case rec::ReferenceReturn:
            return true;
        default:
            return false;
    }
}

// The fields of a record the path needs: only these are parsed.
std::size_t fieldsNeeded(std::int32_t code) {
    switch (code) {
        case rec::RapidMove: case rec::LinearMove: return 5;  // comp X Y Z F
        case rec::ArcCW: case rec::ArcCCW: return 10;
        case rec::ToolChange: case rec::OperationStart: return 8;  // up to S
        case rec::CycleCall: return 3;  // kind X Y
        case rec::CycleCallRepeat: return 2;
        default: return 1;
    }
}

// A field as std::from_chars reads it, quicker for the plain decimals the NCI writers write:
// up to 15 digits, no exponent, the field ending at a space or the line's end. Such a number is
// a whole number below 2^53 divided by an exact power of ten, whose quotient is the correctly
// rounded value, as from_chars gives it. Anything else goes to from_chars.
std::from_chars_result readField(const char* p, const char* end, double& value) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* at = p;
    const bool negative = at < end && *at == '-';
    at += negative;
    std::uint64_t whole = 0;
    int digits = 0, decimals = -1;  // -1: no point yet
    for (; at < end && digits <= 15; ++at) {
        if (*at >= '0' && *at <= '9') {
            whole = whole * 10 + static_cast<unsigned>(*at - '0');
            ++digits;
            decimals += decimals >= 0;
        } else if (*at == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (digits == 0 || digits > 15 || (at < end && *at != ' '))
        return std::from_chars(p, end, value);
    const double magnitude = static_cast<double>(whole) / kPowers[decimals < 0 ? 0 : decimals];
    value = negative ? -magnitude : magnitude;
    return {at, std::errc()};
}

}  // namespace

void NciPathReader::take(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            partial_.append(text);
            return;
        }
        if (partial_.empty()) {
            line(text.substr(0, end));
        } else {
            partial_.append(text.substr(0, end));
            line(partial_);
            partial_.clear();
        }
        text.remove_prefix(end + 1);
    }
}

void NciPathReader::finish() {
    if (partial_.empty()) return;
    line(partial_);
    partial_.clear();
}

void NciPathReader::line(std::string_view text) {
    ++nciLine_;
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (code_ == kSkipParameters) {
        code_ = kNoRecord;
        return;
    }
    if (code_ == kNoRecord) {
        std::int32_t code = -1;
        const char* end = text.data() + text.size();
        const auto [at, error] = std::from_chars(text.data(), end, code);
        if (error == std::errc() && at == end && wanted(code)) {
            code_ = code;
            codeLine_ = nciLine_;
        } else {
            code_ = error == std::errc() && at == end ? kSkipParameters : kNoRecord;
        }
        return;
    }
    count_ = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    const std::size_t needed = fieldsNeeded(code_);
    while (p < end && count_ < needed) {
        while (p < end && *p == ' ') ++p;
        if (p == end) break;
        double value = 0.0;
        const auto [at, error] = readField(p, end, value);
        // A field that is no finite number (NCI text never holds one) reads as 0.
        fields_[count_++] = error == std::errc() && std::isfinite(value) ? value : 0.0;
        p = at == p ? p + 1 : at;
        while (p < end && *p != ' ') ++p;
    }
    emptyParameters_ = count_ == 0;
    const std::int32_t code = code_;
    code_ = kNoRecord;
    record(code);
}

void NciPathReader::record(std::int32_t code) {
    PathEvent event;
    switch (code) {
        case rec::RapidMove:
        case rec::LinearMove:
            return move(code == rec::RapidMove);
        case rec::ArcCW:
        case rec::ArcCCW:
            return arc(code == rec::ArcCW);
        case rec::DwellTime:
            event.kind = PathEvent::Kind::Dwell;
            event.seconds = emptyParameters_ ? 0.0 : field(0);
            return emit(event);
        case rec::SpindleLimit:
        case rec::SurfaceSpeed:
            event.kind = PathEvent::Kind::Spindle;
            event.speed = field(0);
            return emit(event);
        case rec::ReferenceReturn:
            event.kind = PathEvent::Kind::Return;
            event.from = event.to = position_;
            return emit(event);
        case rec::OperationStart:
            event.kind = PathEvent::Kind::Cycle;
            event.to = position_;
            return emit(event);
        case rec::ToolChange:
            event.kind = PathEvent::Kind::ToolChange;
            event.tool = static_cast<std::int32_t>(std::clamp(field(kToolNumber), -2147483648.0,
                                                              2147483647.0));
            event.speed = field(kToolSpeed);
            return emit(event);
        case rec::CycleCall:
        case rec::CycleCallRepeat: {
            const std::size_t x = code == rec::CycleCall ? 1 : 0;
            event.kind = PathEvent::Kind::Cycle;
            event.native = true;
            event.to = {field(x), field(x + 1), position_.z};
            position_.x = event.to.x;
            position_.y = event.to.y;
            return emit(event);
        }
        default:
            return;
    }
}

void NciPathReader::move(bool rapid) {
    PathEvent event;
    event.kind = rapid ? PathEvent::Kind::Rapid : PathEvent::Kind::Feed;
    event.from = position_;
    event.to = {field(1), field(2), field(3)};
    if (!rapid && field(4) >= 0.0) feed_ = field(4);
    event.feed = rapid ? -1.0 : feed_;
    position_ = event.to;
    emit(event);
}

void NciPathReader::arc(bool clockwise) {
    PathEvent event;
    event.kind = PathEvent::Kind::Arc;
    event.from = position_;
    event.clockwise = clockwise;
    event.plane = static_cast<int>(planeCode(planeOfCode(field(0))));
    const double h = field(2), v = field(3), ch = field(4), cv = field(5), d = field(6);
    if (event.plane == 0) {
        event.to = {h, v, d};
        event.centre = {ch, cv, position_.z};
    } else if (event.plane == 1) {
        event.to = {d, h, v};
        event.centre = {position_.x, ch, cv};
    } else {
        event.to = {h, -d, v};
        event.centre = {ch, position_.y, cv};
    }
    if (field(7) >= 0.0) feed_ = field(7);
    event.feed = feed_;
    // A whole turn where the end is the start in the arc's plane (the record's own flag compares
    // X and Y whatever the plane).
    const auto [sh, sv] = event.plane == 0   ? std::pair{position_.x, position_.y}
                          : event.plane == 1 ? std::pair{position_.y, position_.z}
                                             : std::pair{position_.x, position_.z};
    const auto [eh, ev] = event.plane == 0   ? std::pair{event.to.x, event.to.y}
                          : event.plane == 1 ? std::pair{event.to.y, event.to.z}
                                             : std::pair{event.to.x, event.to.z};
    event.fullCircle = std::fabs(sh - eh) < 1e-9 && std::fabs(sv - ev) < 1e-9;
    position_ = event.to;
    emit(event);
}

void NciPathReader::emit(PathEvent& event) {
    event.line = lines_ != nullptr ? lines_->programLine(codeLine_)
                                   : static_cast<std::uint32_t>(codeLine_);
    if (onEvent_) onEvent_(event);
}

}  // namespace morvane
