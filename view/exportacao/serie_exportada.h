#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/erros.h"
#include "view/exportacao/pvd.h"
#include "view/exportacao/superficie_exportada.h"

namespace tevra {

enum class FormatoExportacao {
    Vtu,  // superficieNNNN.vtu and superficie.pvd: analysis (ParaView, PyVista)
    Obj,  // superficieNNNN.obj: rendering (Blender's and Houdini's sequence importers)
};

// "vtu" or "obj"; nothing for any other text.
std::optional<FormatoExportacao> formatoExportacao(std::string_view nome);

// superficieNNNN.vtu or .obj in `pasta`, NNNN the frame number as the frame files write it;
// empty for n outside 1 .. 9999.
std::filesystem::path caminhoExportacao(const std::filesystem::path& pasta, int n, FormatoExportacao formato);
// superficie.pvd in `pasta`.
std::filesystem::path caminhoPvd(const std::filesystem::path& pasta);

// One series of exported frames in one folder: each frame's file written complete or not at
// all, and for VTK the .pvd that lists the frames written so far, rewritten whole (through a
// temporary name) as they arrive.
class SerieExportada {
public:
    SerieExportada(std::filesystem::path pasta, FormatoExportacao formato);

    // Removes what an earlier series of the same format left in the folder (superficieNNNN
    // files with exactly four digits, and the .pvd), so that a sequence importer does not
    // take an old frame for one of this series; returns how many files went.
    int removerAntigos();

    // Writes frame n at simulated time `tempo`; a frame that could not be written is left
    // out of the .pvd.
    Escrita gravar(int n, double tempo, const SuperficieExportada& s);
    // The .pvd as it stands after the last frame.
    Escrita concluir();

    const std::filesystem::path& pasta() const { return pasta_; }
    int gravados() const { return gravados_; }

    // The .pvd is rewritten with every frame unless the last rewrite is more recent than
    // this: for a long series of small frames, rewriting the whole list each time would cost
    // more than the frames. concluir() always writes it.
    std::chrono::milliseconds intervaloPvd{250};

private:
    Escrita gravarPvd();

    std::filesystem::path pasta_;
    FormatoExportacao formato_;
    int gravados_ = 0;
    // The quads of the grid last seen; every frame of a series has the same.
    int gradeI_ = -1, gradeJ_ = -1;
    bool fechada_ = false;
    std::vector<std::int64_t> quads_;
    std::string texto_;  // the file being built, its memory kept between frames
    std::vector<EntradaPvd> entradas_;
    bool pvdPendente_ = false;
    std::chrono::steady_clock::time_point ultimoPvd_{};
};

}  // namespace tevra
