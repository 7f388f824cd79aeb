#include "platform/temporary_name.h"

#include <random>

namespace scenario {

std::string temporary_name_beside(const std::string& path, std::string_view separators) {
  static std::mt19937_64 generator{std::random_device{}()};
  const size_t end_of_folder = path.find_last_of(separators);
  const size_t name_start = end_of_folder == std::string::npos ? 0 : end_of_folder + 1;
  // A short name of fixed length: one built from the target's own name could
  // exceed the length a name or path may have where the target itself fits.
  std::string digits = std::to_string(generator() % 1000000000ULL);
  digits.insert(0, 9 - digits.size(), '0');
  return path.substr(0, name_start) + ".tmp-" + digits;
}

}  // namespace scenario
