#pragma once

#include <QObject>

#include <atomic>
#include <filesystem>
#include <memory>

#include "view/quadros/ingestao_quadros.h"

class ContextoGL;

// Brings the frames of a showing into the animation window's series and gives each its
// display list: the recorded files, read ahead by workers, or a run's frames as it writes
// them. The frames are taken on the GUI thread in short slices, so the window keeps
// answering; with OpenGL, nothing is taken before the window's context exists.
class CargaQuadros : public QObject {
    Q_OBJECT
public:
    // `gl` null: a window without OpenGL, whose frames get no lists.
    CargaQuadros(tevra::SerieQuadros& serie, ContextoGL* gl, QObject* pai = nullptr);
    ~CargaQuadros() override;  // the workers stop first

    // The series' first `arquivos` frame files in `pasta`; with none, it is complete at once.
    void carregar(const std::filesystem::path& pasta, int arquivos);
    // From now on the frames come one by one from a run of the series' grid.
    void aoVivo();
    // The run has written frame n into `arquivo`; ignored unless live.
    void gravado(int n, const std::filesystem::path& arquivo);
    // Nothing more is taken.
    void parar();

    // The context goes: the workers sharing it stop, and their load with them.
    void contextoPerdido();
    // The context is there: a load that waited for it starts, live frames that waited are taken.
    void contextoCriado();

    // A load of recorded files is under way or waits for the context.
    bool carregando() const { return (fonte_ && !vivo_) || pendente_; }
    bool vivo() const { return vivo_ != nullptr; }

signals:
    // Frames were taken into the series.
    void avancou();
    // Every recorded frame of the showing is in.
    void concluida();

private:
    void iniciarLeitores();
    void agendar();
    void processar();
    void concluir();

    tevra::SerieQuadros& serie_;
    ContextoGL* gl_;
    std::filesystem::path pasta_;
    int arquivos_ = 0;
    std::unique_ptr<tevra::FonteQuadros> fonte_;
    tevra::FonteAoVivo* vivo_ = nullptr;  // fonte_, during a live run
    bool pendente_ = false;               // a load waits for the context
    bool agendada_ = false;
    // The workers' wake-up: one message on its way at a time.
    std::shared_ptr<std::atomic<bool>> avisoPendente_;
};
