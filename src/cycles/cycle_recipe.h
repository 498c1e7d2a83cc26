// How one cycle call is expanded in longhand: the comment label, whether the drilling head lines
// are written, which cycle class does the moves, and the parameters handed to it, each computed
// from the frame's Q-parameter table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

#include "cycles/nci_general_cycle.h"
#include "nci/block.h"
#include "nci/diagnostics.h"

namespace morvane {

// Where a cycle parameter comes from.
enum class ArgSource : std::uint8_t {
    QSum,  // a sum of signed Q parameters (or a constant when there are none), times a factor
    HalfSmaller,  // half the smaller of Q218 and Q219 (a slot's corner radius)
    Depth,        // the infeed: Q202 when positive, else -Q201 - 1 (a single infeed)
    OldDepth,     // the same for the old-style cycles, whose Q201 is negated: Q201 - 1
    OldSurface,   // surface := Z of the call - Q200, second clearance := Q200 (old-style cycles)
    Flag,         // SetFlag with a fixed truth value
};

// One signed Q parameter of a sum.
struct QTerm {
    std::int16_t q = 0;  // 0 ends the sum
    std::int8_t sign = 1;
};

// One SetValue or SetFlag call of a cycle writer.
struct CycleArg {
    ArgSource source = ArgSource::QSum;
    std::int8_t index = 0;
    std::array<QTerm, 4> terms{};
    double factor = 1.0;
    double constant = 0.0;  // the value when the sum has no terms
    bool flag = false;
};

using CycleBuilder = std::unique_ptr<NCIGeneralCycle> (*)(const CycleStart&);

template <class Cycle>
std::unique_ptr<NCIGeneralCycle> buildCycle(const CycleStart& start) {
    return std::make_unique<Cycle>(start);
}

// One longhand cycle writer.
struct CycleRecipe {
    std::int32_t cycle = 0;
    std::string_view label;
    bool drillingHead = false;  // the "1" record with compensation, position and feed
    CycleBuilder build = nullptr;
    std::span<const CycleArg> args;
    // The parameters with the corrected semantics, when they differ.
    std::span<const CycleArg> correctedArgs = {};
};

// Builders of the argument lists, so that the tables read like the parameter lists.
namespace arg {

// index := Qq
constexpr CycleArg q(int index, int qn) {
    return {
        ArgSource::QSum, static_cast<std::int8_t>(index), {{{static_cast<std::int16_t>(qn), 1}}}};
}
// index := -Qq
constexpr CycleArg negQ(int index, int qn) {
    return {
        ArgSource::QSum, static_cast<std::int8_t>(index), {{{static_cast<std::int16_t>(qn), -1}}}};
}
// index := Qq / 2
constexpr CycleArg halfQ(int index, int qn) {
    CycleArg a = q(index, qn);
    a.factor = 0.5;
    return a;
}
// index := Qa - Qb
constexpr CycleArg diffQ(int index, int qa, int qb) {
    CycleArg a = q(index, qa);
    a.terms[1] = {static_cast<std::int16_t>(qb), -1};
    return a;
}
// index := the sum of up to four signed Q parameters, in order
constexpr CycleArg sumQ(int index, std::array<QTerm, 4> terms) {
    CycleArg a{ArgSource::QSum, static_cast<std::int8_t>(index)};
    a.terms = terms;
    return a;
}
constexpr CycleArg constant(int index, double v) {
    CycleArg a{ArgSource::QSum, static_cast<std::int8_t>(index)};
    a.constant = v;
    return a;
}
constexpr CycleArg flag(int index, bool v) {
    CycleArg a{ArgSource::Flag, static_cast<std::int8_t>(index)};
    a.flag = v;
    return a;
}
constexpr CycleArg halfSmallerSide(int index) {
    return {ArgSource::HalfSmaller, static_cast<std::int8_t>(index)};
}
constexpr CycleArg depthFallback() {
    return {ArgSource::Depth, drilling::kInfeed};
}
constexpr CycleArg oldDepthFallback() {
    return {ArgSource::OldDepth, drilling::kInfeed};
}
constexpr CycleArg oldSurface() {
    return {ArgSource::OldSurface, general::kSurface};
}

// `base` with `passes` handed over before its last three arguments (the return and retract flags
// and the infeed): the list of a pocket or slot with the corrected semantics.
template <std::size_t N, std::size_t M>
constexpr std::array<CycleArg, N + M> withPasses(const CycleArg (&base)[N],
                                                 const CycleArg (&passes)[M]) {
    static_assert(N >= 3);
    std::array<CycleArg, N + M> out{};
    std::size_t k = 0;
    for (std::size_t i = 0; i < N - 3; ++i)
        out[k++] = base[i];
    for (const CycleArg& a : passes)
        out[k++] = a;
    for (std::size_t i = N - 3; i < N; ++i)
        out[k++] = base[i];
    return out;
}

// `base` with the Q numbers of its first two arguments exchanged: the old-style slot and pocket
// with the corrected semantics, whose length (Q218) runs along the first axis.
template <std::size_t N>
constexpr std::array<CycleArg, N> withSidesSwapped(const CycleArg (&base)[N]) {
    static_assert(N >= 2);
    std::array<CycleArg, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = base[i];
    std::swap(out[0].terms, out[1].terms);
    return out;
}

}  // namespace arg

// Hands `args` to `cycle` in order, reading the Q parameters from `q` (a missing number is
// entered as 0.0). `callZ` is the Z of the calling block, from which the old-style cycles measure
// their surface. A parameter the cycle rejects is reported to `diagnostics` and throws; the calls
// before it have been made.
void passCycleArgs(NCIGeneralCycle& cycle, std::span<const CycleArg> args, ParamMap& q,
                   double callZ, Diagnostics& diagnostics);

}  // namespace morvane
