# Fails when the program named by PROGRAMA loads a Qt library (ldd lists what it loads).
execute_process(COMMAND ldd ${PROGRAMA} OUTPUT_VARIABLE bibliotecas RESULT_VARIABLE r)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAMA} failed")
endif()
if(bibliotecas MATCHES "libQt")
  message(FATAL_ERROR "${PROGRAMA} loads Qt:\n${bibliotecas}")
endif()
