# vorpak_grammar(<name> <source> [FUNCTIONS <file>...])
#
# Runs the grammar generator on <source> at build time and compiles the
# generated table classes, with the grammar's hand-written action sources,
# into the object library <name>_grammar. Every grammar registers itself;
# translator/ gathers them all into the checker library.
function(vorpak_grammar name source)
  cmake_parse_arguments(G "" "" "FUNCTIONS" ${ARGN})
  set(out ${CMAKE_BINARY_DIR}/generated/${name})
  file(MAKE_DIRECTORY ${out})
  set(files
    ${name}_include.h ${name}_include.cpp ${name}_terminals.cpp ${name}_ranges.cpp
    ${name}_errors_msgs.cpp ${name}_eqs_table.cpp ${name}_gotos_table.cpp
    ${name}_srs_table.cpp ${name}_srs_defaults.cpp ${name}_conflicts_table.cpp
    ${name}_state_errors.cpp ${name}_term_errors.cpp ${name}_productions_errors.cpp
    ${name}_specialized_errors.cpp ${name}_reductions.cpp ${name}_recovery_states.cpp
    ${name}_ignorables.cpp ${name}_sma.cpp)
  list(TRANSFORM files PREPEND ${out}/)
  set(src ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  add_custom_command(
    OUTPUT ${files}
    COMMAND vorpakgen --listing ${out}/${name}.listing ${src} ${out}
    DEPENDS vorpakgen ${src}
    COMMENT "Generating the tables of ${name}"
    VERBATIM)
  add_library(${name}_grammar OBJECT ${files} ${G_FUNCTIONS})
  set(includes ${out} ${CMAKE_CURRENT_SOURCE_DIR})
  target_include_directories(${name}_grammar PUBLIC ${includes}
                             ${PROJECT_SOURCE_DIR}/translator ${PROJECT_SOURCE_DIR}/main/main)
  target_link_libraries(${name}_grammar PUBLIC vorpak_runtime)
  set_property(GLOBAL APPEND PROPERTY VORPAK_GRAMMARS ${name})
  set_property(GLOBAL APPEND PROPERTY VORPAK_GRAMMAR_INCLUDES ${includes})
endfunction()
