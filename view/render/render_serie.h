#pragma once

#include <atomic>
#include <functional>

#include "view/render/descoberta_serie.h"
#include "view/render/enquadramento.h"
#include "view/render/saida_imagens.h"

namespace tevra {

// The box around every node of every complete frame of the series (read on worker threads).
Caixa caixaDaSerie(const SerieGravada& serie, const std::function<void(int feitos, int total)>& progresso = {});

// Reads frames 1 .. serie.quadros (ahead, on worker threads) and hands each to `saida`: a
// complete frame is drawn, one that is missing, incomplete or unreadable is reported as
// such. Stops early when a picture file cannot be written, or after the current frame once
// `parar` is set (from any thread, or a signal handler). `progresso` after every frame.
// Returns the number of frames handed over.
int renderizarSerie(const SerieGravada& serie, SaidaImagens& saida,
                    const std::function<void(int feitos, int total)>& progresso = {},
                    const std::atomic<bool>* parar = nullptr);

}  // namespace tevra
