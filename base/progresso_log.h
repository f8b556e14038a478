#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace tevra {

// Progress for a log (standard error that is not a terminal, as under GNU parallel or a
// batch scheduler): one line at every tenth of the run, so that a log shows where a run is
// without the bar's carriage returns.
//   step 2000/9975 (20%), 3.1e6 node-steps/s, ETA 00:00:04
class ProgressoLog {
public:
    // `nos`: nodes of the grid, for the node-steps per second.
    explicit ProgressoLog(long long nos, std::FILE* saida = stderr);
    // After every step; writes a line when the run has crossed into its next tenth.
    void mostrar(int feitos, int total);

private:
    long long nos_;
    std::FILE* saida_;
    int decimo_ = 0;
    std::chrono::steady_clock::time_point inicio_;
};

// The tenth of the run that `feitos` of `total` steps have reached (0 .. 10).
int decimoDaExecucao(int feitos, int total);

// One line of the log, `segundos` after the first step began.
std::string linhaProgresso(int feitos, int total, long long nos, double segundos);

// A rate with two significant digits as "3.1e6"; "0" for none.
std::string textoTaxa(double v);

// Hours, minutes and seconds as "00:00:04", rounded to the nearest second.
std::string textoDuracao(double segundos);

}  // namespace tevra
