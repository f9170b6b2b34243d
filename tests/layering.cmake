# Fails when a file of the product includes a layer above its own:
#   common <- winframe <- engine <- recyclebin <- app,  engine <- freespace <- app,  settings <- app,
#   contextmenu -> common, winframe.
# Nothing outside shredder/app includes the application, the engine and the
# recycle bin get their settings as values, and shredmenu.dll stays apart
# from binshredder.
#   cmake -DSOURCE_DIR=<tree> -P tests/layering.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# What each folder may include, besides itself and the standard headers.
# shredder/resources (ids) and shredder/captions.h (the three captions) serve
# every layer of the program.
set(program_shared shredder/resources shredder/captions.h)
set(allowed_common "")
set(allowed_winframe common)
set(allowed_shredder_engine common winframe ${program_shared})
set(allowed_shredder_recyclebin common winframe shredder/engine ${program_shared})
set(allowed_shredder_freespace common winframe shredder/engine ${program_shared})
set(allowed_shredder_settings common winframe ${program_shared})
set(allowed_shredder_app common winframe shredder/engine shredder/recyclebin shredder/freespace shredder/settings
    ${program_shared})
set(allowed_contextmenu common winframe)

set(failures "")
foreach(layer common winframe shredder/engine shredder/recyclebin shredder/freespace shredder/settings shredder/app
              contextmenu)
  string(REPLACE "/" "_" variable "allowed_${layer}")
  set(allowed ${layer} ${${variable}})
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp
       ${SOURCE_DIR}/${layer}/*.rc)
  foreach(file IN LISTS files)
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      # Only the tree's own folders are layers; a file beside the includer
      # (resource.h in an .rc) and generated headers are not.
      if(NOT included MATCHES "^(common|winframe|shredder|contextmenu|tests|tools)/")
        continue()
      endif()
      set(ok FALSE)
      foreach(prefix IN LISTS allowed)
        if(included STREQUAL prefix OR included MATCHES "^${prefix}/")
          set(ok TRUE)
        endif()
      endforeach()
      if(NOT ok)
        string(APPEND failures "  ${file} includes ${included}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Includes against the layering:\n${failures}")
endif()
message(STATUS "layering: every include goes down or sideways")
