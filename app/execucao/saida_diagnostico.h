#pragma once

#include <filesystem>

#include "app/execucao/diagnostico.h"
#include "base/arquivo_linhas.h"

namespace tevra {

// diagnostico.csv beside the frames: its heading and frame 1 replace any earlier file, each
// later frame adds its line. The file holds whole lines only, so a run that stops anywhere
// leaves the lines of the frames written so far. Fed from the frames' copies on the frame
// writer's thread (GravadorQuadros::SaidaDaCopia), so that the run does not wait for it.
// After a write failure (reported once) nothing more is written.
class SaidaDiagnostico {
public:
    SaidaDiagnostico(std::filesystem::path pasta, const ObjDeformavel& obj);

    Escrita quadro(const VistaQuadro& q);
    Escrita concluir();

private:
    std::filesystem::path arquivo_;
    Diagnosticador diagnosticador_;
    ArquivoDeLinhas csv_;
    bool iniciado_ = false;
    bool falhou_ = false;
};

}  // namespace tevra
