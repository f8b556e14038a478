# tevra_nucleos(TARGET SOURCES...): compiles the kernel sources once per variant and adds
# the objects to TARGET. The scalar build has vectorisation off, so that it is the
# one-node-at-a-time reference the vector builds are compared with.
function(tevra_nucleos alvo)
  foreach(variante escalar sse2 avx2)
    set(objetos ${alvo}_nucleo_${variante})
    add_library(${objetos} OBJECT ${ARGN})
    target_link_libraries(${objetos} PRIVATE tevra_base)
    target_compile_definitions(${objetos} PRIVATE TEVRA_VARIANTE=${variante})
    # The bodies loop over 2 to 4 components or index pairs: unrolled whole, their values stay
    # in registers and their array indices become constants.
    target_compile_options(${objetos} PRIVATE -fno-math-errno --param=max-completely-peeled-insns=4000
      --param=max-completely-peel-times=16)
    if(variante STREQUAL "escalar")
      target_compile_options(${objetos} PRIVATE -fno-tree-vectorize -fno-tree-slp-vectorize)
    elseif(variante STREQUAL "sse2")
      target_compile_definitions(${objetos} PRIVATE TEVRA_LARGURA_SSE2)
    else()
      target_compile_definitions(${objetos} PRIVATE TEVRA_LARGURA_AVX2)
      target_compile_options(${objetos} PRIVATE -mavx2 -mno-fma)
    endif()
    target_sources(${alvo} PRIVATE $<TARGET_OBJECTS:${objetos}>)
  endforeach()
endfunction()
