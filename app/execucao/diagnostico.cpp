#include "app/execucao/diagnostico.h"

#include <charconv>
#include <cmath>

#include "model/linhas.h"

namespace tevra {

Diagnosticador::Diagnosticador(const ObjDeformavel& o)
    : grade_(o.grade()),
      acel_(o.acel),
      massaNo_(o.densidade0 * o.area0 / o.numNos()),
      area0_(o.area0),
      // The area is the model's own sum (the four corners of each cell, a quarter of the
      // spacing product each), in its order, but of the positions the frame holds: the
      // engine's `area` belongs to the geometry at the start of the last step.
      fator_(o.delta[0] * o.delta[1] * 0.25) {}

void Diagnosticador::guardarRepouso(const VistaQuadro& q) {
    const std::size_t gj = static_cast<std::size_t>(grade_.gj);
    for (int c = 0; c < 3; ++c) repouso_[c].assign(q.pos[c], q.pos[c] + q.nos);
    for (auto& linha : raizLinha_) linha.assign(gj, 0.0);
    for (auto& linha : termos_) linha.assign(gj, 0.0);
}

Diagnostico Diagnosticador::medir(const ObjDeformavel& o, int quadro) {
    VistaQuadro q = vistaDoObjeto(o, quadro, false);
    for (int c = 0; c < 3; ++c) q.vel[c] = o.vel[c];
    return medir(q);
}

Diagnostico Diagnosticador::medir(const VistaQuadro& q) {
    if (repouso_[0].empty()) guardarRepouso(q);
    const int gi = grade_.gi;
    const int gj = grade_.gj;
    const int n = q.nos;

    double area = 0.0;
    double v2 = 0.0;
    double trabalho = 0.0;  // sum of g . (x - x0)
    double soma[3] = {0.0, 0.0, 0.0};
    double maiorV2 = 0.0;
    double maiorD2 = 0.0;
    for (int i = 0; i < gi; ++i) {
        std::vector<double>& r1 = raizLinha_[i % 2];
        raizesDaLinha(grade_, q.pos, i, r1.data());
        // The per-node terms first, free of one another (this loop vectorises), then the
        // running sums in node order.
        const double* v[3] = {q.vel[0] + i * gj, q.vel[1] + i * gj, q.vel[2] + i * gj};
        const double* p[3] = {q.pos[0] + i * gj, q.pos[1] + i * gj, q.pos[2] + i * gj};
        const double* p0[3] = {repouso_[0].data() + i * gj, repouso_[1].data() + i * gj, repouso_[2].data() + i * gj};
        double* vv = termos_[0].data();
        double* dd = termos_[1].data();
        double* w[3] = {termos_[2].data(), termos_[3].data(), termos_[4].data()};
        for (int j = 0; j < gj; ++j) {
            const double d0 = p[0][j] - p0[0][j], d1 = p[1][j] - p0[1][j], d2 = p[2][j] - p0[2][j];
            vv[j] = v[0][j] * v[0][j] + v[1][j] * v[1][j] + v[2][j] * v[2][j];
            dd[j] = d0 * d0 + d1 * d1 + d2 * d2;
            w[0][j] = acel_[0] * d0;
            w[1][j] = acel_[1] * d1;
            w[2][j] = acel_[2] * d2;
        }
        for (int j = 0; j < gj; ++j) {
            trabalho = trabalho + w[0][j] + w[1][j] + w[2][j];
            for (int c = 0; c < 3; ++c) soma[c] = soma[c] + p[c][j];
            v2 = v2 + vv[j];
            if (vv[j] > maiorV2) maiorV2 = vv[j];
            if (dd[j] > maiorD2) maiorD2 = dd[j];
        }
        if (i == 0) continue;
        const std::vector<double>& r0 = raizLinha_[(i + 1) % 2];
        for (int j = 0; j < gj - 1; ++j) area = area + (r0[j] + r1[j] + r0[j + 1] + r1[j + 1]) * fator_;
    }

    Diagnostico d;
    d.quadro = q.n;
    d.tempo = q.tempo;
    d.cinetica = 0.5 * massaNo_ * v2;
    d.potencial = -massaNo_ * trabalho;
    d.total = d.cinetica + d.potencial;
    d.razaoArea = area / area0_;
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
