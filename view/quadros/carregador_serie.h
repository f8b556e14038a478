#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "view/quadros/leitor_quadros.h"
#include "view/quadros/quadro_compacto.h"

namespace tevra {

struct OpcoesCarga {
    int trabalhadores = 1;
    int adiantados = 4;   // frames read ahead of the next one taken, besides one a worker
    bool comNos = true;   // hand out the node arrays in doubles as well
    LeitorQuadro leitor;  // lerQuadro when empty
};

// Reads frame files on worker threads and hands them out in the order asked for, a few
// frames ahead of whoever takes them; each complete frame also comes as a compact frame.
// `aviso` runs on a worker when the next frame to take becomes available, and once when all
// reading has ended; it must be cheap and thread-safe (post a message).
//
// Dropping the loader never waits for its workers: one may be stuck in a read that never
// ends (a file system that hangs), and whoever drops the loader (the window, as it closes)
// must not be. The workers finish on their own, hand nothing more out and call `aviso` no
// more; what they hold goes with the last of them.
class CarregadorSerie {
public:
    struct Quadro {
        int n = 0;
        ResultadoLeitura resultado;
        NosSuperficie nos;                               // empty unless Opcoes::comNos
        std::shared_ptr<const QuadroCompacto> compacto;  // complete frames only
    };

    using Opcoes = OpcoesCarga;

    // Frames 1 .. numArquivos of the series recorded in `pasta`.
    CarregadorSerie(const std::filesystem::path& pasta, int numArquivos, int gradeI, int gradeJ,
                    std::function<void()> aviso, Opcoes opcoes = {});
    // The frames `numeros`, in that order, each from the file caminho(n).
    CarregadorSerie(std::vector<int> numeros, std::function<std::filesystem::path(int)> caminho, int gradeI, int gradeJ,
                    std::function<void()> aviso, Opcoes opcoes = {});
    ~CarregadorSerie();
    CarregadorSerie(const CarregadorSerie&) = delete;
    CarregadorSerie& operator=(const CarregadorSerie&) = delete;

    // The next frame, when it is ready.
    std::optional<Quadro> pegar();
    // Hands node arrays back for the next frames.
    void devolver(NosSuperficie&& buffer);
    // Every frame has been read and taken.
    bool acabou();
    // The frames not yet taken, in order.
    std::vector<int> pendentes();

private:
    struct Estado;
    std::shared_ptr<Estado> estado_;
};

}  // namespace tevra
