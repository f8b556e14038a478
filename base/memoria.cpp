#include "base/memoria.h"

#include <unistd.h>

namespace tevra {

unsigned long long memoriaFisica() {
    const long paginas = sysconf(_SC_PHYS_PAGES);
    const long tamanho = sysconf(_SC_PAGE_SIZE);
    if (paginas <= 0 || tamanho <= 0) return 0;
    return static_cast<unsigned long long>(paginas) * static_cast<unsigned long long>(tamanho);
}

}  // namespace tevra
