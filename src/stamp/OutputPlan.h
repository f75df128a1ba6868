#pragma once

#include "stamp/FolderWalk.h"
#include "stamp/OutputFormat.h"
#include "stamp/StampOptions.h"

#include <vector>

namespace tessaly {

// One picture of a batch and where its result goes.
struct StampJob {
    QString input;
    QString output;
    OutputFormat format = OutputFormat::Bmp;
    // Why this picture is not stamped (its output would replace an input, the
    // watermark or another picture's result, or exists and --existing fail
    // says so); empty when it is.
    QString refusal;
    bool skip = false; // the output exists and --existing skip leaves it
};

// The output name and format of every picture, in the order given: with -o
// the one name; with -d the name pattern's, under the folders between a
// walked folder and the picture (which need not exist yet).
std::vector<StampJob> planStampJobs(const StampOptions& options,
                                    const std::vector<FoundPicture>& pictures);

} // namespace tessaly
