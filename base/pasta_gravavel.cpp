#include "base/pasta_gravavel.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace tevra {

Escrita verificarPastaGravavel(const std::filesystem::path& pasta) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path onde = fs::absolute(pasta, ec);
    if (ec) return FalhaEscrita{pasta, ec.message()};
    // The nearest part of the path that exists: the folder itself, or where it would be made.
    while (!fs::exists(onde, ec)) {
        if (!onde.has_relative_path()) break;
        onde = onde.parent_path();
    }
    if (!fs::is_directory(onde, ec))
        return FalhaEscrita{
            pasta, onde == fs::absolute(pasta, ec) ? std::strerror(ENOTDIR) : onde.string() + " is not a folder"};
    // An exclusive create with this process's number: two runs probing one folder at once
    // (a sweep) never take each other's probe for their own.
    const fs::path sonda = onde / (".tevra-sonda-" + std::to_string(::getpid()));
    int fd = ::open(sonda.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {  // left by an earlier process that had this number
        ::unlink(sonda.c_str());
        fd = ::open(sonda.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    }
    if (fd < 0) return FalhaEscrita{pasta, std::strerror(errno)};
    ::close(fd);
    if (::unlink(sonda.c_str()) != 0) return FalhaEscrita{pasta, std::strerror(errno)};
    return std::nullopt;
}

}  // namespace tevra
