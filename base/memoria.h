#pragma once

#include <filesystem>

namespace tevra {

// Physical memory of this machine in bytes (0 when unknown).
unsigned long long memoriaFisica();

// Memory this process can still take, in bytes: the system's MemAvailable, or less when the
// process's control group leaves less (cgroup v2: memory.max minus memory.current; v1:
// memory.limit_in_bytes minus memory.usage_in_bytes; every level up to the root counts).
// Physical memory when MemAvailable cannot be read; 0 when nothing is known.
unsigned long long memoriaDisponivel();

// The same from other roots than /proc and /sys/fs/cgroup (for tests).
unsigned long long memoriaDisponivel(const std::filesystem::path& proc, const std::filesystem::path& cgroup);

}  // namespace tevra
