#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/erros.h"
#include "view/exportacao/serie_exportada.h"

namespace tevra {

struct OpcoesConversao {
    std::filesystem::path pasta;  // the recorded pontosNNNN.txt series
    std::filesystem::path saida;  // where the exports go; empty: beside the frames
    int gradeI = 0;
    int gradeJ = 0;
    int quadros = 0;  // frames 1 .. quadros; 0: up to the highest-numbered frame in the folder
    FormatoExportacao formato = FormatoExportacao::Vtu;
    double tempoPorQuadro = 1.0;  // simulated time between two frames, for the .pvd
};

enum class MotivoIgnorado { Ausente, Ilegivel, OutraGrade };

struct QuadroIgnorado {
    int n = 0;
    MotivoIgnorado motivo = MotivoIgnorado::Ausente;
    std::int64_t nosNoArquivo = -1;  // OutraGrade: the nodes the file holds, -1 when too many to tell
};

struct ResultadoConversao {
    std::filesystem::path saida;
    int quadros = 0;      // frames looked for
    int convertidos = 0;  // frames written
    std::vector<QuadroIgnorado> ignorados;
    bool formaDesconhecida = false;  // no frame 1 to tell a tube from a sheet: taken as a sheet
    int removidos = 0;               // files of an earlier export removed from the output folder
    Escrita falha;                   // the write that stopped the conversion
    bool saidaRecusada = false;      // ... a probe of the output folder, before any frame
    bool interrompida = false;
};

// Every frame of the series that holds exactly the grid's nodes becomes a superficieNNNN
// file with the precision the frame holds (positions and normals); a frame that is missing,
// unreadable or of another grid is reported and skipped, never replaced by another.
//
// Throws ErroEntrada, before anything is written, for a grid of no nodes, a folder without
// frames, or a grid that does not match the first readable frame (its node count, and for
// frame 1 the rows of the rest shape). An output folder that cannot be made or written to
// ends it before the first frame. Stops at the first file it cannot write, and between two
// frames when `parar` reads true.
ResultadoConversao converterSerie(const OpcoesConversao& opcoes,
                                  const std::function<void(int feitos, int total)>& progresso = {},
                                  const std::atomic<bool>* parar = nullptr);

// "frames missing: 3, 7-9" and the like, one line per reason (no line break at the end).
std::vector<std::string> textoIgnorados(const ResultadoConversao& r, int gradeI, int gradeJ);

}  // namespace tevra
