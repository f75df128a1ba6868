#pragma once

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
    // watermark or another picture's result); empty when it is.
    QString refusal;
};

// The output name and format of every input, in the order given. With -d the
// folder must exist already, so that names can be compared with the inputs.
std::vector<StampJob> planStampJobs(const StampOptions& options);

} // namespace tessaly
