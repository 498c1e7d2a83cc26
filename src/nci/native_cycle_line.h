// The field layout of a native drill cycle record (CycleCall), written as text and compiled into
// a fixed table of 29 fields at build time.
//
// A layout is a blank-separated list of fields:
//   0 1 -1 4      an integer constant, written as an integer
//   0*14          fourteen integer zeros
//   0.2           a real constant
//   x y z         the current position;  z0  the Z before the block
//   zret          the level the tool returns to after the hole (the ISO writer)
//   F P Q R S Z   a letter of the block (rounded)
//   Q203          entry 203 of the Q-parameter table
//   a+b a-b a/b   sum, difference, quotient of two operands
//   |a*b|         magnitude of a product
//   #a            a + 0.5 truncated to an integer (a count)
// A layout that does not give exactly 29 fields, or an unknown operand, fails the build.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "nci/supported_cycle.h"
#include "nci/varstorage.h"

namespace morvane {

enum class CycleOperand : std::uint8_t {
    None,
    Param,
    Letter,
    CurrentX,
    CurrentY,
    CurrentZ,
    StartZ,
    ReturnZ
};

struct CycleTerm {
    CycleOperand kind = CycleOperand::None;
    std::int32_t index = 0;  // Q number or letter index
};

enum class CycleFieldOp : std::uint8_t {
    Integer,     // `constant` written as an integer
    Real,        // `constant` written as a real
    Value,       // lhs
    Sum,         // lhs + rhs
    Difference,  // lhs - rhs
    Quotient,    // lhs / rhs
    AbsProduct,  // |lhs * rhs|
    Count,       // lhs + 0.5 truncated, written as an integer
};

struct CycleField {
    CycleFieldOp op = CycleFieldOp::Integer;
    CycleTerm lhs;
    CycleTerm rhs;
    double constant = 0.0;

    // True for a field that is always zero (it carries no value of the cycle).
    constexpr bool isZero() const { return op == CycleFieldOp::Integer && constant == 0.0; }
};

using CycleLineFields = std::array<CycleField, kCycleFieldCount>;

namespace detail {

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::int32_t parseUnsigned(std::string_view text) {
    if (text.empty()) throw "cycle layout: number expected";
    std::int32_t n = 0;
    for (char c : text) {
        if (!isDigit(c)) throw "cycle layout: bad number";
        n = n * 10 + (c - '0');
    }
    return n;
}

constexpr double parseConstant(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    double whole = 0.0, scale = 1.0;
    bool fraction = false;
    if (text.empty()) throw "cycle layout: bad constant";
    for (char c : text) {
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (isDigit(c)) {
            if (fraction) scale /= 10.0;
            whole = whole * 10.0 + (c - '0');
        } else {
            throw "cycle layout: bad constant";
        }
    }
    return (negative ? -whole : whole) * scale;
}

constexpr CycleTerm parseTerm(std::string_view text) {
    if (text == "x") return {CycleOperand::CurrentX, 0};
    if (text == "y") return {CycleOperand::CurrentY, 0};
    if (text == "z") return {CycleOperand::CurrentZ, 0};
    if (text == "z0") return {CycleOperand::StartZ, 0};
    if (text == "zret") return {CycleOperand::ReturnZ, 0};
    if (text.size() > 1 && text.front() == 'Q')
        return {CycleOperand::Param, parseUnsigned(text.substr(1))};
    if (text.size() == 1 && text.front() >= 'A' && text.front() <= 'Z')
        return {CycleOperand::Letter, static_cast<std::int32_t>(addr::letter(text.front()))};
    throw "cycle layout: unknown operand";
}

constexpr CycleField parseField(std::string_view text) {
    CycleField field;
    if (text.empty()) throw "cycle layout: empty field";
    if (isDigit(text.front()) || text.front() == '-') {
        field.constant = parseConstant(text);
        field.op =
            text.find('.') == std::string_view::npos ? CycleFieldOp::Integer : CycleFieldOp::Real;
        return field;
    }
    if (text.front() == '#') {
        field.op = CycleFieldOp::Count;
        field.lhs = parseTerm(text.substr(1));
        return field;
    }
    if (text.front() == '|') {
        const std::size_t star = text.find('*');
        if (text.back() != '|' || star == std::string_view::npos) throw "cycle layout: bad |a*b|";
        field.op = CycleFieldOp::AbsProduct;
        field.lhs = parseTerm(text.substr(1, star - 1));
        field.rhs = parseTerm(text.substr(star + 1, text.size() - star - 2));
        return field;
    }
    const std::size_t opAt = text.find_first_of("+-/");
    if (opAt == std::string_view::npos) {
        field.op = CycleFieldOp::Value;
        field.lhs = parseTerm(text);
        return field;
    }
    field.op = text[opAt] == '+'   ? CycleFieldOp::Sum
               : text[opAt] == '-' ? CycleFieldOp::Difference
                                   : CycleFieldOp::Quotient;
    field.lhs = parseTerm(text.substr(0, opAt));
    field.rhs = parseTerm(text.substr(opAt + 1));
    return field;
}

}  // namespace detail

// Compiles a layout text (see the top of this file) into its 29 fields.
constexpr CycleLineFields compileCycleLine(std::string_view layout) {
    CycleLineFields fields{};
    std::size_t count = 0;
    while (!layout.empty()) {
        const std::size_t blank = layout.find(' ');
        const std::string_view token = layout.substr(0, blank);
        layout = blank == std::string_view::npos ? std::string_view{} : layout.substr(blank + 1);
        if (token.empty()) continue;
        std::size_t repeat = 1;
        std::string_view fieldText = token;
        if (const std::size_t star = token.find('*');
            star != std::string_view::npos && token.front() != '|') {
            repeat = static_cast<std::size_t>(detail::parseUnsigned(token.substr(star + 1)));
            fieldText = token.substr(0, star);
        }
        const CycleField field = detail::parseField(fieldText);
        for (std::size_t i = 0; i < repeat; ++i) {
            if (count == fields.size()) throw "cycle layout: more than 29 fields";
            fields[count++] = field;
        }
    }
    if (count != fields.size()) throw "cycle layout: fewer than 29 fields";
    return fields;
}

// Compiles a mask text of 29 blank-separated single digits; anything else fails the build.
constexpr SupportedCycle compileCycleMask(std::string_view digits) {
    SupportedCycle mask{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i % 2 == 1) {
            if (digits[i] != ' ') throw "cycle mask: digits are separated by single blanks";
            continue;
        }
        if (!detail::isDigit(digits[i]) || count == mask.size()) throw "cycle mask: bad digit";
        mask[count++] = digits[i] - '0';
    }
    if (count != mask.size()) throw "cycle mask: 29 digits expected";
    return mask;
}

}  // namespace morvane
