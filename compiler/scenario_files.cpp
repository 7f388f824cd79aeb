#include "compiler/scenario_files.h"

namespace scenario {

Identity ascii_identity(std::string scenario_name, std::string train_number) {
  return Identity{scenario_name, train_number, scenario_name, train_number};
}

std::string ScenarioFolder::path(std::string_view file_name) const {
  std::string full = folder;
  full += separator;
  full += file_name;
  return full;
}

std::string line_source_name(const Identity& id) { return id.file_scenario_name + "_linea.txt"; }
std::string train_source_name(const Identity& id) {
  return id.file_scenario_name + "_" + id.file_train_number + "-.txt";
}
std::string notes_name(const Identity& id) { return id.file_scenario_name + "_" + id.file_train_number + "_note.txt"; }
std::string slowdown_order_name(const Identity& id) {
  return id.file_scenario_name + "_" + id.file_train_number + "_rallentamenti.txt";
}
std::string train_card_name(const Identity& id) {
  return id.file_scenario_name + "_" + id.file_train_number + "_scheda_treno.txt";
}
std::string line_plan_file_name(const Identity& id) { return id.file_scenario_name + "_linea.dat"; }
std::string table_file_name(const Identity& id) { return id.file_scenario_name + "_" + id.file_train_number + ".sim"; }
std::string cell_file_name(const Identity& id) { return id.file_scenario_name + "_" + id.file_train_number + ".dat"; }

}  // namespace scenario
