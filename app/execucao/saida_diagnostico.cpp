#include "app/execucao/saida_diagnostico.h"

#include "base/nomes_arquivos.h"

namespace tevra {

SaidaDiagnostico::SaidaDiagnostico(std::filesystem::path pasta) : arquivo_(std::move(pasta) / kArquivoDiagnostico) {}

Escrita SaidaDiagnostico::quadro(const ObjDeformavel& obj, int n, const std::filesystem::path&) {
    if (falhou_) return std::nullopt;
    const std::string linha = linhaDiagnostico(diagnosticador_.medir(obj, n));
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
