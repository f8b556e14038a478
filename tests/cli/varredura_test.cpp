// The sweep example end to end: its four rows through GNU parallel, one of them too coarse
// to stay finite, then the same rows one by one and as Slurm array tasks.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/tevra_sim_teste.h"
#include "support/casa_teste.h"

namespace {

namespace fs = std::filesystem;

const std::string kExemplo = TEVRA_SOURCE_DIR "/examples/sweep";

struct Linha {
    std::string nome;
    std::vector<std::string> sobreposicoes;
};

// points.tsv as the scripts read it: comments and blank lines aside, tab-separated.
std::vector<Linha> pontos() {
    std::vector<Linha> r;
    for (const std::string& l : linhas(lerArquivo(kExemplo + "/points.tsv"))) {
        if (l.empty() || l[0] == '#') continue;
        std::istringstream in(l);
        Linha p;
        std::getline(in, p.nome, '\t');
        for (std::string kv; std::getline(in, kv, '\t');) p.sobreposicoes.push_back(kv);
        r.push_back(p);
    }
    return r;
}

std::vector<std::string> campos(const std::string& linha, char sep) {
    std::vector<std::string> r;
    std::istringstream in(linha);
    for (std::string c; std::getline(in, c, sep);) r.push_back(c);
    return r;
}

// The sweep runs once for all the cases below.
class Varredura : public testing::Test {
protected:
    static void SetUpTestSuite() {
        casa_ = new CasaTemporaria(CasaTemporaria::ParaOutroProcesso{});
        saida_ = *casa_ / "runs";
        rodada_ = new SaidaPrograma(rodarComando("JOBS=2 THREADS=1 TEVRA_SIM='" TEVRA_SIM "' bash '" + kExemplo +
                                                     "/run-local.sh' '" + kExemplo + "/points.tsv' " + aspas(saida_),
                                                 **casa_));
    }
    static void TearDownTestSuite() {
        delete rodada_;
        delete casa_;
    }

    // Row name -> Exitval of GNU parallel's joblog.
    static std::map<std::string, int> joblog() {
        std::map<std::string, int> r;
        const std::vector<std::string> l = linhas(lerArquivo(saida_ / "joblog.tsv"));
        EXPECT_EQ(l.size(), 5u);
        for (std::size_t k = 1; k < l.size(); ++k) {
            // Eight fields, then the command, whose last argument is the row, quoted, tabs and all.
            std::size_t p = 0;
            for (int t = 0; t < 8; ++t) p = l[k].find('\t', p) + 1;
            const std::vector<std::string> c = campos(l[k].substr(0, p), '\t');
            const std::string comando = l[k].substr(p);
            const std::size_t abre = comando.rfind('\'', comando.size() - 2) + 1;
            r[comando.substr(abre, comando.find('\t', abre) - abre)] = std::stoi(c[6]);
        }
        return r;
    }

    // Row name -> its fields in the collected table.
    static std::map<std::string, std::vector<std::string>> tabela() {
        std::map<std::string, std::vector<std::string>> r;
        const std::vector<std::string> l = linhas(lerArquivo(saida_ / "sweep.csv"));
        EXPECT_EQ(l.size(), 5u);
        EXPECT_EQ(l[0], "name,overrides,status,exit_code,steps,frames,wall_seconds,node_steps_per_second");
        for (std::size_t k = 1; k < l.size(); ++k) {
            // The overrides field is the only one that may be quoted, and it holds no quote.
            std::string s = l[k];
            std::vector<std::string> c;
            while (!s.empty()) {
                std::size_t fim = s[0] == '"' ? s.find('"', 1) + 1 : 0;
                fim = s.find(',', fim);
                std::string campo = s.substr(0, fim);
                if (!campo.empty() && campo[0] == '"') campo = campo.substr(1, campo.size() - 2);
                c.push_back(campo);
                s = fim == std::string::npos ? "" : s.substr(fim + 1);
            }
            r[c[0]] = c;
        }
        return r;
    }

    static CasaTemporaria* casa_;
    static fs::path saida_;
    static SaidaPrograma* rodada_;
};

CasaTemporaria* Varredura::casa_ = nullptr;
fs::path Varredura::saida_;
SaidaPrograma* Varredura::rodada_ = nullptr;

TEST_F(Varredura, JoblogETabelaComUmaLinhaPorPonto) {
    const std::vector<Linha> p = pontos();
    ASSERT_EQ(p.size(), 4u);
    const auto log = joblog();
    const auto t = tabela();
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(log.at(p[k].nome), 0) << p[k].nome;
        const std::vector<std::string>& c = t.at(p[k].nome);
        ASSERT_EQ(c.size(), 8u);
        std::string sets;
        for (const std::string& s : p[k].sobreposicoes) sets += (sets.empty() ? "" : " ") + s;
        EXPECT_EQ(c[1], sets);
        EXPECT_EQ(c[2], "done") << p[k].nome;
        EXPECT_EQ(c[3], "0");
        EXPECT_EQ(c[5], "21") << "2 s of simulated time in 21 frames at every time step";
    }
    EXPECT_EQ(t.at("dt-0.5ms")[4], "4000");
    EXPECT_EQ(t.at("dt-2ms")[4], "1000");
    EXPECT_TRUE(t.count("dt-10ms"));
    EXPECT_NE(rodada_->texto.find("run-local.sh: 4 rows"), std::string::npos) << rodada_->texto;
}

TEST_F(Varredura, LinhasIguaisARodadasSozinhas) {
    const std::vector<Linha> p = pontos();
    for (int k = 0; k < 3; ++k) {
        std::string sets;
        for (const std::string& s : p[k].sobreposicoes) sets += " --set '" + s + "'";
        const fs::path so = *casa_ / "sozinha" / p[k].nome;
        ASSERT_EQ(
            rodarSim("'" + kExemplo + "/scene.anisot1'" + sets + " --quiet --threads 1 --out " + aspas(so), **casa_)
                .status,
            0);
        mesmosArquivos(saida_ / p[k].nome, so, p[k].nome);
    }
}

TEST_F(Varredura, LinhaQueDivergeSai4NoJoblogENaTabela) {
    EXPECT_EQ(joblog().at("dt-10ms"), 4);
    const std::vector<std::string> c = tabela().at("dt-10ms");
    EXPECT_EQ(c[2], "diverged");
    EXPECT_EQ(c[3], "4");
    EXPECT_EQ(rodada_->status, 1) << "run-local.sh counts the rows that did not end well";
}

TEST_F(Varredura, SbatchSemSlurmRodaALinhaDaTarefa) {
    EXPECT_EQ(rodarComando("bash -n '" + kExemplo + "/sweep.sbatch'", **casa_).status, 0);
    // The file as Slurm would start it, with what Slurm would set; OMP_NUM_THREADS from a
    // login shell must not win over the task's CPUs.
    const fs::path out = *casa_ / "slurm";
    const SaidaPrograma s = rodarComando("SLURM_SUBMIT_DIR='" TEVRA_SOURCE_DIR
                                         "' SLURM_ARRAY_TASK_ID=2 "
                                         "SLURM_CPUS_PER_TASK=1 OMP_NUM_THREADS=2 TEVRA_SIM='" TEVRA_SIM "' OUT=" +
                                             aspas(out) + " bash '" + kExemplo + "/sweep.sbatch'",
                                         **casa_);
    ASSERT_EQ(s.status, 0) << s.texto;
    mesmosArquivos(saida_ / "dt-1ms", out / "dt-1ms", "array task 2");
    const std::string m = lerArquivo(out / "dt-1ms" / "tevra-run.json");
    EXPECT_NE(m.find("\"threads_from\": \"SLURM_CPUS_PER_TASK\""), std::string::npos) << m;

    const SaidaPrograma alem =
        rodarComando("SLURM_SUBMIT_DIR='" TEVRA_SOURCE_DIR "' SLURM_ARRAY_TASK_ID=5 OUT=" + aspas(out) + " bash '" +
                         kExemplo + "/sweep.sbatch'",
                     **casa_);
    EXPECT_EQ(alem.status, 2);
    EXPECT_NE(alem.texto.find("has no row 5"), std::string::npos) << alem.texto;
}

}  // namespace
