// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/convert_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli/extension.h"
#include "cli/subcommand.h"
#include "import/convert.h"

namespace cli {

int convert_command(int argc, char** argv) {
  CLI::App app(
      "Converts a plane table or an EBSD grain table (CSV with a header row) to a twin data "
      "file; the header row tells the form. Directions are rounded to whole degrees and the "
      "largest change this makes is reported.",
      "gemino-term convert");
  std::string input;
  std::string output;
  data_import::Options options;
  std::vector<std::string> specimen;
  app.add_option("input", input, "The table (CSV)")->required()->type_name("IN.csv");
  app.add_option("output", output, "The data file to write")->required()->type_name("OUT.txt");
  app.add_flag("--split", options.split,
               "Write several data files (OUT-1.txt, OUT-2.txt, ...) when one cannot hold the "
               "table (500 planes, three blocks of 99 grains)");
  app.add_option("--euler", options.declarations.euler,
                 "EBSD: the Euler angles' convention, bunge-passive or bunge-active")
      ->type_name("CONVENTION");
  app.add_option("--crystal-frame", options.declarations.crystal_frame,
                 "EBSD: the crystal frame's x axis, x=a or x=a*")
      ->type_name("FRAME");
  app.add_option("--specimen-to-geographic", specimen,
                 "EBSD: Bunge angles of the specimen axes in the geographic frame (east, north, "
                 "up), degrees")
      ->expected(3)
      ->allow_extra_args(false)
      ->type_name("PSI1 PSI PSI2");
  app.add_option("--grain-map", options.grain_map,
                 "Write where each grain of the table went (file, block, grain number) as CSV")
      ->type_name("FILE");
  if (const auto ended = parse_subcommand(app, argc, argv, "convert")) return *ended;
  for (const std::string& a : specimen) {
    options.declarations.specimen_to_geographic += a + " ";
  }
  if (output.empty() || input.empty()) {
    std::cerr << "gemino-term convert: the input and output need file names, not empty ones\n";
    return exit_usage;
  }
  const data_import::Outcome outcome = data_import::convert_file(input, output, options);
  if (!outcome.ok()) {
    std::cerr << "gemino-term convert: " << outcome.error << "\n";
    return 1;
  }
  std::cout << outcome.conversion->summary();
  if (!options.grain_map.empty()) std::cout << "wrote " << options.grain_map << "\n";
  return 0;
}

}  // namespace cli
