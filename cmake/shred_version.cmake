# The versions of the two binaries, each stated here once. The version
# resources and the program's manifest take them from the generated header
# and manifest; the installer and the release package from these variables.
set(BINSHREDDER_VERSION ${PROJECT_VERSION})
set(SHREDMENU_VERSION 1.0.0.1)

# A version as the four numbers of a version resource: "1.11" gives
# "1,11,0,0" (for FILEVERSION) and "1.11.0.0" (for manifests and installers).
function(shred_version_numbers version commas_out dots_out)
  string(REPLACE "." ";" numbers "${version}")
  list(LENGTH numbers count)
  if(count GREATER 4)
    message(FATAL_ERROR "version ${version} has more than four numbers")
  endif()
  while(count LESS 4)
    list(APPEND numbers 0)
    math(EXPR count "${count} + 1")
  endwhile()
  list(JOIN numbers "," commas)
  list(JOIN numbers "." dots)
  set(${commas_out} ${commas} PARENT_SCOPE)
  set(${dots_out} ${dots} PARENT_SCOPE)
endfunction()

shred_version_numbers(${BINSHREDDER_VERSION} BINSHREDDER_VERSION_COMMAS BINSHREDDER_VERSION_QUAD)
shred_version_numbers(${SHREDMENU_VERSION} SHREDMENU_VERSION_COMMAS SHREDMENU_VERSION_QUAD)

set(SHRED_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/shred_version.h.in ${SHRED_GENERATED_DIR}/shred_version.h @ONLY)
