// The job operations this build carries. Each subsystem that lands replaces one function here by
// an override that calls its own code, for example
//     void buildTheImageList(JobContext& context) override;   // -> the image list builder
// Functions not overridden report that they are not available yet and leave the job resting.
#pragma once

#include "JobOperations.h"

class VeskJobOperations : public JobOperations {
public:
};
