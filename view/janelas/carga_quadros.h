#pragma once

#include <QObject>

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "view/quadros/ingestao_quadros.h"

// Brings the frames of a showing into the animation window's series: the recorded files,
// read ahead by workers, or a run's frames as it writes them; and, for a series larger than
// its memory, the frames playback is coming to, read again from disk. The frames are taken
// on the GUI thread in short slices, so the window keeps answering. Nothing here waits for
// a reader: dropping a load leaves its workers to end on their own.
class CargaQuadros : public QObject {
    Q_OBJECT
public:
    explicit CargaQuadros(tevra::SerieQuadros& serie, QObject* pai = nullptr);
    ~CargaQuadros() override;

    // The series' first `arquivos` frame files in `pasta`; with none, it is complete at once.
    void carregar(const std::filesystem::path& pasta, int arquivos, int trabalhadores, int adiantados);
    // From now on the frames come one by one from a run of the series' grid.
    void aoVivo();
    // The run has written frame n into `arquivo`; ignored unless live.
    void gravado(int n, const std::filesystem::path& arquivo);
    // Pictures to read again, in this order (a request the reading under way already covers
    // is left to it); each is kept in the series as it comes, or marked unavailable.
    void pedir(const std::vector<int>& imagens);
    // Nothing more is taken.
    void parar();
    // Frames are read with `leitor` instead of lerQuadro (tests).
    void usarLeitor(tevra::LeitorQuadro leitor) { leitor_ = std::move(leitor); }

    // A load of recorded files is under way.
    bool carregando() const { return fonte_ && !vivo_; }
    bool vivo() const { return vivo_ != nullptr; }
    // Pictures are being read again.
    bool relendo() const { return releitura_ != nullptr; }

signals:
    // Frames were taken into the series.
    void avancou();
    // Every recorded frame of the showing is in.
    void concluida();

private:
    std::function<void()> avisoDosTrabalhadores();
    void agendar();
    void processar();
    void concluir();
    std::filesystem::path arquivoDoQuadro(int n) const;

    tevra::SerieQuadros& serie_;
    std::filesystem::path pasta_;
    std::unique_ptr<tevra::FonteQuadros> fonte_;
    tevra::FonteAoVivo* vivo_ = nullptr;  // fonte_, during a live run
    std::map<int, std::filesystem::path> arquivosVivos_;
    std::unique_ptr<tevra::CarregadorSerie> releitura_;
    tevra::LeitorQuadro leitor_;
    bool agendada_ = false;
    // The workers' wake-up: one message on its way at a time.
    std::shared_ptr<std::atomic<bool>> avisoPendente_;
};
