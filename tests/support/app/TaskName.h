// Task codes by their enumerator names, so that tables of job states and failures read
// "eVeskBarcodeTask_DownloadBarcodeData" rather than 8.
#pragma once

#include "JobCheckList.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace testsupport {

// "eVeskBarcodeTask_ConnectToBarcodeDevice"; a code outside the enumeration gives "task 17".
std::string taskName(int32_t task);

} // namespace testsupport

// GoogleTest prints task codes (parameters, EXPECT_EQ operands) through this.
void PrintTo(eVeskBarcodeTask task, std::ostream* out);
