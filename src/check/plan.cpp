#include "check/plan.h"

#include "runtime/text.h"

const char kPlanFailSource[] = "the source cannot be opened";
const char kPlanFailDest[] = "the destination cannot be created or written";
const char kPlanFailShort[] = "the data did not arrive whole";
const char kPlanFailTooLong[] = "a path is longer than 79 characters";
const char kPlanFailNameTooLong[] =
    "a file name is longer than 14 characters or a directory than 39";

PlanAction DecideEntry(const EntryFacts& f, const char** reason) {
    *reason = "";
    // A line whose names did not fit fails; one without a source is passed over.
    if (f.LinePresent && f.NameTooLong) {
        *reason = kPlanFailNameTooLong;
        return PlanFail;
    }
    if (!f.LinePresent || !f.HasSource) {
        *reason = !f.LinePresent ? "the line is missing or empty" : "the line names no source";
        return PlanSkip;
    }
    // A path too long for the copy is its reason, whatever else would fail.
    if (!f.SourceFits || !f.DestFits) {
        *reason = kPlanFailTooLong;
        return PlanFail;
    }
    // The source is opened first: a source that fails hides a destination that would.
    if (!f.SourceOpens) {
        *reason = kPlanFailSource;
        return PlanFail;
    }
    if (!f.DestWritable) {
        *reason = kPlanFailDest;
        return PlanFail;
    }
    if (!f.DataWhole) {
        *reason = kPlanFailShort;
        return PlanFail;
    }
    return f.Packed ? PlanExpand : PlanCopy;
}

const char* PlanActionWord(PlanAction action) {
    static const char* const kWords[] = {"copy", "expand", "skip", "fail", "refuse"};
    return kWords[action];
}

void PlanLine(char* out, int width, const char* const fields[], int count) {
    int n = 0;
    out[0] = 0;
    for (int i = 0; i < count; ++i) {
        const char* field = fields[i] != nullptr ? fields[i] : "";
        if (i > 0 && n < width - 1) out[n++] = '\t';
        for (const char* p = field; *p != 0 && n < width - 1; ++p)
            out[n++] = static_cast<unsigned char>(*p) < 32 ? '?' : *p;
    }
    out[n] = 0;
}
