#pragma once

namespace tevra {

// Which program wrote a run, as its manifest records it.
const char* versaoPrograma();      // `git describe --always --dirty` at build time, or the project version
const char* compiladorPrograma();  // "GNU 12.2.0"
const char* opcoesCompilacao();    // the C++ flags of the build

}  // namespace tevra
