// The figure of the twin-percent scan: the angles of sigma1 and sigma3 to the run's own
// axes (above) and the differential stress (below), against the share of twins counted.
#pragma once

#include "bootstrap/twin_scan.h"
#include "figures/figure.h"

namespace cli {

figures::Figure scan_figure(const bootstrap::Scan& scan, double width, double height);

}  // namespace cli
