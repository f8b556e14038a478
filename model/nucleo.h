#pragma once
// Row kernels of the surface model: what one grid row needs and leaves, as plain pointers.
// A caller hands each kernel the rows it reads and writes, either rows of the object's
// arrays or rolling buffers a sweep keeps per thread, so that one piece of code fills both.
// Kernel files are compiled once per variant (scalar, SSE2, AVX2); this header is included
// by all of them and therefore holds no function bodies.
//
// Index conventions of the rows: a symmetric 2 x 2 quantity (G0, dG, Ginv, H0, B0, B) keeps
// its three distinct entries, u = k + l (00, 01, 11); a full one (alfa, beta, S, ...) keeps
// four, a = 2k + l; the Christoffel symbols [m][k][l] keep six, 3m + (k + l), the [m][1][0]
// entry being the [m][0][1] one.

namespace tevra::nucleo {

// The grid, its spacing and what a step fixes for every row.
struct Grade {
    int gi = 0;
    int gj = 0;
    double delta[2] = {};
    double div[3] = {};                 // delta0^2, delta0 delta1, delta1^2: divisors of the second differences
    bool usaChristoffel[2][2][2] = {};  // [n][k][l]: delta_n delta_k delta_l above the threshold
    bool algumChristoffel = false;
    double eta[2][2] = {};
    double qsi[2][2] = {};
    double psi[2][2] = {};
    double ratio = 1.0;  // area0 / area of the step
};

// First differences, metric, its inverse and sqrt(detG) of row r; or only sqrt(detG), for
// the area sum that has to come before any stress term.
struct LinhaMetrica {
    int r = 0;
    int j0 = 0, j1 = -1;  // the columns [j0, j1) (j1 < 0: the whole row), in every row kernel
    bool soRaiz = false;
    const double* p[3] = {};   // row r
    const double* pa[3] = {};  // tangent along i = (pa - pb) / delta0: rows r+1 and r, or r and r-1 on
    const double* pb[3] = {};  // the last row
    const double* G0[3] = {};
    double* t0[3] = {};
    double* t1[3] = {};
    double* dG[3] = {};
    double* Ginv[3] = {};
    double* raiz = nullptr;
    double* G[3] = {};       // optional
    double* detG = nullptr;  // optional
};

// Node normals of row r from the four triangles around each node.
struct LinhaNormais {
    int r = 0;
    const double* pos[3] = {};  // whole arrays: the positions the normals are taken of
    double* n[3] = {};
    double* quadrante[4][3] = {};  // optional: the four triangle normals
};

// Curvature, mixed curvature, Christoffel symbols and, after step 0, the stress terms of row r.
struct LinhaCurvatura {
    int r = 0;
    int j0 = 0, j1 = -1;
    bool repouso = false;       // step 0: the curvature is the rest curvature, no stress terms
    const double* pos[3] = {};  // whole arrays, for the second differences
    const double* n[3] = {};
    const double* t0[3] = {};
    const double* t1[3] = {};
    const double* dG[3] = {};
    const double* Ginv[3] = {};
    const double* H0[3] = {};
    double* B0[3] = {};    // read, or written at step 0
    double* s2 = nullptr;  // scratch of 9 rows: second difference pair p, component c at row 3p + c
    int passoS2 = 0;       // the distance between those rows (0: the grid's row length)
    double* S[4] = {};     // optional at step 0
    double* chr[6] = {};   // optional at step 0
    double* alfa[4] = {};
    double* beta[4] = {};
    double* psiG[4] = {};
    double* psiB[4] = {};
    double* B[3] = {};  // optional
};

// Backward difference along l of a stress term w (beta or psiG) plus its Christoffel terms;
// for beta also the membrane stress corrected by S beta.
struct LinhaDivergencia {
    int r = 0;
    int j0 = 0, j1 = -1;
    bool quocientes = true;   // q from w
    bool divergencia = true;  // the divergence from q (a row whose successor needs only q: false)
    const double* w[4] = {};
    double* q[4] = {};           // w_kl / delta_l, kept for the next row
    const double* qAnt[4] = {};  // q of row r-1 (not read on row 0)
    const double* chr[6] = {};
    double* div[4] = {};      // divBetaNo or psiDiv
    double* difer[4] = {};    // optional: the plain difference (divBeta)
    const double* S[4] = {};  // with alfa: the membrane correction
    double* alfa[4] = {};     // nullptr for psiG
};

// The kernels of one variant.
struct TabelaModelo {
    void (*metrica)(const Grade&, const LinhaMetrica&);
    void (*normais)(const Grade&, const LinhaNormais&);
    void (*curvatura)(const Grade&, const LinhaCurvatura&);
    void (*divergencia)(const Grade&, const LinhaDivergencia&);
};

}  // namespace tevra::nucleo
