#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "app/execucao/execucao.h"
#include "view/exportacao/serie_exportada.h"

namespace tevra {

// A run's frames exported as they are written, from the engine's doubles: beside every
// pontosNNNN.txt a superficieNNNN.vtu (with superficie.pvd) or superficieNNNN.obj.
//
// The .vtu point data: normal, velocidade, deslocamento (from the positions of frame 1, the
// rest shape), forcaInterna and forcaExterna as the data dump prints them (the internal
// force is filled by the semi-explicit Euler step only, the others leave it zero), and with
// the data dumps on the metric G, the curvature B and the mixed tensor S of every node.
class ExportacaoExecucao : public SaidaQuadro {
public:
    // `intervalo` and `passo` give the simulated time of frame n, (n - 1) * intervalo * passo.
    ExportacaoExecucao(FormatoExportacao formato, std::filesystem::path pasta, int intervalo, double passo,
                       bool tensores);

    Escrita quadro(const ObjDeformavel& obj, int n, const std::filesystem::path& arquivoQuadro) override;
    Escrita concluir() override;

    SerieExportada& serie() { return serie_; }
    // Files of an earlier export removed before the first frame.
    int removidos() const { return removidos_; }

private:
    SerieExportada serie_;
    int intervalo_;
    double passo_;
    bool tensores_;
    bool iniciada_ = false;
    int removidos_ = 0;
    std::vector<double> repouso_[3];
    std::vector<double> deslocamento_[3];
};

// The export of `execucao`'s frames into its folder, timed and with the tensors as its scene
// and options say.
std::unique_ptr<ExportacaoExecucao> criarExportacao(FormatoExportacao formato, const Execucao& execucao);

}  // namespace tevra
