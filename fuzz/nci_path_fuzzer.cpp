// The NCI path reader on arbitrary bytes: whatever the text, every coordinate, feed, speed and
// time it hands on is a finite number, the events are the same whether the text comes whole or
// in pieces cut anywhere (a line split between two), and the path drawn from them agrees with
// itself when compared.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "nci/nci_path_reader.h"
#include "nci/path_compare.h"

namespace {

using namespace morvane;

bool finite(const PathPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool same(const PathPoint& a, const PathPoint& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool same(const PathEvent& a, const PathEvent& b) {
    return a.kind == b.kind && a.line == b.line && same(a.from, b.from) && same(a.to, b.to) &&
           same(a.centre, b.centre) && a.plane == b.plane && a.clockwise == b.clockwise &&
           a.fullCircle == b.fullCircle && a.feed == b.feed && a.tool == b.tool &&
           a.speed == b.speed && a.seconds == b.seconds && a.native == b.native;
}

std::vector<PathEvent> read(std::string_view text, std::size_t piece) {
    std::vector<PathEvent> events;
    NciPathReader reader([&events](const PathEvent& e) { events.push_back(e); }, nullptr);
    for (std::size_t at = 0; at < text.size(); at += piece) reader.take(text.substr(at, piece));
    reader.finish();
    return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<PathEvent> whole = read(text, text.size() + 1);
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 13;
    const std::vector<PathEvent> pieces = read(text, piece);
    if (pieces.size() != whole.size()) fuzz::fail("pieces give another number of events", text);
    MovePath path;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const PathEvent& e = whole[i];
        if (!same(e, pieces[i])) fuzz::fail("pieces give another event", text);
        if (!finite(e.from) || !finite(e.to) || !finite(e.centre) || !std::isfinite(e.feed) ||
            !std::isfinite(e.speed) || !std::isfinite(e.seconds))
            fuzz::fail("an event holds a number that is not finite", text);
        if (e.plane < 0 || e.plane > 2) fuzz::fail("an arc of no plane", text);
        path.take(e);
    }
    if (comparePaths(path, path, 0.01).count != 0) fuzz::fail("the path differs from itself", text);
    return 0;
}
