#pragma once

#include <memory>

class TMainForm;
class TRestrForm;
class TDadosForm;
class TMatrizForm;
class TRenderForm;

// The program's five windows, made once at start-up in this order and kept until the end.
// Only the main window is shown at first; closing it ends the program, closing any other
// one only hides it.
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
};
