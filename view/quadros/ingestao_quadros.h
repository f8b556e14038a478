#pragma once

#include <chrono>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "view/quadros/carregador_serie.h"
#include "view/quadros/serie_quadros.h"

namespace tevra {

// Where the frames of one showing come from, in order 1, 2, 3 ...
class FonteQuadros {
public:
    using Quadro = CarregadorSerie::Quadro;

    virtual ~FonteQuadros() = default;
    // The next frame, when one is ready.
    virtual std::optional<Quadro> pegar() = 0;
    // The node buffer of a frame taken, back for the frames to come.
    virtual void devolver(NosSuperficie&& nos) = 0;
    // No frame will come any more.
    virtual bool acabou() = 0;
};

// The recorded series, read ahead by the workers of a CarregadorSerie.
class FonteSerie : public FonteQuadros {
public:
    explicit FonteSerie(std::unique_ptr<CarregadorSerie> carregador) : carregador_(std::move(carregador)) {}
    std::optional<Quadro> pegar() override { return carregador_->pegar(); }
    void devolver(NosSuperficie&& nos) override { carregador_->devolver(std::move(nos)); }
    bool acabou() override { return carregador_->acabou(); }

private:
    std::unique_ptr<CarregadorSerie> carregador_;
};

// A run recording as it goes: each frame is read, on the thread that takes it, from the
// file the run says it wrote. It never ends by itself.
class FonteAoVivo : public FonteQuadros {
public:
    FonteAoVivo(int gradeI, int gradeJ) : gradeI_(gradeI), gradeJ_(gradeJ) {}

    // The run has written frame n into `arquivo`.
    void gravado(int n, std::filesystem::path arquivo) { pendentes_.emplace_back(n, std::move(arquivo)); }
    bool temPendentes() const { return !pendentes_.empty(); }

    std::optional<Quadro> pegar() override;
    void devolver(NosSuperficie&& nos) override { lido_ = std::move(nos); }
    bool acabou() override { return false; }

private:
    int gradeI_;
    int gradeJ_;
    std::deque<std::pair<int, std::filesystem::path>> pendentes_;
    NosSuperficie lido_;
};

// Takes the frames `fonte` has ready into `serie`, for at most `fatia` (and at least one
// frame), so that the caller's thread gets back to its other work in time. True when time
// ran out before the source ran dry.
bool ingerirQuadros(FonteQuadros& fonte, SerieQuadros& serie, std::chrono::milliseconds fatia);

}  // namespace tevra
