# skiffwire_design(TARGET <target> DESCRIPTION <file> [SYMBOL <name>]): compiles
# a form description with designc into a C++ source added to <target>;
# editing the description (or designc) rebuilds it.
function(skiffwire_design)
  cmake_parse_arguments(ARG "" "TARGET;DESCRIPTION;SYMBOL" "" ${ARGN})
  if(NOT ARG_SYMBOL)
    set(ARG_SYMBOL kFormDesigns)
  endif()
  get_filename_component(description ${ARG_DESCRIPTION} ABSOLUTE)
  get_filename_component(stem ${ARG_DESCRIPTION} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${stem}_design.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND designc ${description} -o ${output} --symbol ${ARG_SYMBOL}
    DEPENDS designc ${description}
    COMMENT "Compiling form description ${stem}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE ${output})
endfunction()
