#include "view/render/gravador_png.h"

#include <algorithm>

#include "view/imagem/png.h"

namespace tevra {

GravadorPng::GravadorPng(int trabalhadores) {
    const int n = std::max(trabalhadores, 1);
    limite_ = static_cast<std::size_t>(n) * 2;
    for (int k = 0; k < n; ++k) trabalhadores_.emplace_back([this] { trabalhar(); });
}

GravadorPng::~GravadorPng() {
    {
        std::lock_guard trava(mutex_);
        parar_ = true;
    }
    mudou_.notify_all();
    for (auto& t : trabalhadores_) t.join();
}

bool GravadorPng::enviar(std::filesystem::path arquivo, Imagem imagem) {
    std::unique_lock trava(mutex_);
    mudou_.wait(trava, [this] { return falha_ || fila_.size() < limite_; });
    if (falha_) return false;
    fila_.emplace_back(std::move(arquivo), std::move(imagem));
    mudou_.notify_all();
    return true;
}

Escrita GravadorPng::concluir() {
    std::unique_lock trava(mutex_);
    mudou_.wait(trava, [this] { return (fila_.empty() || falha_) && ocupados_ == 0; });
    return falha_;
}

Escrita GravadorPng::falha() {
    std::lock_guard trava(mutex_);
    return falha_;
}

int GravadorPng::gravados() {
    std::lock_guard trava(mutex_);
    return gravados_;
}

void GravadorPng::trabalhar() {
    for (;;) {
        std::pair<std::filesystem::path, Imagem> item;
        {
            std::unique_lock trava(mutex_);
            mudou_.wait(trava, [this] { return parar_ || (!fila_.empty() && !falha_); });
            if (fila_.empty() || falha_) return;  // stopping, with nothing (more) to write
            item = std::move(fila_.front());
            fila_.pop_front();
            ++ocupados_;
        }
        mudou_.notify_all();
        Escrita f = gravarPng(item.first, item.second);
        {
            std::lock_guard trava(mutex_);
            --ocupados_;
            if (f && !falha_) falha_ = std::move(f);
            if (!f) ++gravados_;
        }
        mudou_.notify_all();
    }
}

}  // namespace tevra
