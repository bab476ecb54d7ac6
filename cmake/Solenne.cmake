# Helpers shared by the folders' CMakeLists.

# solenne_library(NAME DIR <folder> [DEPS <targets...>])
# Builds every .cpp of one folder into a static library; the folder's
# headers are reached as "<folder relative to src or root>/<file>.h".
function(solenne_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT sources)
    # A layer whose sources are still to come: headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${SOLENNE_WARNINGS})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# Adds every immediate subfolder of the current folder that has a CMakeLists.txt.
function(solenne_add_subfolders)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# solenne_fuzz_target(NAME <name> SOURCE <file.cpp> DEPS <libs...>)
# The same source gives a libFuzzer binary "fuzz_<name>" in fuzz builds and,
# in normal builds, a replay binary that runs every file of corpus/<name>
# (seeds plus every crash ever found) as a regression test.
function(solenne_fuzz_target)
  cmake_parse_arguments(ARG "" "NAME;SOURCE" "DEPS" ${ARGN})
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${ARG_NAME})
  if(SOLENNE_FUZZ)
    add_executable(fuzz_${ARG_NAME} ${ARG_SOURCE})
    target_link_libraries(fuzz_${ARG_NAME} PRIVATE ${ARG_DEPS})
    target_link_options(fuzz_${ARG_NAME} PRIVATE -fsanitize=fuzzer)
  elseif(SOLENNE_TESTS)
    add_executable(replay_${ARG_NAME} ${ARG_SOURCE} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(replay_${ARG_NAME} PRIVATE ${ARG_DEPS})
    target_compile_options(replay_${ARG_NAME} PRIVATE ${SOLENNE_WARNINGS})
    add_test(NAME fuzz_corpus_${ARG_NAME} COMMAND replay_${ARG_NAME} ${corpus})
  endif()
endfunction()
