# Collects the sources and headers of one folder. New files are picked up without editing CMake.
function(kel_folder_sources out_var folder)
  file(GLOB _sources CONFIGURE_DEPENDS
       "${folder}/*.cpp" "${folder}/*.h")
  set(${out_var} ${_sources} PARENT_SCOPE)
endfunction()

# Collects the public headers of a folder (private ones end in _p.h and stay inside).
function(kel_folder_headers out_var folder)
  file(GLOB _headers CONFIGURE_DEPENDS "${folder}/*.h")
  list(FILTER _headers EXCLUDE REGEX "_p\\.h$")
  set(${out_var} ${_headers} PARENT_SCOPE)
endfunction()

# Compiles a target of one of the shared libraries with hidden visibility, so that only what
# carries the library's export mark is exported (build_define: the define its export header
# reads while the library itself is compiled). Calls inside the library to its own exported
# functions bind directly instead of through the symbol table, so they can be inlined too.
function(kel_export_marked_only target build_define)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
  target_compile_definitions(${target} PRIVATE ${build_define})
  target_compile_options(${target} PRIVATE -fno-semantic-interposition)
endfunction()
