#include "app/execucao/diagnostico.h"

#include <charconv>
#include <cmath>

namespace tevra {

namespace {

// sqrt(det G) of node (i, j) for the frame's positions, as the model computes it.
inline double raizDetG(const ObjDeformavel& o, int i, int j) {
    const Vetor3 t[2] = {o.derivada(i, j, 0), o.derivada(i, j, 1)};
    double g[4];
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) g[kl(k, l)] = t[k][0] * t[l][0] + t[k][1] * t[l][1] + t[k][2] * t[l][2];
    return std::sqrt(g[0] * g[3] - g[2] * g[1]);
}

}  // namespace

void Diagnosticador::guardarRepouso(const ObjDeformavel& o) {
    const int n = o.numNos();
    for (int c = 0; c < 3; ++c) repouso_[c].assign(o.pos[c], o.pos[c] + n);
    for (auto& linha : raizLinha_) linha.assign(static_cast<std::size_t>(o.grade_j), 0.0);
}

Diagnostico Diagnosticador::medir(const ObjDeformavel& o, int quadro) {
    if (repouso_[0].empty()) guardarRepouso(o);
    const int gi = o.grade_i;
    const int gj = o.grade_j;
    const int n = o.numNos();
    const double massaNo = o.densidade0 * o.area0 / n;
    // The area is the model's own sum (the four corners of each cell, a quarter of the
    // spacing product each), in its order, but of the positions the frame holds: the
    // engine's `area` belongs to the geometry at the start of the last step.
    const double fator = o.delta[0] * o.delta[1] * 0.25;

    double area = 0.0;
    double v2 = 0.0;
    double trabalho = 0.0;  // sum of g . (x - x0)
    double soma[3] = {0.0, 0.0, 0.0};
    double maiorV2 = 0.0;
    double maiorD2 = 0.0;
    for (int i = 0; i < gi; ++i) {
        std::vector<double>& r1 = raizLinha_[i % 2];
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            double vv = 0.0;
            double dd = 0.0;
            for (int c = 0; c < 3; ++c) {
                const double v = o.vel[c][idx];
                const double d = o.pos[c][idx] - repouso_[c][idx];
                vv = vv + v * v;
                dd = dd + d * d;
                trabalho = trabalho + o.acel[c] * d;
                soma[c] = soma[c] + o.pos[c][idx];
            }
            v2 = v2 + vv;
            if (vv > maiorV2) maiorV2 = vv;
            if (dd > maiorD2) maiorD2 = dd;
            r1[j] = raizDetG(o, i, j);
        }
        if (i == 0) continue;
        const std::vector<double>& r0 = raizLinha_[(i + 1) % 2];
        for (int j = 0; j < gj - 1; ++j) area = area + (r0[j] + r1[j] + r0[j + 1] + r1[j + 1]) * fator;
    }

    Diagnostico d;
    d.quadro = quadro;
    d.tempo = (o.passoAtual - 1) * o.passo;
    d.cinetica = 0.5 * massaNo * v2;
    d.potencial = -massaNo * trabalho;
    d.total = d.cinetica + d.potencial;
    d.razaoArea = area / o.area0;
    d.maiorVelocidade = std::sqrt(maiorV2);
    d.maiorDeslocamento = std::sqrt(maiorD2);
    for (int c = 0; c < 3; ++c) d.centro[c] = soma[c] / n;
    return d;
}

namespace {

void real(std::string& s, double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.push_back(',');
    s.append(buf, r.ptr);
}

}  // namespace

std::string cabecalhoDiagnostico() {
    return "frame,time,kinetic_energy,potential_energy,total_energy,area_ratio,max_speed,max_displacement,"
           "centre_x,centre_y,centre_z\n";
}

std::string linhaDiagnostico(const Diagnostico& d) {
    std::string s = std::to_string(d.quadro);
    for (double v : {d.tempo, d.cinetica, d.potencial, d.total, d.razaoArea, d.maiorVelocidade, d.maiorDeslocamento,
                     d.centro.x, d.centro.y, d.centro.z})
        real(s, v);
    s.push_back('\n');
    return s;
}

}  // namespace tevra
