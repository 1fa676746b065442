// The median the benchmarks report for turns taken one after the other:
// a burst of load on the machine lands on one turn and is outvoted.
#pragma once

#include <algorithm>
#include <vector>

namespace bench_support {

// The middle value, the mean of the two middle ones for an even count; 0
// for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace bench_support
