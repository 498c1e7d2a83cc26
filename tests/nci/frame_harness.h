// Test support for the writer: blocks built from NC words, and a frame driven block by block
// into an in-memory NCI stream.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "cycles/cycle_writers.h"
#include "nci/block.h"
#include "writer/nci_frame.h"
#include "nci/nci_stream.h"

namespace morvane::test {

// Fills `b` from NC words such as "G1 X10 Y-2.5 F100". G words go to the G-code list (pseudo
// codes such as G1018 too); M and T words, and words with '#' before the number ("L#7"), are
// stored as ints; every other word, and words with '=' before the number ("T=0.05"), as a
// double ("Xnan" and "Xinf" give those values).
inline void fillBlock(block& b, std::string_view words) {
    b.reset();
    std::size_t i = 0;
    while (i < words.size()) {
        if (words[i] == ' ') {
            ++i;
            continue;
        }
        const char letter = words[i++];
        bool asInt = letter == 'M' || letter == 'T';
        if (i < words.size() && (words[i] == '#' || words[i] == '=')) {
            asInt = words[i] == '#';
            ++i;
        }
        std::size_t end = words.find(' ', i);
        if (end == std::string_view::npos) end = words.size();
        const std::string number(words.substr(i, end - i));
        i = end;
        const std::uint32_t index = addr::letter(letter);
        if (letter == 'G') {
            b.gcodes.push_back(static_cast<std::int32_t>(std::strtol(number.c_str(), nullptr, 10)));
        } else if (asInt) {
            b.setInt(index, static_cast<std::int32_t>(std::strtol(number.c_str(), nullptr, 10)));
        } else {
            b.setDouble(index, std::strtod(number.c_str(), nullptr));
        }
    }
}

// One block and the NCI text it must write.
struct BlockCase {
    const char* words;
    std::string nci;
};

// A writer of type Frame with the product's longhand cycles.
template <class Frame>
class Writer : public Frame {
  public:
    Writer() : Frame(longhandCycles()) {}
};

// Frame itself when it makes its own cycles (CycleProbe), else Writer<Frame>.
template <class Frame>
using WriterOf = std::conditional_t<std::is_default_constructible_v<Frame>, Frame, Writer<Frame>>;

// A writer of type Frame with its own Q-parameter table and axis values, fed one block at a
// time; each call returns the NCI text that block wrote.
template <class Frame>
class FrameHarness {
  public:
    FrameHarness() { block_.params = &params; }

    // LoadBlock and WriteBlock of one block; `comment` is queued between them when not empty.
    std::string write(std::string_view words, std::string comment = {}) {
        fillBlock(block_, words);
        frame.LoadBlock(block_, axes);
        if (!comment.empty()) frame.QueueComment(std::move(comment));
        frame.WriteBlock(out_);
        std::string text(out_.view());
        out_.clear();
        return text;
    }

    // Several blocks in a row; the text of all of them.
    std::string writeAll(std::initializer_list<std::string_view> blocks) {
        std::string text;
        for (const std::string_view words : blocks)
            text += write(words);
        return text;
    }

    // Writes the blocks in order; each must write exactly its text.
    void expectBlocks(const std::vector<BlockCase>& blocks) {
        for (const BlockCase& c : blocks)
            EXPECT_EQ(write(c.words), c.nci) << c.words;
    }

    block& currentBlock() { return block_; }

    WriterOf<Frame> frame;
    ParamMap params;
    std::vector<double> axes = std::vector<double>(6, 0.0);

  private:
    block block_;
    NciStream out_;
};

// The blocks on a new writer of type Frame.
template <class Frame>
void expectBlocks(const std::vector<BlockCase>& blocks) {
    FrameHarness<Frame> h;
    h.expectBlocks(blocks);
}

}  // namespace morvane::test
