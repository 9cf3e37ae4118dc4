// The report writer launch.
#pragma once

namespace corva::outside {

// Starts, raises or refuses the report writer for the company (see CVRRun).
void run_report_writer(const char* company);

}  // namespace corva::outside
