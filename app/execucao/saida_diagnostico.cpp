#include "app/execucao/saida_diagnostico.h"

#include "base/nomes_arquivos.h"

namespace tevra {

SaidaDiagnostico::SaidaDiagnostico(std::filesystem::path pasta, const ObjDeformavel& obj)
    : arquivo_(std::move(pasta) / kArquivoDiagnostico), diagnosticador_(obj) {}

Escrita SaidaDiagnostico::quadro(const VistaQuadro& q) {
    if (falhou_) return std::nullopt;
    const std::string linha = linhaDiagnostico(diagnosticador_.medir(q));
    Escrita f = iniciado_ ? csv_.acrescentar(linha) : csv_.iniciar(arquivo_, cabecalhoDiagnostico() + linha);
    iniciado_ = true;
    if (f) {
        falhou_ = true;
        csv_.fechar();
    }
    return f;
}

Escrita SaidaDiagnostico::concluir() {
    csv_.fechar();
    return std::nullopt;
}

}  // namespace tevra
