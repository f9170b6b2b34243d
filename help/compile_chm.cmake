# Compiles the help file at build time:
#   cmake -DSOURCE_DIR=<help sources> -DSTAGE_DIR=<scratch folder> -DOUTPUT=<.chm>
#         -DCHMCMD=<chmcmd> -DICONV=<iconv> -P compile_chm.cmake
#
# The sources are UTF-8 like the rest of the tree. The HTML Help viewer reads
# the contents, the index and the window title in the code page of the help
# file's language (0x411, code page 932), so every file is converted to
# Shift_JIS on the way in and its charset declaration follows. A character
# that code page 932 cannot hold stops the build.
cmake_minimum_required(VERSION 3.25)
foreach(variable SOURCE_DIR STAGE_DIR OUTPUT CHMCMD ICONV)
  if(NOT ${variable})
    message(FATAL_ERROR "compile_chm.cmake: ${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")
file(GLOB sources RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/*.hhp" "${SOURCE_DIR}/*.hhc" "${SOURCE_DIR}/*.hhk"
     "${SOURCE_DIR}/*.htm" "${SOURCE_DIR}/*.css")
foreach(name IN LISTS sources)
  file(READ "${SOURCE_DIR}/${name}" text)
  string(REPLACE "charset=UTF-8" "charset=Shift_JIS" text "${text}")
  file(WRITE "${STAGE_DIR}/${name}.utf8" "${text}")
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932 "${STAGE_DIR}/${name}.utf8"
                  OUTPUT_FILE "${STAGE_DIR}/${name}"
                  ERROR_VARIABLE conversion_error
                  RESULT_VARIABLE conversion_result)
  if(NOT conversion_result EQUAL 0)
    message(FATAL_ERROR "help/${name} cannot be converted to code page 932: ${conversion_error}")
  endif()
  file(REMOVE "${STAGE_DIR}/${name}.utf8")
endforeach()

# chmcmd exits with 0 after most of its errors (a missing contents file, a
# missing project), so its report is read as well.
execute_process(COMMAND "${CHMCMD}" --verbosity 1 morvane-shredder.hhp
                WORKING_DIRECTORY "${STAGE_DIR}"
                OUTPUT_VARIABLE report ERROR_VARIABLE report
                RESULT_VARIABLE result)
set(compiled "${STAGE_DIR}/morvane-shredder.chm")
if(NOT result EQUAL 0 OR report MATCHES "Error|Warning|exception|Can't" OR NOT EXISTS "${compiled}")
  message(FATAL_ERROR "chmcmd failed (exit ${result}):\n${report}")
endif()
file(COPY_FILE "${compiled}" "${OUTPUT}")
