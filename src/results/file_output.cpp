#include "results/file_output.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace results {

void write_file(const std::filesystem::path& path, const std::string& text) {
  const std::filesystem::path temporary =
      path.string() + ".part-" + std::to_string(static_cast<long>(::getpid()));
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (out.good()) {
      out.close();
      std::error_code ec;
      std::filesystem::rename(temporary, path, ec);
      if (!ec) return;
    }
  }
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  throw std::runtime_error("cannot write " + path.string());
}

}  // namespace results
