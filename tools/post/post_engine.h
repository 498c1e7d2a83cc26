// The post-processor engine: takes NCI records in program order, keeps what the NCI says about
// the machine (position, feed in force, the native cycle last called) and hands each machining
// event to an output family. Records it cannot use become comments in the output.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "nci_record_reader.h"
#include "post_output.h"
#include "post_settings.h"

namespace morvane::post {

class PostEngine {
  public:
    PostEngine(PostOutput& output, const PostSettings& settings);

    // One record, in the order of the NCI program.
    void record(const NciRecord& record);
    // After the last record: writes what is still pending and the end of the program.
    void finish();

  private:
    void start(const NciRecord& first);
    // The record after a cycle call: true when it is the move of the calling block.
    bool takeCycleMove(const NciRecord& record);
    void flushCycleCall();
    void dispatch(const NciRecord& record);
    void handleMove(const NciRecord& record);
    void handleArc(const NciRecord& record);
    void handleCycleCall(const NciRecord& record);
    void handleCycleRepeat(const NciRecord& record);
    void handleSubprogramCall(const NciRecord& record, bool afterInlineBody);
    void moveTo(const Point& to);
    void commentf(std::string_view what, const NciRecord& record);
    void problemComment(const NciRecord& record);

    PostOutput& out_;
    const PostSettings& settings_;
    bool started_ = false;
    WriterFamily origin_ = WriterFamily::Heidenhain;  // from the first record
    Point position_;       // where the NCI says the tool is; the writers start at 0 0 0
    Placement placement_;  // the axes of position_ that a block gave
    double feed_ = -1.0;   // feed in force: the last F of a feed move; -1 none yet
    std::optional<DrillCycle> lastCycle_;  // set by a readable CycleCall, used by repeats
    std::optional<CycleCall> pending_;     // a cycle call waiting for the move of its block
    // ISO writer: after a cycle call it puts the distance from the initial level to R into the
    // tool's Z; moves that keep that value are physically at the initial level.
    std::optional<double> cycleArtifactZ_;
    double initialZ_ = 0.0;         // ISO writer: the level the tool was at when the cycles began
    bool afterInlineBody_ = false;  // the record before ended an enrolled subprogram
    bool afterReferenceReturn_ = false;  // the record before was a ReferenceReturn
    bool moved_ = false;                 // a move or arc record has been read
    std::string text_;                   // composing comments
};

}  // namespace morvane::post
