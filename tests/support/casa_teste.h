#pragma once
// A private Tevra home for one test, so that no test reads or writes the user's own.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "base/tevra_home.h"
#include "support/arquivos_teste.h"

// A fresh folder as TEVRA_HOME, its scripts, tmp and Imagens folders made by the program's
// own home::criarPastas; when the scope ends TEVRA_HOME is what it was before (set or not)
// and the folder is gone.
//
// For a program started by the test, ParaOutroProcesso makes the same folder without
// touching this process's TEVRA_HOME: the test hands the path to the child's environment.
class CasaTemporaria {
public:
    struct ParaOutroProcesso {};

    CasaTemporaria() { usar(); }
    explicit CasaTemporaria(ParaOutroProcesso) {
        // The folders are made with TEVRA_HOME pointing here for that call alone.
        usar();
        restaurar();
    }
    ~CasaTemporaria() { restaurar(); }
    CasaTemporaria(const CasaTemporaria&) = delete;
    CasaTemporaria& operator=(const CasaTemporaria&) = delete;

    // False when the home's folders could not be made.
    bool pronta() const { return pronta_; }
    const std::filesystem::path& operator*() const { return *pasta_; }
    std::filesystem::path operator/(const std::string& nome) const { return pasta_ / nome; }
    std::string texto() const { return (*pasta_).string(); }

private:
    void usar() {
        if (const char* v = std::getenv("TEVRA_HOME")) anterior_ = v;
        setenv("TEVRA_HOME", texto().c_str(), 1);
        emUso_ = true;
        pronta_ = tevra::home::criarPastas();
    }
    void restaurar() {
        if (!emUso_) return;
        emUso_ = false;
        if (anterior_)
            setenv("TEVRA_HOME", anterior_->c_str(), 1);
        else
            unsetenv("TEVRA_HOME");
    }

    PastaTemporaria pasta_;
    std::optional<std::string> anterior_;
    bool emUso_ = false;
    bool pronta_ = false;
};
