# Sourced by asan.sh, fuzz.sh and tsan.sh: how the checking builds report. Every report
# ends the program with a non-zero status, so a test or a fuzzer that meets one fails.
raiz_sanitizadores="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# intercept_tls_get_addr=0: clang 14's runtime mistakes a dynamic TLS block that malloc
# happens to place 16 bytes past a page boundary for glibc 2.19's header, and the leak
# checker's tracer then dies on the way out of a passing test (seen with Mesa's threads).
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks of system libraries the windows load (Mesa, D-Bus, ...), never of ours.
export LSAN_OPTIONS="suppressions=$raiz_sanitizadores/lsan.supp:print_suppressions=0"
# The OpenMP runtime and the GUI's system libraries are not instrumented: their own
# synchronisation is invisible to the checker (the OpenMP runtime's barriers are supplied by
# its Archer tool, loaded with it), so only races in instrumented code are reported.
export TSAN_OPTIONS="ignore_noninstrumented_modules=1:halt_on_error=1:second_deadlock_stack=1:suppressions=$raiz_sanitizadores/tsan.supp"
if command -v llvm-symbolizer >/dev/null 2>&1; then
  export ASAN_SYMBOLIZER_PATH="$(command -v llvm-symbolizer)"
fi
