# Brings another build of the tree up to date for the release: configures it
# with its preset on first use, builds the targets the release needs and,
# when asked, copies files of its bin folder into the release's own folder
# (touched only when they changed), so that this build's clean never
# touches the other build. The win32 build gives the 32-bit binaries, the
# host build the packer of the Windows 11 menu's package.
#   cmake -DSOURCE_DIR=<source tree> -DBUILD_DIR=<build> -DPRESET=<preset> -DTARGETS=<a;b>
#         [-DCOPY_FILES=<x;y> -DCOPY_TO=<folder>] -P build_preset.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS ${BUILD_DIR}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BUILD_DIR} --preset ${PRESET} RESULT_VARIABLE result)
  if(result)
    message(FATAL_ERROR "cannot configure the ${PRESET} build in ${BUILD_DIR}")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGETS} RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "the ${PRESET} build in ${BUILD_DIR} failed")
endif()
if(COPY_FILES)
  file(MAKE_DIRECTORY ${COPY_TO})
endif()
foreach(file IN LISTS COPY_FILES)
  file(COPY_FILE ${BUILD_DIR}/bin/${file} ${COPY_TO}/${file} ONLY_IF_DIFFERENT)
endforeach()
