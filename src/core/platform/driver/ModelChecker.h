#pragma once
#include "platform/driver/DescriptorReader.h"
#include "platform/driver/PrinterModel.h"

namespace vx {

/// Borderless sources take these ids and no others; roll sources are 256 and 257.
bool IsBorderlessSourceId(int32_t id);
bool IsRollSourceId(int32_t id);

/// Refuses a model that the module could not drive soundly: names, ids, paper sizes
/// (16-bit on a model without item 203), sources and their papers, media and margins.
DescriptorProblem CheckModel(const PrinterModel& model);

}  // namespace vx
