// Runs a harness once over every file of the folders (or files) given, as libFuzzer does with
// file arguments, in builds without libFuzzer: the seeds, and every input that once crashed
// and was added to them, stay checked by the plain test run of any compiler.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> entradas;
    for (int k = 1; k < argc; ++k) {
        const std::filesystem::path p = argv[k];
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::directory_iterator(p))
                if (e.is_regular_file()) entradas.push_back(e.path());
        } else {
            entradas.push_back(p);
        }
    }
    std::sort(entradas.begin(), entradas.end());
    if (entradas.empty()) {
        std::fprintf(stderr, "%s: no input files\n", argv[0]);
        return 2;
    }
    for (const auto& p : entradas) {
        std::ifstream in(p, std::ios::binary);
        const std::string dados{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], p.c_str());
            return 2;
        }
        std::printf("%s\n", p.filename().c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(dados.data()), dados.size());
    }
    std::printf("%zu inputs, none failed\n", entradas.size());
    return 0;
}
