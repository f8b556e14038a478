// Entry point of the window tests: one QApplication for the whole run.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <QApplication>

#include <cstring>

namespace {

// The GL driver (Mesa's *_dri.so) is unloaded at exit, before LeakSanitizer looks: the blocks
// it still holds would then be reported as leaks with no library to name, which its
// suppression could not match. Pinned in memory, they stay reachable.
void fixarDriverGL() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            const char* nome = info->dlpi_name;
            const std::size_t n = nome ? std::strlen(nome) : 0;
            if (n > 7 && std::strcmp(nome + n - 7, "_dri.so") == 0)
                dlopen(nome, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    // Without a display the window tests run on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int r = RUN_ALL_TESTS();
    fixarDriverGL();
    return r;
}
