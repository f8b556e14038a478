#pragma once
// tevra-sim driven as a user drives it: a command line, a private home, its status and text.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "support/arquivos_teste.h"

struct SaidaPrograma {
    int status;  // the exit status; -1 when a signal ended it
    std::string texto;
};

// A shell command line as it stands: its status and what it printed on standard output.
inline SaidaPrograma rodarShell(const std::string& cmd) {
    FILE* p = popen(cmd.c_str(), "r");
    std::string texto;
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) texto.append(buf, n);
    const int st = pclose(p);
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, texto};
}

// A shell command line, run with TEVRA_HOME at `home`; `redirecao` says what of standard
// error is kept (by default it joins standard output).
inline SaidaPrograma rodarComando(const std::string& comando, const std::filesystem::path& home,
                                  const std::string& redirecao = "2>&1") {
    return rodarShell("TEVRA_HOME='" + home.string() + "' " + comando + " " + redirecao);
}

// tevra-sim with these arguments (already quoted for the shell).
inline SaidaPrograma rodarSim(const std::string& argumentos, const std::filesystem::path& home,
                              const std::string& redirecao = "2>&1") {
    return rodarComando("'" TEVRA_SIM "' " + argumentos, home, redirecao);
}

inline std::string aspas(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// A small tube with a fluid and a held node: 40 steps, 5 frames.
inline const char* kCenaCurta = R"(delta_t = 0.001 n_passos = 41 pula = 10 tempo_animacao = 1
grid = 7 6
aceleracao = x = 0 y = 0 z = -9.8
velocidade = x = 0 y = 0 z = 0
eta = 5 0.5 0.5 5 qsi = 0.01 0 0 0.01 psi = 0.1 0 0 0.1
massa = 1 gama = 0.1
fluido = c = 0.1 x = 0 y = 1 z = 1
obj_deformavel = cilindro 1 2
fronteira 0 0 0 0 0 0 0 0 0 0 0 0 0
n_restricoes = 1
restricoes = { 0 0 fixo a=0 b=1000 x=0 y=0 z=0 }
)";

// The text with its first `de` replaced by `para`.
inline std::string trocado(std::string s, const std::string& de, const std::string& para) {
    const auto p = s.find(de);
    EXPECT_NE(p, std::string::npos) << de;
    return p == std::string::npos ? s : s.replace(p, de.size(), para);
}

// Every file two runs wrote, their manifests aside, byte for byte; the names of both sets.
inline void mesmosArquivos(const std::filesystem::path& a, const std::filesystem::path& b, const std::string& caso) {
    auto nomes = [](const std::filesystem::path& p) {
        std::set<std::string> s;
        for (const auto& e : std::filesystem::directory_iterator(p))
            if (e.path().filename() != "tevra-run.json") s.insert(e.path().filename().string());
        return s;
    };
    const std::set<std::string> na = nomes(a), nb = nomes(b);
    EXPECT_EQ(na, nb) << caso;
    EXPECT_FALSE(na.empty()) << caso;
    for (const std::string& n : na)
        EXPECT_TRUE(lerArquivo(a / n) == lerArquivo(b / n)) << caso << ": " << n << " differs";
}
