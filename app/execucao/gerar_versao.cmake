# Writes the header that tells a run which program wrote it: `git describe --always --dirty`
# of the source tree, or the project version outside a git checkout (a source tarball, or a
# tree git will not read). Run at every build; the header is replaced only when its text
# changes, so an unchanged tree recompiles nothing.
# Input: FONTE (source tree), SAIDA (header), VERSAO_PROJETO, COMPILADOR, OPCOES.
execute_process(
  COMMAND git describe --always --dirty
  WORKING_DIRECTORY "${FONTE}"
  OUTPUT_VARIABLE versao
  RESULT_VARIABLE rc
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET)
if(NOT rc EQUAL 0 OR versao STREQUAL "")
  set(versao "${VERSAO_PROJETO}")
endif()

function(literal_c texto saida)
  string(REPLACE "\\" "\\\\" texto "${texto}")
  string(REPLACE "\"" "\\\"" texto "${texto}")
  set(${saida} "\"${texto}\"" PARENT_SCOPE)
endfunction()
literal_c("${versao}" v)
literal_c("${COMPILADOR}" c)
literal_c("${OPCOES}" o)

set(texto "#pragma once\n// Generated at build time by app/execucao/gerar_versao.cmake.\n")
string(APPEND texto "#define TEVRA_VERSAO ${v}\n#define TEVRA_COMPILADOR ${c}\n#define TEVRA_OPCOES ${o}\n")
file(WRITE "${SAIDA}.novo" "${texto}")
file(COPY_FILE "${SAIDA}.novo" "${SAIDA}" ONLY_IF_DIFFERENT)
file(REMOVE "${SAIDA}.novo")
