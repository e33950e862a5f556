# The layers of the code, lowest first, and the rule that keeps them apart:
# a file may include only headers of its own layer and the layers below it.
# Within the windows, a run moves from set-up to session to results, and only
# that way: session/ knows nothing of setup/ or results/, results/ nothing of
# either; ui/ passes a run between them and app/, the program on top, makes
# them.
#
# Used at configure time (include this file, call kivor_check_includes) and as
# the test `layers` (cmake -DSOURCE_DIR=… -P this file).

set(KIVOR_LAYERS store media question bank settings run kit ui app)

# The layer of a source path relative to the source folder; empty when the
# file belongs to no layer (tests, tools, help, benchmarks).
function(kivor_layer_of path out)
  set(layer "")
  if(path MATCHES "^store/")
    set(layer store)
  elseif(path MATCHES "^media/")
    set(layer media)
  elseif(path MATCHES "^question/")
    set(layer question)
  elseif(path MATCHES "^tools/jpeg/")
    # The JPEG writer of the tools and tests sits beside the loader.
    set(layer media)
  elseif(path MATCHES "^tools/(bank|moodle)/")
    # Moodle XML in and out is part of the bank compiler's work.
    set(layer bank)
  elseif(path MATCHES "^tools/results/")
    # kivor-results reads pupils' records and needs nothing above the store.
    set(layer store)
  elseif(path MATCHES "^settings/(registry|settingsstore)\\.")
    set(layer settings)
  elseif(path MATCHES "^session/(sessionrun|sessionrun_gaps|gapkey|scoring|shuffle|clock)\\."
         OR path MATCHES "^setup/(drawing|random)\\.")
    # The run without its window: drawn in set-up, worked through in the
    # session. The files stay beside the windows that drive them.
    set(layer run)
  elseif(path MATCHES "^kit/")
    set(layer kit)
  elseif(path MATCHES "^(ui|setup|session|results|settings)/")
    set(layer ui)
  elseif(path MATCHES "^app/")
    set(layer app)
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# The folders a folder of the windows may not include.
set(KIVOR_FORBIDDEN_session "setup/;results/")
set(KIVOR_FORBIDDEN_results "setup/;session/")

function(kivor_check_includes source_dir)
  set(faults "")
  file(GLOB_RECURSE files RELATIVE ${source_dir}
    ${source_dir}/store/* ${source_dir}/media/* ${source_dir}/question/* ${source_dir}/tools/bank/*
    ${source_dir}/tools/moodle/* ${source_dir}/tools/results/* ${source_dir}/tools/jpeg/*
    ${source_dir}/settings/* ${source_dir}/kit/* ${source_dir}/ui/* ${source_dir}/app/*
    ${source_dir}/setup/*
    ${source_dir}/session/* ${source_dir}/results/*)
  foreach(file ${files})
    if(NOT file MATCHES "\\.(h|cpp)$")
      continue()
    endif()
    kivor_layer_of(${file} own)
    list(FIND KIVOR_LAYERS ${own} own_rank)
    get_filename_component(own_folder ${file} DIRECTORY)
    string(REGEX MATCH "^[a-z]+" top ${file})
    file(STRINGS ${source_dir}/${file} lines REGEX "^#include \"")
    foreach(line ${lines})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
      if(NOT header MATCHES "/")
        # A bare name is a header of the file's own folder.
        if(NOT EXISTS ${source_dir}/${own_folder}/${header} AND NOT header MATCHES "^moc_|\\.moc$")
          list(APPEND faults "${file}: „${header}“ is not in ${own_folder}/; name its folder")
        endif()
        set(header "${own_folder}/${header}")
      endif()
      kivor_layer_of(${header} theirs)
      if(theirs STREQUAL "")
        if(NOT header MATCHES "^moc_|\\.moc$|/moc_")
          list(APPEND faults "${file}: includes ${header}, which belongs to no layer")
        endif()
        continue()
      endif()
      list(FIND KIVOR_LAYERS ${theirs} their_rank)
      if(their_rank GREATER own_rank)
        list(APPEND faults "${file} (${own}) includes ${header} (${theirs}), a higher layer")
      endif()
      foreach(forbidden ${KIVOR_FORBIDDEN_${top}})
        if(header MATCHES "^${forbidden}")
          list(APPEND faults "${file} includes ${header}: ${top}/ may not know ${forbidden}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Layer rule broken:\n  ${text}")
  endif()
endfunction()

# Every kivor_* library a layer's library links must be of a lower layer.
function(kivor_check_links)
  set(rank 0)
  foreach(layer ${KIVOR_LAYERS})
    get_target_property(links kivor_${layer} LINK_LIBRARIES)
    foreach(link ${links})
      if(link MATCHES "^kivor_(.+)$")
        list(FIND KIVOR_LAYERS ${CMAKE_MATCH_1} their_rank)
        if(their_rank GREATER_EQUAL rank)
          message(FATAL_ERROR "kivor_${layer} links ${link}, which is not a lower layer")
        endif()
      endif()
    endforeach()
    math(EXPR rank "${rank} + 1")
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND SOURCE_DIR)
  kivor_check_includes(${SOURCE_DIR})
endif()
