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
