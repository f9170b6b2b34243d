# Packs the release zip: one folder per bitness with the program, the Explorer
# extension and the help file, and the Japanese readme beside them.
#   cmake -DNAME=<top folder> -DVERSION=<version> -DSTAGE=<scratch dir> -DOUTPUT=<zip>
#         -DBIN64=<dir> -DBIN32=<dir> -DREADME=<readme.txt> -P package_zip.cmake
cmake_minimum_required(VERSION 3.25)

set(root ${STAGE}/${NAME})
file(REMOVE_RECURSE ${STAGE})
file(COPY ${BIN64}/binshredder.exe ${BIN64}/shredmenu.dll ${BIN64}/morvane-shredder.chm DESTINATION ${root}/64bit)
file(COPY ${BIN32}/binshredder.exe ${BIN32}/shredmenu.dll ${BIN64}/morvane-shredder.chm DESTINATION ${root}/32bit)

# UTF-8 with a byte-order mark and CRLF line ends: Notepad shows it right on
# Windows of any language, where code page 932 would need a Japanese system.
file(READ ${README} text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE ${root}/readme.txt "${bom}${text}")

file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUTPUT} --format=zip ${NAME}
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "cannot write ${OUTPUT}")
endif()
