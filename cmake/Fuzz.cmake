# Fuzz targets.
#
# pandrel_fuzz(<name> LINKS <libraries...>) builds fuzz_<name> from <name>.cpp
# beside the calling CMakeLists.txt, which defines LLVMFuzzerTestOneInput; its
# seed inputs are the files in corpus/<name>/ there.
#
# Under PANDREL_FUZZ the target is a libFuzzer program in <build>/fuzz/, run by
# `make fuzz`. In the other builds it is linked with a small driver that reads
# each seed once, and ctest runs it as fuzz_<name>_seeds, so the targets keep
# building and the seeds (and the reproducers kept among them) keep passing,
# under the sanitizers too in `make test-asan`.
set(PANDREL_FUZZ_DRIVER ${CMAKE_CURRENT_LIST_DIR}/fuzz_seed_driver.cpp)

function(pandrel_fuzz name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  if(PANDREL_FUZZ)
    add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    # The runner finds each target's seeds through this file.
    file(WRITE ${CMAKE_BINARY_DIR}/fuzz/fuzz_${name}.seeds "${corpus}\n")
  else()
    add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp ${PANDREL_FUZZ_DRIVER})
    add_test(NAME fuzz_${name}_seeds COMMAND fuzz_${name} ${corpus})
  endif()
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LINKS})
endfunction()
