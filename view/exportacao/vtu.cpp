#include "view/exportacao/vtu.h"

#include <bit>
#include <cstring>

namespace tevra {

namespace {

// The blocks are copied as the machine holds them and declared little-endian.
static_assert(std::endian::native == std::endian::little, "the .vtu writer copies little-endian memory");

constexpr std::uint8_t kVtkQuad = 9;
constexpr std::size_t kCabecalhoBloco = sizeof(std::uint64_t);

void anexar(std::string& s, std::uint64_t v) { s += std::to_string(v); }

// One <DataArray> of the appended section; `offset` counts from the byte after the '_'.
void declarar(std::string& s, const char* tipo, const std::string& nome, int componentes, std::uint64_t offset) {
    s += "        <DataArray type=\"";
    s += tipo;
    s += "\" Name=\"";
    s += nome;
    s += "\"";
    if (componentes > 1) {
        s += " NumberOfComponents=\"";
        anexar(s, static_cast<std::uint64_t>(componentes));
        s += "\"";
    }
    s += " format=\"appended\" offset=\"";
    anexar(s, offset);
    s += "\"/>\n";
}

// Writes into memory already sized for it.
class Cursor {
public:
    explicit Cursor(char* p) : p_(p) {}
    template <class T>
    void valor(T v) {
        std::memcpy(p_, &v, sizeof v);
        p_ += sizeof v;
    }
    // A block of `componentes` arrays interleaved node by node, behind its byte count.
    void colunas(const double* const* c, int componentes, std::int64_t nos) {
        valor(static_cast<std::uint64_t>(nos) * static_cast<std::uint64_t>(componentes) * sizeof(double));
        for (std::int64_t idx = 0; idx < nos; ++idx)
            for (int k = 0; k < componentes; ++k) valor(c[k][idx]);
    }
    char* p() const { return p_; }

private:
    char* p_;
};

}  // namespace

void montarVtu(const SuperficieExportada& s, const std::vector<std::int64_t>& quads, std::string& saida) {
    const std::int64_t nos = s.numNos();
    const std::uint64_t celulas = quads.size() / 4;
    const std::uint64_t n = static_cast<std::uint64_t>(nos);

    saida.clear();
    saida += "<?xml version=\"1.0\"?>\n";
    saida += "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n";
    saida += "  <UnstructuredGrid>\n    <Piece NumberOfPoints=\"";
    anexar(saida, n);
    saida += "\" NumberOfCells=\"";
    anexar(saida, celulas);
    saida += "\">\n      <PointData";
    if (const CampoNos* normal = s.normal()) {
        saida += " Normals=\"";
        saida += normal->nome;
        saida += "\"";
    }
    saida += ">\n";

    // Offsets into the appended section, in the order the blocks follow each other.
    std::uint64_t offset = 0;
    auto bloco = [&offset](std::uint64_t bytes) {
        const std::uint64_t este = offset;
        offset += kCabecalhoBloco + bytes;
        return este;
    };
    for (const CampoNos& c : s.campos)
        declarar(saida, "Float64", c.nome, c.componentes, bloco(n * c.componentes * sizeof(double)));
    saida += "      </PointData>\n      <Points>\n";
    declarar(saida, "Float64", "Points", 3, bloco(n * 3 * sizeof(double)));
    saida += "      </Points>\n      <Cells>\n";
    declarar(saida, "Int64", "connectivity", 1, bloco(celulas * 4 * sizeof(std::int64_t)));
    declarar(saida, "Int64", "offsets", 1, bloco(celulas * sizeof(std::int64_t)));
    declarar(saida, "UInt8", "types", 1, bloco(celulas));
    saida += "      </Cells>\n    </Piece>\n  </UnstructuredGrid>\n  <AppendedData encoding=\"raw\">\n   _";

    const char* const fim = "\n  </AppendedData>\n</VTKFile>\n";
    const std::size_t inicio = saida.size();
    saida.resize(inicio + offset + std::strlen(fim));
    Cursor c(saida.data() + inicio);
    for (const CampoNos& campo : s.campos) c.colunas(campo.colunas, campo.componentes, nos);
    c.colunas(s.pos, 3, nos);
    c.valor(static_cast<std::uint64_t>(quads.size() * sizeof(std::int64_t)));
    std::memcpy(c.p(), quads.data(), quads.size() * sizeof(std::int64_t));
    c = Cursor(c.p() + quads.size() * sizeof(std::int64_t));
    c.valor(static_cast<std::uint64_t>(celulas * sizeof(std::int64_t)));
    for (std::uint64_t q = 1; q <= celulas; ++q) c.valor(static_cast<std::int64_t>(4 * q));  // where each cell ends
    c.valor(static_cast<std::uint64_t>(celulas));
    std::memset(c.p(), kVtkQuad, celulas);
    std::memcpy(c.p() + celulas, fim, std::strlen(fim));
}

}  // namespace tevra
