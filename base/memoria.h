#pragma once

namespace tevra {

// Physical memory of this machine in bytes (0 when unknown).
unsigned long long memoriaFisica();

}  // namespace tevra
