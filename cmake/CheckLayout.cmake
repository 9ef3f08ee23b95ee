cmake_minimum_required(VERSION 3.25)
# Checks the folders' dependency rule (README, "Architecture") on every #include of the program's
# sources, and that no folder holds more than 25 source files directly.
#   cmake -DSOURCE_DIR=<top> -P cmake/CheckLayout.cmake
# A folder may include its own headers and those of the folders listed for it.
set(allowed_platform "")
set(allowed_gpib platform)
set(allowed_gpib/system gpib platform)
set(allowed_transport platform)
set(allowed_gpib/prologix gpib transport platform)
set(allowed_analyzer gpib platform)
set(allowed_measurements analyzer gpib platform)
set(allowed_results measurements analyzer gpib platform)
set(allowed_charts results measurements analyzer gpib platform)
set(allowed_charts/drawing charts results measurements analyzer gpib platform)
# The report is made from the records and their charts' models, never from the bus.
set(allowed_report charts results measurements platform)
set(allowed_simulator gpib platform)
# The databases keep records: they know the results and the measurements, never the bus.
set(allowed_store results measurements platform)
set(allowed_app store report charts results measurements analyzer simulator gpib/system
    gpib/prologix transport gpib platform)
# The window reaches the bus only through app/'s measurement runner: nothing of the analyzer, the
# drivers or the simulator; and the databases only as app's record targets.
set(allowed_window app report charts/drawing charts results measurements platform)
set(folders platform gpib gpib/system transport gpib/prologix analyzer measurements results
    charts charts/drawing report simulator store app window)
set(kMaxSourcesPerFolder 25)

# The folder of the rule that a path belongs to: the longest listed folder it lies in.
function(rule_folder path out)
  set(found "")
  foreach(folder ${folders})
    string(LENGTH "${found}" found_length)
    string(LENGTH "${folder}" length)
    if(path MATCHES "^${folder}/" AND length GREATER found_length)
      set(found ${folder})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(problems "")
foreach(folder ${folders})
  file(GLOB direct RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  list(LENGTH direct count)
  if(count GREATER kMaxSourcesPerFolder)
    list(APPEND problems "${folder}/ holds ${count} source files directly (at most ${kMaxSourcesPerFolder})")
  endif()
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(file ${files})
    rule_folder(${file} owner)
    if(NOT owner STREQUAL folder)
      continue()  # checked with its own folder's rule
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      rule_folder(${included} target)
      if(target STREQUAL "" OR target STREQUAL owner)
        continue()
      endif()
      if(NOT target IN_LIST allowed_${owner})
        list(APPEND problems "${file} includes ${included}: ${owner}/ may not use ${target}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Layout:\n  ${text}")
endif()
message(STATUS "Layout: every include follows the folders' dependency rule")
