// A run's exports: the engine's doubles in every .vtu, the .pvd's simulated times, the OBJ
// sequence, and what an earlier export or a failing write leaves.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>

#include "app/cena/configuracao.h"
#include "app/execucao/execucao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"
#include "support/vtk_teste.h"
#include "view/exportacao/exportacao_execucao.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

// The engine's arrays at every frame, copied as the frame holds them.
class Gravador : public SaidaQuadro {
public:
    using Campo = std::vector<std::vector<double>>;  // [component][node]
    std::vector<std::map<std::string, Campo>> quadros;
    std::function<void(int n)> aoQuadro;

    Escrita quadro(const ObjDeformavel& o, int n, const fs::path&) override {
        auto copia = [&o](double* const* c, int comp) {
            if (!c[0]) return Campo{};  // an array the run does not hold (the tensors without dumps)
            Campo r(comp);
            for (int k = 0; k < comp; ++k) r[k].assign(c[k], c[k] + o.numNos());
            return r;
        };
        quadros.push_back({{"Points", copia(o.pos, 3)},
                           {"normal", copia(o.nos.normal, 3)},
                           {"velocidade", copia(o.vel, 3)},
                           {"forcaInterna", copia(o.forcaInterna, 3)},
                           {"forcaExterna", copia(o.forcaExterna, 3)},
                           {"G", copia(o.nos.G, 4)},
                           {"B", copia(o.nos.B, 4)},
                           {"S", copia(o.nos.S, 4)}});
        if (aoQuadro) aoQuadro(n);
        return std::nullopt;
    }
};

bool mesmosBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// As the frame and dump files print a double.
std::string seisDigitos(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

// The three numbers of every node in a frame file (`qual` 0: position, 1: normal).
std::vector<std::vector<std::string>> corpoQuadro(const fs::path& arquivo, int n, int nos, int qual) {
    const std::vector<std::string> ls = linhas(lerArquivo(arquivo));
    const int cabecalho = n == 1 ? 3 : 2;
    std::vector<std::vector<std::string>> r;
    for (int idx = 0; idx < nos; ++idx) {
        std::istringstream l(ls.at(cabecalho + 2 * idx + qual));
        std::string rotulo, a, b, c;
        l >> rotulo >> a >> b >> c;
        r.push_back({a, b, c});
    }
    return r;
}

// The three numbers of every node in the section `titulo` of a data dump.
std::vector<std::vector<std::string>> secaoDump(const fs::path& arquivo, const std::string& titulo, int nos) {
    const std::vector<std::string> ls = linhas(lerArquivo(arquivo));
    std::size_t k = 0;
    while (k < ls.size() && ls[k] != titulo) ++k;
    std::vector<std::vector<std::string>> r;
    for (int idx = 0; idx < nos; ++idx) {
        std::istringstream l(ls.at(k + 1 + idx));
        std::string rotulo, a, b, c;
        l >> rotulo >> a >> b >> c;
        r.push_back({a, b, c});
    }
    return r;
}

Cena folha(int solver) {
    Cena c = comPesos(cenaFolha(5, 4, 2.0, 1.5, 0.4, solver), 5.0, 0.01, 0.05);
    c.acel = {0.0, 0.0, -9.8};
    c.velInicial = {0.1, 0.0, 0.2};
    c.gama = 0.1;
    c.passo = 0.001;
    c.quadros = 31;
    c.intervalo = 10;
    c.restricoes = {fixa(0, 0, 0, 0, 0)};
    return c;
}

Cena tubo(int solver) {
    Cena c = folha(solver);
    c.objeto = ObjetoCilindro;
    c.grade_i = 6;
    c.raio = 0.7;
    c.comprimento = 2.0;
    c.fluidoAtivo = true;
    c.fluido = {0.0, 1.0, 0.5};
    c.fluido_cte = 0.2;
    return c;
}

// Hands the frames on to an output the test keeps.
class Repasse : public SaidaQuadro {
public:
    explicit Repasse(SaidaQuadro& s) : s_(s) {}
    Escrita quadro(const ObjDeformavel& o, int n, const fs::path& p) override { return s_.quadro(o, n, p); }

private:
    SaidaQuadro& s_;
};

// A run of `c` into `pasta` with its export, then `depois` (the test's recorder, after it).
ResultadoExecucao rodar(const Cena& c, const fs::path& pasta, bool dados, FormatoExportacao f,
                        SaidaQuadro* depois = nullptr,
                        const std::function<void(Execucao&, ExportacaoExecucao&)>& ajustar = {}) {
    Execucao e(c, OpcoesExecucao{pasta, dados, 0});
    std::unique_ptr<ExportacaoExecucao> x = criarExportacao(f, e);
    if (ajustar) ajustar(e, *x);
    e.adicionarSaida(std::move(x));
    if (depois) e.adicionarSaida(std::make_unique<Repasse>(*depois));
    return e.executar();
}

TEST(ExportacaoExecucao, CadaVtuTemOsDoublesDoMotorEOQueOsArquivosDeTextoImprimem) {
    struct Caso {
        Cena cena;
        bool dados;
        long long celulas;
        const char* nome;
    };
    const Caso casos[] = {
        {folha(SolverEulerSemiExplicito), true, 4 * 3, "sheet, Euler, data"},
        {folha(SolverVerlet), false, 4 * 3, "sheet, Verlet"},
        {tubo(SolverRungeKutta), true, 5 * 3 + 3, "tube, Runge-Kutta, data"},
        {tubo(SolverEulerSemiExplicito), false, 5 * 3 + 3, "tube, Euler"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        PastaTemporaria pasta;
        Gravador g;
        const ResultadoExecucao r = rodar(caso.cena, *pasta, caso.dados, FormatoExportacao::Vtu, &g);
        ASSERT_EQ(r.falhas, 0) << textoFalhas(r);
        ASSERT_EQ(g.quadros.size(), 4u);
        const int nos = caso.cena.grade_i * caso.cena.grade_j;
        bool forcaInternaNaoNula = false;
        std::vector<fs::path> vtus;
        for (int n = 1; n <= 4; ++n) vtus.push_back(caminhoExportacao(*pasta, n, FormatoExportacao::Vtu));
        const std::vector<MalhaLida> lidas = lerComVtk("vtu", vtus);
        for (int n = 1; n <= 4; ++n) {
            SCOPED_TRACE("frame " + std::to_string(n));
            const MalhaLida& m = lidas[n - 1];
            ASSERT_TRUE(m.ok) << m.texto;
            EXPECT_EQ(m.pontos, nos);
            EXPECT_EQ(m.celulas, caso.celulas);
            auto motor = g.quadros[n - 1];
            // Displacement from the positions of frame 1, as the engine's doubles subtract.
            Gravador::Campo d(3, std::vector<double>(nos));
            for (int c = 0; c < 3; ++c)
                for (int idx = 0; idx < nos; ++idx)
                    d[c][idx] = motor["Points"][c][idx] - g.quadros[0]["Points"][c][idx];
            motor["deslocamento"] = d;
            std::vector<std::string> nomes = {"Points",       "normal",       "velocidade",
                                              "deslocamento", "forcaInterna", "forcaExterna"};
            for (const char* t : {"G", "B", "S"}) {
                EXPECT_EQ(m.arrays.count(t), caso.dados ? 1u : 0u) << t << ": only with the data dumps";
                if (caso.dados) nomes.push_back(t);
            }
            for (const std::string& nome : nomes) {
                ASSERT_TRUE(m.arrays.count(nome)) << nome;
                const ArrayLido& a = m.arrays.at(nome);
                const Gravador::Campo& esperado = motor.at(nome);
                ASSERT_EQ(a.componentes, static_cast<int>(esperado.size())) << nome;
                ASSERT_EQ(a.tuplas.size(), static_cast<std::size_t>(nos)) << nome;
                for (int idx = 0; idx < nos; ++idx)
                    for (int c = 0; c < a.componentes; ++c)
                        ASSERT_TRUE(mesmosBits(a.tuplas[idx][c], esperado[c][idx]))
                            << nome << " node " << idx << " component " << c << ": " << a.tuplas[idx][c]
                            << " != " << esperado[c][idx];
            }
            // The frame file's six digits are the .vtu's values as the frame writer prints them.
            const fs::path quadro = *pasta / ("pontos000" + std::to_string(n) + ".txt");
            for (auto [nome, qual] : {std::pair{"Points", 0}, std::pair{"normal", 1}}) {
                const auto texto = corpoQuadro(quadro, n, nos, qual);
                for (int idx = 0; idx < nos; ++idx)
                    for (int c = 0; c < 3; ++c)
                        EXPECT_EQ(seisDigitos(m.arrays.at(nome).tuplas[idx][c]), texto[idx][c]) << nome << idx;
            }
            // The forces are those the data dump prints at the same frame.
            if (caso.dados) {
                const fs::path dump = *pasta / ((n == 1 ? "dados000" : "dedos000") + std::to_string(n) + ".txt");
                for (auto [nome, titulo] :
                     {std::pair{"forcaExterna", "Forca Externa:"}, std::pair{"forcaInterna", "Forca Interna:"}}) {
                    const auto texto = secaoDump(dump, titulo, nos);
                    for (int idx = 0; idx < nos; ++idx)
                        for (int c = 0; c < 3; ++c)
                            EXPECT_EQ(seisDigitos(m.arrays.at(nome).tuplas[idx][c]), texto[idx][c]) << nome << idx;
                }
            }
            for (const auto& t : m.arrays.at("forcaInterna").tuplas)
                for (double v : t) forcaInternaNaoNula = forcaInternaNaoNula || v != 0.0;
        }
        // The semi-explicit Euler step is the one that fills the internal force.
        EXPECT_EQ(forcaInternaNaoNula, caso.cena.solver == SolverEulerSemiExplicito);

        // The .pvd: the four frames at their simulated times, (n - 1) * intervalo * passo.
        const MalhaLida pvd = lerComVtk("pvd", caminhoPvd(*pasta));
        ASSERT_TRUE(pvd.ok) << pvd.texto;
        ASSERT_EQ(pvd.dataSets.size(), 4u);
        for (int n = 1; n <= 4; ++n) {
            const auto& d = pvd.dataSets[n - 1];
            EXPECT_EQ(d.arquivo, caminhoExportacao(*pasta, n, FormatoExportacao::Vtu).filename().string());
            EXPECT_EQ(d.pontos, nos);
            EXPECT_TRUE(mesmosBits(d.tempo, (n - 1) * 10 * 0.001)) << d.tempo;
            if (n > 1) {
                EXPECT_GT(d.tempo, pvd.dataSets[n - 2].tempo);
            }
        }
    }
}

TEST(ExportacaoExecucao, PvdListaOsQuadrosJaEscritosAteNumaExecucaoCancelada) {
    PastaTemporaria pasta;
    Cena c = folha(SolverEulerSemiExplicito);
    c.quadros = 1001;
    c.intervalo = 50;
    Gravador g;
    std::vector<int> listados;
    Execucao* execucao = nullptr;
    g.aoQuadro = [&](int n) {
        // Read as the frame's outputs end: this recorder comes after the export.
        const std::string pvd = lerArquivo(caminhoPvd(*pasta));
        int k = 0;
        for (std::size_t p = 0; (p = pvd.find("<DataSet ", p)) != std::string::npos; ++p) ++k;
        listados.push_back(k);
        EXPECT_NE(pvd.find("</VTKFile>"), std::string::npos) << "complete at frame " << n;
        if (n == 6) execucao->cancelar();
    };
    const ResultadoExecucao r =
        rodar(c, *pasta, false, FormatoExportacao::Vtu, &g, [&](Execucao& e, ExportacaoExecucao& x) {
            execucao = &e;
            x.serie().intervaloPvd = std::chrono::milliseconds(0);
        });
    EXPECT_TRUE(r.cancelado);
    EXPECT_EQ(listados, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    const MalhaLida pvd = lerComVtk("pvd", caminhoPvd(*pasta));
    ASSERT_TRUE(pvd.ok) << pvd.texto;
    EXPECT_EQ(pvd.dataSets.size(), 6u);
    EXPECT_FALSE(fs::exists(caminhoExportacao(*pasta, 7, FormatoExportacao::Vtu)));
}

TEST(ExportacaoExecucao, PvdEscritoComPoucaFrequenciaAindaListaTudoNoFim) {
    PastaTemporaria pasta;
    Cena c = folha(SolverEulerSemiExplicito);
    c.quadros = 201;
    c.intervalo = 5;
    const ResultadoExecucao r =
        rodar(c, *pasta, false, FormatoExportacao::Vtu, nullptr,
              [](Execucao&, ExportacaoExecucao& x) { x.serie().intervaloPvd = std::chrono::hours(1); });
    ASSERT_EQ(r.falhas, 0);
    const MalhaLida pvd = lerComVtk("pvd", caminhoPvd(*pasta));
    ASSERT_TRUE(pvd.ok) << pvd.texto;
    EXPECT_EQ(pvd.dataSets.size(), 41u);
}

TEST(ExportacaoExecucao, ObjDeCadaQuadroComFacesNoSentidoDaNormal) {
    PastaTemporaria pasta;
    Gravador g;
    const ResultadoExecucao r = rodar(tubo(SolverRungeKutta), *pasta, false, FormatoExportacao::Obj, &g);
    ASSERT_EQ(r.falhas, 0);
    EXPECT_FALSE(fs::exists(caminhoPvd(*pasta)));
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const std::string texto = lerArquivo(caminhoExportacao(*pasta, n, FormatoExportacao::Obj));
        std::vector<std::array<double, 3>> v, vn;
        int faces = 0;
        for (const std::string& linha : linhas(texto)) {
            std::istringstream l(linha);
            std::string chave;
            l >> chave;
            if (chave == "v" || chave == "vn") {
                std::array<double, 3> p;
                for (double& x : p) {
                    std::string s;
                    l >> s;
                    x = std::strtod(s.c_str(), nullptr);
                }
                (chave == "v" ? v : vn).push_back(p);
            }
            if (chave != "f") continue;
            ++faces;
            // Newell's normal of the face against the stored normals of its corners.
            std::vector<int> ids;
            for (std::string canto; l >> canto;) ids.push_back(std::stoi(canto) - 1);
            ASSERT_EQ(ids.size(), 4u);
            double nf[3] = {0, 0, 0}, nv[3] = {0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                const auto& a = v[ids[k]];
                const auto& b = v[ids[(k + 1) % 4]];
                nf[0] += (a[1] - b[1]) * (a[2] + b[2]);
                nf[1] += (a[2] - b[2]) * (a[0] + b[0]);
                nf[2] += (a[0] - b[0]) * (a[1] + b[1]);
                for (int c = 0; c < 3; ++c) nv[c] += vn[ids[k]][c];
            }
            EXPECT_GT(nf[0] * nv[0] + nf[1] * nv[1] + nf[2] * nv[2], 0.0) << linha;
        }
        EXPECT_EQ(faces, 5 * 3 + 3);
        ASSERT_EQ(v.size(), 24u);
        for (int idx = 0; idx < 24; ++idx)
            for (int c = 0; c < 3; ++c) {
                EXPECT_TRUE(mesmosBits(v[idx][c], g.quadros[n - 1]["Points"][c][idx])) << idx;
                EXPECT_TRUE(mesmosBits(vn[idx][c], g.quadros[n - 1]["normal"][c][idx])) << idx;
            }
    }
}

TEST(ExportacaoExecucao, ArquivosDeUmaExportacaoAnteriorSaemOsOutrosFicam) {
    PastaTemporaria pasta;
    for (const char* nome : {"superficie0099.vtu", "superficie.pvd", "superficie0001.obj", "superficie12345.vtu",
                             "outra0001.vtu", "superficie0002.vtu.bak"})
        escreverArquivo(pasta / nome, "velho");
    const ResultadoExecucao r = rodar(folha(SolverEulerSemiExplicito), *pasta, false, FormatoExportacao::Vtu);
    ASSERT_EQ(r.falhas, 0);
    EXPECT_FALSE(fs::exists(pasta / "superficie0099.vtu"));
    EXPECT_EQ(lerComVtk("pvd", caminhoPvd(*pasta)).dataSets.size(), 4u);
    for (const char* nome : {"superficie0001.obj", "superficie12345.vtu", "outra0001.vtu", "superficie0002.vtu.bak"})
        EXPECT_EQ(lerArquivo(pasta / nome), "velho") << nome;
}

TEST(ExportacaoExecucao, QuadroQueNaoSeEscreveContaComoFalhaEFicaForaDoPvd) {
    PastaTemporaria pasta;
    // A folder under frame 2's name: the finished file cannot take its place.
    fs::create_directories(pasta / "superficie0002.vtu");
    const ResultadoExecucao r = rodar(folha(SolverEulerSemiExplicito), *pasta, false, FormatoExportacao::Vtu);
    EXPECT_EQ(r.falhas, 1);
    ASSERT_TRUE(r.primeiraFalha);
    EXPECT_EQ(r.primeiraFalha->arquivo, pasta / "superficie0002.vtu");
    // The run stops at the first file it cannot write; frame 2's own file was handed to
    // the writer before the export of it failed.
    EXPECT_EQ(r.quadros, 2);
    for (const auto& e : fs::directory_iterator(*pasta))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path() << " left behind";
    const MalhaLida pvd = lerComVtk("pvd", caminhoPvd(*pasta));
    ASSERT_TRUE(pvd.ok) << pvd.texto;
    std::vector<std::string> listados;
    for (const auto& d : pvd.dataSets) listados.push_back(d.arquivo);
    EXPECT_EQ(listados, (std::vector<std::string>{"superficie0001.vtu"}));
}

}  // namespace
