#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tevra {

// The manifests of a sweep's run folders gathered into one CSV table, one row per folder in
// the order given, under the header
//   name,overrides,status,exit_code,steps,frames,wall_seconds,node_steps_per_second
// The name is the folder's own name, the overrides are joined by blanks. A folder without a
// manifest (a row whose input was refused writes nothing) is a row with status
// "no-manifest", one whose manifest does not parse "unreadable", so no row of a sweep goes
// missing from its table.
std::string coletarManifestos(const std::vector<std::filesystem::path>& pastas);

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, a line
// break or blanks at its ends.
std::string campoCsv(std::string_view texto);

}  // namespace tevra
