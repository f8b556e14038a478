#pragma once

#include <filesystem>

#include "app/execucao/diagnostico.h"
#include "app/execucao/execucao.h"
#include "base/arquivo_linhas.h"

namespace tevra {

// diagnostico.csv beside the frames: its heading and frame 1 replace any earlier file, each
// later frame adds its line. The file holds whole lines only, so a run that stops anywhere
// leaves the lines of the frames written so far. After a write failure (reported once) the
// run goes on without it.
class SaidaDiagnostico : public SaidaQuadro {
public:
    explicit SaidaDiagnostico(std::filesystem::path pasta);

    Escrita quadro(const ObjDeformavel& obj, int n, const std::filesystem::path& arquivoQuadro) override;
    Escrita concluir() override;

private:
    std::filesystem::path arquivo_;
    Diagnosticador diagnosticador_;
    ArquivoDeLinhas csv_;
    bool iniciado_ = false;
    bool falhou_ = false;
};

}  // namespace tevra
