// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/round_trip.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "gemino/driver.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "support/fake_console.h"

namespace results_test {

namespace {

std::string internal(const char* format, std::initializer_list<recfmt::Out> items) {
  std::array<char, 160> record{};
  recfmt::write_internal(record, recfmt::Format(format), items);
  std::string line(record.data(), record.size());
  line.resize(line.find_last_not_of(' ') == std::string::npos ? 0 : line.find_last_not_of(' ') + 1);
  return line;
}

std::string rstrip(std::string s) {
  const std::size_t end = s.find_last_not_of(' ');
  s.resize(end == std::string::npos ? 0 : end + 1);
  return s;
}

}  // namespace

int run_in(const gemino_test::ScratchDir& dir) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.file(""));
  test_support::FakeConsole console({"", "params.txt", "data.txt", "report.txt"});
  const int code = recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
  std::filesystem::current_path(before);
  return code;
}

Lines tensor_block(const results::TensorResult& t, const std::vector<int32_t>& listed) {
  Lines out;
  const results::Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
  for (int32_t j = 0; j < 3; ++j) {
    out.push_back(internal("(T20,'SIGMA ',I1,'   DIRECTION   ',F5.0,'   PENDAGE   ',F5.0,T80,F6.3)",
                           {j + 1, axes[j]->line.trend, axes[j]->line.plunge, t.params[j]}));
  }
  out.push_back(internal("(T20,'VALEUR DE LA FONCTION  ',F10.2,'  RAPPORT R ',F6.3,T80,F6.3)",
                         {t.objective, t.R, t.R}));
  std::string line;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    line += internal("(1X,I4)", {listed[i]});
    if (i % 14 == 13 || i + 1 == listed.size()) {
      out.push_back(line);
      line.clear();
    }
  }
  out.push_back(internal("(T10,'******************************************')", {}));
  return out;
}

std::vector<int32_t> ranked_numbers(const results::Result& r) {
  std::vector<const results::Plane*> order;
  for (const results::Plane& p : r.planes) order.push_back(&p);
  std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->rank < b->rank; });
  std::vector<int32_t> out;
  for (const results::Plane* p : order) out.push_back(p->twinned ? p->number : -p->number);
  return out;
}

Lines ranking_lines(const results::Result& r) {
  std::vector<const results::Plane*> order;
  for (const results::Plane& p : r.planes) order.push_back(&p);
  std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->rank < b->rank; });
  Lines out;
  for (std::size_t first = 0; first < order.size(); first += 14) {
    std::string numbers;
    std::string values;
    for (std::size_t l = first; l < first + 14 && l < order.size(); ++l) {
      const results::Plane& p = *order[l];
      numbers += internal("(3X,I4,2X)", {p.twinned ? p.number : -p.number});
      numbers.resize(9 * (l - first + 1), ' ');
      values += internal("(1X,F7.3,1X)", {p.tau});
      values.resize(9 * (l - first + 1), ' ');
    }
    out.push_back(rstrip(numbers));
    out.push_back(rstrip(values));
  }
  out.push_back(internal("(T20,'SEUIL=  ',F8.4)", {r.result.threshold}));
  return out;
}

Lines non_blank(const Lines& report, std::size_t from, const std::string& until) {
  Lines out;
  for (std::size_t i = from; i < report.size(); ++i) {
    const std::string line = rstrip(report[i]);
    if (line.empty()) continue;
    out.push_back(line);
    if (line.find(until) != std::string::npos) break;
  }
  return out;
}

Lines trimmed(Lines lines) {
  for (std::string& l : lines) l = rstrip(l);
  return lines;
}

}  // namespace results_test
