#include "view/exportacao/pvd.h"

#include <charconv>

namespace tevra {

std::string montarPvd(const std::vector<EntradaPvd>& entradas) {
    std::string s;
    s.reserve(160 + entradas.size() * 72);
    s += "<?xml version=\"1.0\"?>\n";
    s += "<VTKFile type=\"Collection\" version=\"0.1\" byte_order=\"LittleEndian\">\n  <Collection>\n";
    for (const EntradaPvd& e : entradas) {
        char tempo[32];
        // Shortest text that reads back as the same double.
        const auto r = std::to_chars(tempo, tempo + sizeof tempo, e.tempo);
        s += "    <DataSet timestep=\"";
        s.append(tempo, r.ptr);
        s += "\" group=\"\" part=\"0\" file=\"";
        s += e.arquivo;
        s += "\"/>\n";
    }
    s += "  </Collection>\n</VTKFile>\n";
    return s;
}

}  // namespace tevra
