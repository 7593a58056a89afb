// The plan: what SETUP.EXE /S will do with a package, one tab-separated line per fact, for
// a program to compare with what a run did. No Windows call.
//
//   plan        1                         the format's version
//   installdir  DIR
//   start       run | refuse CODE REASON  whether the copy begins
//   entry       DISK LINE ACTION BYTES SOURCE DEST REASON
//               ACTION: copy (a plain file), expand (a packed one), skip (nothing to copy,
//               no box, a log line "nothing to copy"; REASON says why), fail (the copy fails: box, /S exit 1), refuse (the
//               run never starts); BYTES the size written, "-" for none
//   mouse       ps2|serial|none DEVICE-KEY
//   registry    KEY NAME DATA            each value the registration writes (exit 0 only):
//               KEY "device" is the mouse's device key, "class" the driver class key its
//               Driver value names, others are full paths below HKLM or HKCR
//   systemini   mouse=*vmouse | unchanged
//   exit        CODE                      the exit code of SETUP.EXE /S
//
// A field never holds a tab or line end: control characters are shown as "?".
#pragma once

enum PlanAction { PlanCopy, PlanExpand, PlanSkip, PlanFail, PlanRefuse };

// What the checker learnt of one entry, in the order the copy meets it.
struct EntryFacts {
    int LinePresent;   // the script holds the line, not empty
    int NameTooLong;   // a file name or directory of the line did not fit its field
    int HasSource;     // its source name is not empty
    int SourceFits;    // the source path fits 79 characters
    int SourceOpens;   // the source is a file the LZ library opens
    int DestFits;      // the destination path fits 79 characters
    int DestWritable;  // the destination's directory exists then, and the name is a file's
    int Packed;        // the source is in the LZ library's packed format
    int DataWhole;     // it expands to the size its header declares
};

// The reasons of a failed entry, as SETUP.EXE's log words them.
extern const char kPlanFailSource[];
extern const char kPlanFailDest[];
extern const char kPlanFailShort[];
extern const char kPlanFailTooLong[];
extern const char kPlanFailNameTooLong[];

// What the copy does with the entry; *reason gets a failure's reason as the log words it,
// or why an entry is skipped (else "").
PlanAction DecideEntry(const EntryFacts& facts, const char** reason);

// The action's word in the plan.
const char* PlanActionWord(PlanAction action);

// Joins count fields into out (width wide) with tabs between, each control character of a
// field shown as "?". Cut at the width.
void PlanLine(char* out, int width, const char* const fields[], int count);
