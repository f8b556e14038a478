#pragma once

#include <memory>

class TMainForm;
class TRestrForm;
class TDadosForm;
class TMatrizForm;
class TRenderForm;
class TDiagnosticoForm;

// The program's windows, made once at start-up in this order and kept until the end: the
// five of the simulator and the plot window of the diagnostics. Only the main window is
// shown at first; closing it ends the program, closing any other one only hides it.
struct Janelas {
    Janelas();
    ~Janelas();
    Janelas(const Janelas&) = delete;
    Janelas& operator=(const Janelas&) = delete;

    std::unique_ptr<TMainForm> MainForm;
    std::unique_ptr<TRestrForm> RestrForm;
    std::unique_ptr<TDadosForm> DadosForm;
    std::unique_ptr<TMatrizForm> MatrizForm;
    std::unique_ptr<TRenderForm> RenderForm;
    std::unique_ptr<TDiagnosticoForm> DiagnosticoForm;
};
