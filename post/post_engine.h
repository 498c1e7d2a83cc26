// The post-processor engine: takes NCI records in program order, keeps what the NCI says about
// the machine (position, feed in force, the native cycle last called) and hands each machining
// event to an output family. Records it cannot use become comments in the output and warnings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "held_records.h"
#include "nci_record_reader.h"
#include "post_output.h"
#include "post_settings.h"
#include "post_warnings.h"
#include "unplaced_hold.h"

namespace morvane::post {

class PostEngine {
  public:
    PostEngine(PostOutput& output, const PostSettings& settings, PostWarnings& warnings);

    // One record, in the order of the NCI program.
    void record(const NciRecord& record);
    // After the last record: writes what is still pending and the end of the program.
    void finish();

  private:
    // The records before the program's first block: its name (the first Message) and its unit
    // wait for the first record that writes something; true when `record` was taken so.
    bool takeBeforeStart(const NciRecord& record);
    void start();
    void process(const NciRecord& record);
    void replay(HeldRecords& held);
    // True when the rapid move `record` leaves an axis at a value no record has moved it from:
    // it is held until the NCI shows what that value is (unplaced_hold.h).
    bool startsHold(const NciRecord& record);
    // The record after a cycle call: true when it is the move of the calling block.
    bool takeCycleMove(const NciRecord& record);
    void flushCycleCall();
    void dispatch(const NciRecord& record);
    bool dispatchMotion(const NciRecord& record);
    bool dispatchSetting(const NciRecord& record);
    void dispatchOther(const NciRecord& record);
    void handleMove(const NciRecord& record);
    void handleArc(const NciRecord& record);
    void handleCycleCall(const NciRecord& record);
    void handleCycleRepeat(const NciRecord& record);
    void handleSubprogramCall(const NciRecord& record, bool afterInlineBody);
    void handleReferenceReturn(const NciRecord& record);
    void handleUnits(const NciRecord& record);
    // The feed for a feed move: `given` when the record has one, else the feed in force, else
    // (with a warning) the converter's default feed, which then stays in force.
    double feedFor(double given, const NciRecord& record);
    void moveTo(const Point& to);
    void resetPlacement();
    // A warning about `record`: a comment naming its NCI line, and a line of the side file.
    void warn(std::string_view what, const NciRecord& record);
    void problemWarning(const NciRecord& record);

    PostOutput& out_;
    const PostSettings& settings_;
    PostWarnings& warnings_;
    bool started_ = false;
    bool sawFirst_ = false;  // the first record has been read
    WriterFamily origin_ = WriterFamily::Heidenhain;  // from the first record
    std::string programName_;                         // from a first Message record
    bool inch_ = false;  // the unit in force: the converter's until a Units record
    HeldRecords beforeStart_;
    UnplacedHold hold_;
    std::array<bool, 3> holdDecided_{};  // unplaced axes a hold has already decided
    Point position_;       // where the NCI says the tool is; the writers start at 0 0 0
    Placement placement_;  // the axes of position_ that a block gave
    double feed_ = -1.0;   // feed in force: the last F of a feed move; -1 none yet
    std::optional<DrillCycle> lastCycle_;  // set by a readable CycleCall, used by repeats
    std::optional<CycleCall> pending_;     // a cycle call waiting for the move of its block
    // The exact semantics' ISO writer puts the distance from the initial level to R into the
    // tool's Z after a cycle call; moves that keep that value are physically at the initial
    // level. The corrected semantics moves the tool to the cycle's return level instead.
    std::optional<double> cycleArtifactZ_;
    double initialZ_ = 0.0;         // ISO writer: the level the tool was at when the cycles began
    double lastCallZ_ = 0.0;        // the Z the last cycle call or repeat left the tool at
    bool afterInlineBody_ = false;  // the record before ended an enrolled subprogram
    bool afterReferenceReturn_ = false;  // the record before was an exact semantics' return
    bool moved_ = false;                 // a move or arc record has been read
    std::string text_;                   // composing comments
    std::string detail_;                 // composing warnings
};

}  // namespace morvane::post
