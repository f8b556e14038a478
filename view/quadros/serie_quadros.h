#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "view/quadros/leitor_quadros.h"
#include "view/quadros/quadro_compacto.h"

namespace tevra {

// The frames of one showing as the viewer holds them: the node arrays of the frame read
// last, whether the surface is a closed tube (from frame 1), which picture stands for each
// frame, and the compact frames of those pictures, within a budget of memory. Frames arrive
// in order, 1, 2, 3 ...
//
// A frame whose file is missing, ends early, holds a non-number or has another node count
// repeats the picture of the last frame read completely; before any such frame it is an
// empty picture. The node arrays only ever hold a complete frame.
//
// A series that does not fit its budget keeps the pictures nearest ahead of the frame on
// screen (see posicionar) and lets the others go: those are read again from disk when
// playback comes to them (aLer, guardar).
class SerieQuadros {
public:
    struct QuadroDeOutraGrade {
        int n = 0;             // the first frame of the loading whose node count differs
        long long nos = 0;     // nodes its file holds
        bool maisNos = false;  // at least that many
    };

    // A new series of numQuadros frames of a gradeI x gradeJ grid, whose compact frames may
    // take `orcamento` bytes; false (and an empty series) when the grid is too large to hold.
    bool iniciar(int numQuadros, int gradeI, int gradeJ,
                 std::size_t orcamento = std::numeric_limits<std::size_t>::max());

    // Frame n (the next one: quadrosProntos() + 1) has been read into `lido` with result `r`,
    // and `compacto` made from it when complete. True when it was complete: its values are
    // now in nos() (swapped with `lido`) and its picture, number n, is kept when it fits.
    // Past numQuadros() the series grows.
    bool aceitar(int n, NosSuperficie& lido, const ResultadoLeitura& r,
                 std::shared_ptr<const QuadroCompacto> compacto = nullptr);

    // After the last file: frames without a file of their own (beyond 9999) are ready too.
    void concluir();

    // The picture (its number, the frame it was made from) that frame q shows; 0 for none.
    int imagemDoQuadro(int q) const;
    // The compact frame of picture p, when it is in memory.
    std::shared_ptr<const QuadroCompacto> quadro(int p) const;

    // The frame on screen: what is kept when not everything fits is what lies ahead of it.
    void posicionar(int q);
    // Picture p read again from disk: kept when it fits ahead of the frame on screen.
    bool guardar(int p, std::shared_ptr<const QuadroCompacto> compacto);
    // Picture p could not be read again (its file changed since): no longer asked for.
    void indisponivel(int p);
    bool disponivel(int p) const;
    // The pictures that playback from frame q on needs and memory has room for, in order,
    // that are not in memory (nor unavailable).
    std::vector<int> aLer(int q) const;
    // Some picture had to be let go: the series is played from disk as it goes.
    bool transmitindo() const { return transmitindo_; }
    // Bytes the compact frames in memory take, and may take.
    std::size_t bytesGuardados() const { return bytesGuardados_; }
    std::size_t orcamento() const { return orcamento_; }

    int numQuadros() const { return numQuadros_; }
    int gradeI() const { return nos_.gradeI; }
    int gradeJ() const { return nos_.gradeJ; }
    // Frames 1 .. quadrosProntos() have been taken in.
    int quadrosProntos() const { return prontos_; }
    // Frames whose file was missing or unreadable so far.
    int quadrosFalhos() const { return falhos_; }
    // The first frame whose file held whole nodes of another count, once per loading.
    const std::optional<QuadroDeOutraGrade>& outraGrade() const { return outraGrade_; }
    // How many frame files the series reads: frame numbers beyond 9999 have no file.
    int arquivosASerLidos() const;
    bool superficieFechada() const { return fechada_; }
    const NosSuperficie& nos() const { return nos_; }

private:
    // Rank of picture p for staying in memory: lower stays longer.
    long long distancia(int p) const;

    int numQuadros_ = 0;
    int prontos_ = 0;
    int falhos_ = 0;
    int ultimaImagem_ = 0;
    bool fechada_ = false;
    NosSuperficie nos_;
    std::vector<int> imagem_;  // index = frame number, up to 9999
    std::optional<QuadroDeOutraGrade> outraGrade_;

    std::vector<std::shared_ptr<const QuadroCompacto>> guardados_;  // index = picture
    std::vector<bool> indisponiveis_;
    std::size_t orcamento_ = 0;
    std::size_t bytesGuardados_ = 0;
    std::size_t bytesPorQuadro_ = 0;
    int referencia_ = 1;  // the picture of the frame on screen
    bool transmitindo_ = false;
};

}  // namespace tevra
