# Brings the win32 build up to date for the release: configures it with the
# win32 preset on first use, builds the binaries the release carries and
# copies them into the release's own folder (touched only when they changed).
#   cmake -DSOURCE_DIR=<source tree> -DBUILD_DIR=<win32 build> -DCOPY_TO=<folder> -P build_win32.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS ${BUILD_DIR}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BUILD_DIR} --preset win32 RESULT_VARIABLE result)
  if(result)
    message(FATAL_ERROR "cannot configure the win32 build in ${BUILD_DIR}")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target binshredder shredmenu RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "the win32 build in ${BUILD_DIR} failed")
endif()
foreach(binary binshredder.exe shredmenu.dll)
  file(COPY_FILE ${BUILD_DIR}/bin/${binary} ${COPY_TO}/${binary} ONLY_IF_DIFFERENT)
endforeach()
