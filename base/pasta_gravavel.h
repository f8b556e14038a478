#pragma once

#include <filesystem>

#include "base/erros.h"

namespace tevra {

// Whether a run could write its files into `pasta`, found out by creating an empty probe
// file there and removing it again. A folder that does not exist yet is judged by its
// nearest existing parent (where it would be created), and is not created: a check leaves
// nothing behind. Empty when writing would work, else the folder and the reason ("Not a
// directory", "Permission denied", "Read-only file system", ...).
Escrita verificarPastaGravavel(const std::filesystem::path& pasta);

}  // namespace tevra
