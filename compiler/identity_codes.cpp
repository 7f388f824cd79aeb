#include "compiler/identity_codes.h"

#include "source/windows1252.h"

namespace scenario {

std::string identity_text(const RouteModel& model) {
  std::string text = model.table[kTrainNumberRecord].text + model.table[kScenarioRecord].text;
  for (char& c : text) c = static_cast<char>(cp1252_to_lower(static_cast<unsigned char>(c)));
  text += kIdentityFiller;
  text.resize(kIdentityChars);
  return text;
}

int32_t table_identity_code(const RouteModel& model) {
  const std::string text = identity_text(model);
  int32_t sum = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    sum += static_cast<int32_t>(i + 1) * static_cast<unsigned char>(text[i]);
  }
  return sum;
}

int32_t route_identity_code(const RouteModel& model) {
  const std::string text = identity_text(model);
  int32_t sum = 0;
  for (char c : text) sum += static_cast<unsigned char>(c);
  return sum;
}

}  // namespace scenario
